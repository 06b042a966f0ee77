#include "platform/BackgroundWriter.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <new>
#include <system_error>
#include <utility>

namespace brennic::platform {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;
constexpr std::size_t kBufferCount = 64;
// A batch goes over when it holds this many buffers or steps (a small script is three steps).
// Large batches keep the writer asleep less often: each wake-up costs both sides a system call.
constexpr std::size_t kBatchBuffers = 16;
constexpr std::size_t kBatchSteps = 72;

// Most pieces are a few bytes long: two overlapping fixed-size copies beat a call to memcpy.
char* copyBytes(char* out, std::string_view piece) {
    const char* in = piece.data();
    const std::size_t size = piece.size();
    if (size >= 8 && size <= 16) {
        std::memcpy(out, in, 8);
        std::memcpy(out + size - 8, in + size - 8, 8);
    } else if (size >= 4 && size < 8) {
        std::memcpy(out, in, 4);
        std::memcpy(out + size - 4, in + size - 4, 4);
    } else if (size < 4) {
        for (std::size_t i = 0; i < size; ++i) {
            out[i] = in[i];
        }
    } else {
        std::memcpy(out, in, size);
    }
    return out + size;
}

} // namespace

BackgroundWriter::BackgroundWriter(bool useThread) : m_useThread(useThread) {
    // Room for every step and buffer that can be in flight, so that the writer never allocates
    // while it holds the lock, and closing after an out-of-memory failure needs no memory.
    // (Every script holds at least one buffer, so steps in flight stay below this.)
    constexpr std::size_t kSteps = 4 * kBufferCount;
    m_batch.reserve(kSteps);
    m_steps.reserve(kSteps);
    m_spareBuffers.reserve(kBufferCount);
    m_freeBuffers.reserve(kBufferCount);
    m_buffers.reserve(kBufferCount);
}

BackgroundWriter::~BackgroundWriter() {
    finish();
    if (m_thread.joinable()) {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_writerWakes.notify_one();
        m_thread.join();
    }
}

void BackgroundWriter::create(std::filesystem::path path) {
    close();
    handOver({StepKind::Create, std::move(path)});
    m_open = true;
}

bool BackgroundWriter::writeLine(std::initializer_list<std::string_view> pieces) {
    if (!m_open) {
        return false;
    }
    if (m_buffer == nullptr) {
        m_buffer = takeBuffer();
    }
    const std::uint64_t handedOver = m_handedOver;
    // Pieces that fit are copied straight in; from the first that does not, the rest goes
    // through append(), which hands over full buffers.
    const auto* piece = pieces.begin();
    for (; piece != pieces.end() && piece->size() + 2 < kBufferSize - m_used; ++piece) {
        copyBytes(m_buffer + m_used, *piece);
        m_used += piece->size();
    }
    for (; piece != pieces.end(); ++piece) {
        append(piece->data(), piece->size());
    }
    if (m_buffer != nullptr && kBufferSize - m_used > 2) {
        m_buffer[m_used] = '\r';
        m_buffer[m_used + 1] = '\n';
        m_used += 2;
    } else {
        append("\r\n", 2);
    }
    // The writer's failure flag is looked at only when a buffer went over: reading it for every
    // line would pull in the cache line the writer updates after every step.
    return m_handedOver == handedOver || !m_failed.load(std::memory_order_relaxed);
}

void BackgroundWriter::close() {
    if (!m_open) {
        return;
    }
    if (m_used > 0) {
        handOverBuffer();
    }
    handOver({StepKind::Close});
    m_open = false;
}

const BackgroundWriter::Failure* BackgroundWriter::failure() const {
    return m_failed.load(std::memory_order_acquire) ? &*m_failure : nullptr;
}

std::optional<BackgroundWriter::Failure> BackgroundWriter::finish() {
    close();
    passBatch();
    if (m_thread.joinable()) {
        std::unique_lock lock(m_mutex);
        m_callerWaiting = true;
        m_writerWakes.notify_one();
        m_callerWakes.wait(lock, [this] { return m_steps.empty() && m_writerWaiting; });
        m_callerWaiting = false;
    }
    return m_failure;
}

void BackgroundWriter::append(const char* data, std::size_t size) {
    while (size > 0) {
        if (m_buffer == nullptr) {
            m_buffer = takeBuffer();
        }
        const std::size_t count = std::min(size, kBufferSize - m_used);
        std::memcpy(m_buffer + m_used, data, count);
        m_used += count;
        data += count;
        size -= count;
        if (m_used == kBufferSize) {
            handOverBuffer();
        }
    }
}

