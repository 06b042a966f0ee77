#pragma once

#include "platform/FaultInjection.h"

#include <utility>

namespace brennic::test {

// A fault hook for the lifetime of the object. Faults stand in for read-only folders, full disks
// and unreadable files, which tests cannot make when they run as root.
struct Fault {
    explicit Fault(platform::FaultHook hook) { platform::setFaultHook(std::move(hook)); }
    ~Fault() { platform::setFaultHook(nullptr); }
    Fault(const Fault&) = delete;
    Fault& operator=(const Fault&) = delete;
};

} // namespace brennic::test
