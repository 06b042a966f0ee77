#pragma once

#include <filesystem>
#include <functional>

namespace brennic::platform {

// Sync puts a finished replacement on the disk, Replace is the rename that then puts it over the
// earlier file, Remove takes away what was written aside.
enum class FileOperation {
    OpenForReading,
    Read,
    OpenFolder,
    Create,
    Write,
    Close,
    Sync,
    Replace,
    Remove
};

// A hook that tests set to make file operations fail as a full disk, a removed folder or a denied
// permission would (tests often run as root, where permissions do not bite). It returns an errno
// value for the operation on the path, or 0 to let it go ahead. Unset in the program itself.
using FaultHook = std::function<int(FileOperation, const std::filesystem::path&)>;

void setFaultHook(FaultHook hook);

// The errno the hook injects for this operation, 0 without a hook.
int injectedFault(FileOperation operation, const std::filesystem::path& path);

} // namespace brennic::platform