char* BackgroundWriter::takeBuffer() {
    if (m_spareBuffers.empty()) {
        if (m_buffers.size() < kBufferCount) {
            m_buffers.push_back(std::make_unique_for_overwrite<char[]>(kBufferSize));
            return m_buffers.back().get();
        }
        passBatch(); // the writer may be waiting for it before it can give buffers back
        std::unique_lock lock(m_mutex);
        m_callerWaiting = true;
        m_callerWakes.wait(lock, [this] { return !m_freeBuffers.empty(); });
        m_callerWaiting = false;
        m_spareBuffers.swap(m_freeBuffers);
    }
    char* buffer = m_spareBuffers.back();
    m_spareBuffers.pop_back();
    return buffer;
}

void BackgroundWriter::handOverBuffer() {
    Step step{StepKind::Write};
    step.data = m_buffer;
    step.size = m_used;
    m_buffer = nullptr;
    m_used = 0;
    handOver(std::move(step));
}

void BackgroundWriter::handOver(Step step) {
    step.position = m_position;
    ++m_handedOver;
    if (m_useThread && !m_thread.joinable()) {
        try {
            m_thread = std::thread([this] { writerLoop(); });
        } catch (const std::system_error&) {
            m_useThread = false; // no thread to be had: write in this one
        }
    }
    if (!m_useThread) {
        perform(step);
        if (step.data != nullptr) {
            m_spareBuffers.push_back(step.data);
        }
        return;
    }
    m_batchBuffers += step.data != nullptr ? 1 : 0;
    m_batch.push_back(std::move(step));
    if (m_batchBuffers >= kBatchBuffers || m_batch.size() >= kBatchSteps) {
        passBatch();
    }
}

void BackgroundWriter::passBatch() {
    if (m_batch.empty()) {
        return;
    }
    bool wake = false;
    {
        std::lock_guard lock(m_mutex);
        if (m_steps.empty()) {
            m_steps.swap(m_batch);
        } else {
            std::move(m_batch.begin(), m_batch.end(), std::back_inserter(m_steps));
            m_batch.clear();
        }
        wake = m_writerWaiting;
    }
    m_batchBuffers = 0;
    if (wake) {
        m_writerWakes.notify_one();
    }
}

void BackgroundWriter::writerLoop() {
    std::vector<Step> steps;
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (m_steps.empty()) {
            if (m_stopping) {
                return;
            }
            m_writerWaiting = true;
            if (m_callerWaiting) {
                m_callerWakes.notify_one();
            }
            m_writerWakes.wait(lock);
            m_writerWaiting = false;
            continue;
        }
        steps.swap(m_steps);
        lock.unlock();
        for (Step& step : steps) {
            perform(step);
        }
        lock.lock();
        for (const Step& step : steps) {
            if (step.data != nullptr) {
                m_freeBuffers.push_back(step.data);
            }
        }
        steps.clear();
        if (m_callerWaiting) {
            m_callerWakes.notify_one();
        }
    }
}
void BackgroundWriter::perform(Step& step) {
    ++m_performed;
    if (m_failure) {
        return; // nothing after the first failure: no later file appears, none is spoilt
    }
    try {
        IoError error;
        switch (step.kind) {
        case StepKind::Create:
            m_file = TextWriter::create(step.path, error);
            if (!m_file) {
                fail(std::move(error), true, step);
                return;
            }
            break;
        case StepKind::Write:
            if (!m_file->write({step.data, step.size})) {
                auto closed = m_file->close();
                m_file.reset();
                fail(closed.value_or(IoError{57, "Device I/O error"}), false, step);
                return;
            }
            break;
        case StepKind::Close:
            if (auto closed = m_file->close()) {
                m_file.reset();
                fail(std::move(*closed), false, step);
                return;
            }
            m_file.reset();
            break;
        }
    } catch (const std::bad_alloc&) {
        m_file.reset();
        fail(IoError{7, "Out of memory"}, false, step);
        return;
    }
    m_finished.store(m_performed, std::memory_order_release);
}

void BackgroundWriter::fail(IoError error, bool whileCreating, const Step& step) {
    m_failure = Failure{std::move(error), whileCreating, step.position, m_performed};
    m_failed.store(true, std::memory_order_release);
}

} // namespace brennic::platform
