#pragma once

#include <filesystem>
#include <functional>

namespace brennic::platform {

// Replace is the rename that puts a finished replacement over the earlier file.
enum class FileOperation { OpenForReading, Read, Create, Write, Close, Replace };

// A hook that tests set to make file operations fail as a full disk, a removed folder or a denied
// permission would (tests often run as root, where permissions do not bite). It returns an errno
// value for the operation on the path, or 0 to let it go ahead. Unset in the program itself.
using FaultHook = std::function<int(FileOperation, const std::filesystem::path&)>;

void setFaultHook(FaultHook hook);

// The errno the hook injects for this operation, 0 without a hook.
int injectedFault(FileOperation operation, const std::filesystem::path& path);

} // namespace brennic::platform
