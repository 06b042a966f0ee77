#include "platform/FaultInjection.h"

#include <utility>

namespace brennic::platform {

namespace {

FaultHook& faultHook() {
    static FaultHook hook;
    return hook;
}

} // namespace

void setFaultHook(FaultHook hook) { faultHook() = std::move(hook); }

int injectedFault(FileOperation operation, const std::filesystem::path& path) {
    const FaultHook& hook = faultHook();
    return hook ? hook(operation, path) : 0;
}

} // namespace brennic::platform
