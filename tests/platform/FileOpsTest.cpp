#include "FileOps.h"

#include "LineReader.h"
#include "RuntimeError.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

using namespace cw;
using cw::test::TempDir;

namespace {

class FailingRename : public FileSystem {
public:
    void RenameOver(const fs::path&, const fs::path&) override {
        throw RuntimeError(RuntimeError::PathFileAccess, "rename refused");
    }
};

class FullDisk : public FileSystem {
public:
    void WriteFlushed(const fs::path& path, const std::string& bytes) override {
        FileSystem::WriteFlushed(path, bytes.substr(0, bytes.size() / 2));
        throw RuntimeError(RuntimeError::DiskFull, "No space left on device");
    }
};

} // namespace

TEST(AtomicReplace, ReplacesTheTargetAndRemovesNoOtherFile) {
    TempDir dir;
    test::WriteFile(dir / "card.acb", "old");
    AtomicReplace(FileSystem::Default(), dir / "card.acb", "new", dir / "temp");
    EXPECT_EQ(test::ReadFile(dir / "card.acb"), "new");
    EXPECT_FALSE(fs::exists(dir / "temp"));
}

TEST(AtomicReplace, FailuresLeaveTheOldFileByteIdentical) {
    TempDir dir;
    test::WriteFile(dir / "card.acb", "old\r\nbytes\r\n");
    FailingRename failingRename;
    EXPECT_THROW(AtomicReplace(failingRename, dir / "card.acb", "new", dir / "temp"), RuntimeError);
    EXPECT_EQ(test::ReadFile(dir / "card.acb"), "old\r\nbytes\r\n");
    FullDisk fullDisk;
    try {
        AtomicReplace(fullDisk, dir / "card.acb", "new content", dir / "temp");
        FAIL() << "a full disk must fail the replacement";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.ErrorNumber(), RuntimeError::DiskFull);
    }
    EXPECT_EQ(test::ReadFile(dir / "card.acb"), "old\r\nbytes\r\n");
}

TEST(FileNames, CaseInsensitiveFallbackOnlyWhenTheExactNameIsMissing) {
    TempDir dir;
    test::WriteFile(dir / "Convent.txt", "x");
    EXPECT_EQ(ResolveExisting(dir / "convent.txt")->filename(), "Convent.txt");
    EXPECT_EQ(ReadExistingFile(dir / "CONVENT.TXT"), "x");
    EXPECT_FALSE(ResolveExisting(dir / "convent.dat"));
    EXPECT_THROW(ReadExistingFile(dir / "missing.txt"), RuntimeError);
}

TEST(FileNames, ListFolderMatchesPatternAndSortsIgnoringCase) {
    TempDir dir;
    for (const char* name : {"b.acb", "A.ACB", "c_.acb", "notes.txt", "a2.acb"})
        test::WriteFile(dir / name, "");
    fs::create_directories(dir / "folder.acb");
    std::vector<std::string> expected{"A.ACB", "a2.acb", "b.acb", "c_.acb"};
    EXPECT_EQ(ListFolder(dir.Path(), "*.acb"), expected);
    EXPECT_TRUE(WildcardMatch("a?c*", "ABCdef"));
    EXPECT_FALSE(WildcardMatch("*.acb", "x.acbx"));
    EXPECT_TRUE(ListFolder(dir / "nowhere", "*").empty());
}

TEST(LineReader, AcceptsCrLfAndLfAndAFinalLineWithoutEnd) {
    LineReader reader("one\r\ntwo\nthree");
    EXPECT_EQ(reader.ReadLine(), "one");
    EXPECT_EQ(reader.ReadLine(), "two");
    EXPECT_EQ(reader.ReadLine(), "three");
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_THROW(reader.ReadLine(), RuntimeError);
}
