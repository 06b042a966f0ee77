#include "platform/IoError.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <string>
#include <tuple>

using namespace brennic::platform;

// Every errno a file operation meets falls into the kind its failure number is chosen by.
TEST(ioErrorFromErrno, KindsOfTheSystemsFailures) {
    const std::tuple<int, IoErrorKind> cases[] = {
        {ENOENT, IoErrorKind::NotFound},     {ENOTDIR, IoErrorKind::NotFound},
        {EACCES, IoErrorKind::AccessDenied}, {EPERM, IoErrorKind::AccessDenied},
        {EROFS, IoErrorKind::AccessDenied},  {EISDIR, IoErrorKind::AccessDenied},
        {EEXIST, IoErrorKind::AccessDenied}, {ENOSPC, IoErrorKind::DiskFull},
        {EDQUOT, IoErrorKind::DiskFull},     {EIO, IoErrorKind::Other},
        {EINVAL, IoErrorKind::Other},        {ENAMETOOLONG, IoErrorKind::Other},
        {EBUSY, IoErrorKind::InUse},
    };
    for (const auto& [err, kind] : cases) {
        SCOPED_TRACE(err);
        EXPECT_EQ(ioErrorFromErrno(err, "writing", "a.mis").kind, kind);
    }
}

TEST(ioErrorFromErrno, TheDescriptionNamesTheActionAndThePath) {
    EXPECT_EQ(
        ioErrorFromErrno(ENOSPC, "writing", std::filesystem::path("out") / "A_1.mis").description,
        "No space left on device (writing out/A_1.mis)");
    // What the system calls "busy" is, for a file, another program holding it.
    EXPECT_EQ(ioErrorFromErrno(EBUSY, "writing", "A_1.mis").description,
              "File in use by another program (writing A_1.mis)");
}
