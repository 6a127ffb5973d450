#include "DataRootLock.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace cw {
namespace {

namespace fs = std::filesystem;

struct TempRoot {
    fs::path path = fs::temp_directory_path() / ("cw-lock-" + std::to_string(::getpid()) + "-" +
                                                 std::to_string(reinterpret_cast<uintptr_t>(this)));
    TempRoot() { fs::create_directories(path); }
    ~TempRoot() {
        std::error_code ec;
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path, ec);
    }
};

TEST(DataRootLockTest, ASecondCopyIsRefusedByNameUntilTheFirstLetsGo) {
    TempRoot root;
    {
        DataRootLock first(root.path);
        ASSERT_EQ(first.TryTake(), DataRootLock::Outcome::Taken);
        DataRootLock second(root.path);
        EXPECT_EQ(second.TryTake(), DataRootLock::Outcome::HeldByOther);
        EXPECT_NE(second.Problem().find("process " + std::to_string(::getpid())), std::string::npos)
            << second.Problem();
        EXPECT_NE(second.Problem().find(root.path.string()), std::string::npos);
    }
    DataRootLock third(root.path);
    EXPECT_EQ(third.TryTake(), DataRootLock::Outcome::Taken);
}

TEST(DataRootLockTest, ALockLeftByACrashedCopyIsTakenOver) {
    TempRoot root;
    // A child takes the lock and ends without letting go of it, as a crash would.
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        DataRootLock held(root.path);
        ::_exit(held.TryTake() == DataRootLock::Outcome::Taken ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(fs::exists(root.path / DataRootLock::kFileName));

    DataRootLock lock(root.path);
    EXPECT_EQ(lock.TryTake(), DataRootLock::Outcome::Taken) << lock.Problem();
}

TEST(DataRootLockTest, AReadOnlyRootOpensWithoutALock) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    TempRoot root;
    fs::permissions(root.path, fs::perms::owner_read | fs::perms::owner_exec);
    DataRootLock lock(root.path);
    EXPECT_EQ(lock.TryTake(), DataRootLock::Outcome::NotLockable);
}

} // namespace
} // namespace cw
