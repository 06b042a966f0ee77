#pragma once

#include "platform/IoError.h"
#include "platform/TextFile.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

namespace brennic::platform {

// Writes scripts, one open at a time, on a second thread, so that creating files and handing their
// bytes to the system overlaps with producing the next ones. The caller's steps (create, lines,
// close) run in the order given, with TextWriter's rules; the first failure stops every later step
// and is kept with the position the caller had set when handing over the step that failed.
// Memory stays bounded: lines wait in fixed buffers (4 MiB in all), and the caller waits when all
// are full.
// On a machine with one processor the steps run at once in the calling thread.
class BackgroundWriter {
  public:
    struct Failure {
        IoError error{};
        bool whileCreating = false; // the file could not be created (else: written or closed)
        std::size_t position = 0;   // setPosition() when the failing step was handed over
        std::uint64_t step = 0;     // 1-based: how many steps were handed over up to it
    };

    explicit BackgroundWriter(bool useThread = std::thread::hardware_concurrency() > 1);
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;
    // Finishes every step handed over; an open script is closed with what it holds.
    ~BackgroundWriter();

    void setPosition(std::size_t position) { m_position = position; }

    // Closes an open script first.
    void create(std::filesystem::path path);
    bool isOpen() const { return m_open; }
    // The pieces one after another, then CR LF. False when no script is open, or when a buffer
    // handed over on the way finds the writer failed (failure() tells why).
    bool writeLine(std::initializer_list<std::string_view> pieces);
    void close();

    // Steps handed over, and steps finished without a failure: everything handed over before a
    // point is on disk once finished() reaches the count taken there.
    std::uint64_t handedOver() const { return m_handedOver; }
    std::uint64_t finished() const { return m_finished.load(std::memory_order_acquire); }
    // The first failure, once the writer has met it.
    const Failure* failure() const;

    // Closes an open script and waits for every step; the first failure, if any.
    std::optional<Failure> finish();

  private:
    enum class StepKind { Create, Write, Close };
    struct Step {
        StepKind kind = StepKind::Write;
        std::filesystem::path path{};
        char* data = nullptr;
        std::size_t size = 0;
        std::size_t position = 0;
    };

    void append(const char* data, std::size_t size);
    char* takeBuffer();
    void handOverBuffer();
    void handOver(Step step);
    void passBatch();
    void perform(Step& step);
    void fail(IoError error, bool whileCreating, const Step& step);
    void writerLoop();

    // The caller's side.
    std::size_t m_position = 0;
    bool m_open = false;
    char* m_buffer = nullptr;
    std::size_t m_used = 0;
    std::uint64_t m_handedOver = 0;
    // Steps and free buffers change hands a batch at a time: taking the lock for each would
    // make the two threads wait on each other more than they work.
    std::vector<Step> m_batch;
    std::size_t m_batchBuffers = 0;
    std::vector<char*> m_spareBuffers;

    // Shared, under m_mutex. Each side's fields keep to their own cache lines: the caller
    // touches its own for every line, the writer its own for every step.
    alignas(64) std::mutex m_mutex;
    std::condition_variable m_writerWakes;
    std::condition_variable m_callerWakes;
    std::vector<Step> m_steps;
    std::vector<char*> m_freeBuffers;
    bool m_writerWaiting = false;
    bool m_callerWaiting = false;
    bool m_stopping = false;

    // Written by the writer; m_failure is set before m_failed is raised.
    alignas(64) std::atomic<std::uint64_t> m_finished{0};
    std::atomic<bool> m_failed{false};
    std::optional<Failure> m_failure;
    std::uint64_t m_performed = 0;
    std::optional<TextWriter> m_file;

    alignas(64) std::vector<std::unique_ptr<char[]>> m_buffers;
    bool m_useThread;
    std::thread m_thread;
};

} // namespace brennic::platform
