#include "FileOps.h"

#include "FileNameText.h"
#include "LineReader.h"
#include "RuntimeError.h"
#include "TestFiles.h"

#include <algorithm>
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

TEST(FileNames, EveryFolderOfAPathIsFoundInAnyCaseAndReusedWhenCreating) {
    TempDir dir;
    test::WriteFile(dir / "Data" / "ACBL1.DAT", "x");
    fs::create_directories(dir / "DATASYS");
    EXPECT_EQ(ResolveExisting(dir / "data" / "acbl1.dat"), dir / "Data" / "ACBL1.DAT");
    EXPECT_EQ(ReadExistingFile(dir / "data" / "Acbl1.dat"), "x");
    EXPECT_FALSE(ResolveExisting(dir / "data" / "acbl2.dat"));
    EXPECT_FALSE(ResolveExisting(dir / "nowhere" / "acbl1.dat"));
    EXPECT_EQ(ListFolder(dir / "data", "*.dat"), std::vector<std::string>{"ACBL1.DAT"});

    // Writing and creating go into the folder that exists, whatever its case.
    EXPECT_EQ(ResolveForWriting(dir / "datasys" / "acbl.dat"), dir / "DATASYS" / "acbl.dat");
    EXPECT_EQ(ResolveForWriting(dir / "data" / "new" / "x.dat"), dir / "Data" / "new" / "x.dat");
    CreateFolderQuietly(dir / "datasys");
    CreateFolderQuietly(dir / "data" / "Sub");
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.Path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"DATASYS", "Data"}));
    EXPECT_TRUE(fs::is_directory(dir / "Data" / "Sub"));
}

TEST(FileNames, NonAsciiNamesAreUtf8OrWindows1252AndCompareByUnicodeCase) {
    EXPECT_EQ(FileNameToUtf8("caf\xC3\xA9"), "caf\xC3\xA9");               // UTF-8 kept
    EXPECT_EQ(FileNameToUtf8("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC"); // 1252 decoded
    EXPECT_EQ(FileNameToUtf8("\xC3"), "\xC3\x83"); // a sequence cut short is 1252
    EXPECT_EQ(FileNameToUtf8("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xE2\x82\xAC"); // no surrogates
    EXPECT_EQ(UpperCaseUtf8("caf\xC3\xA9 \xC3\xBC \xD0\xB6 \xCE\xB1"),
              "CAF\xC3\x89 \xC3\x9C \xD0\x96 \xCE\x91");
    EXPECT_EQ(UpperCaseFileName("\xE9t\xE9.acb"), "\xC3\x89T\xC3\x89.ACB");
    EXPECT_TRUE(EqualsIgnoreCase("\xC3\x89T\xC3\x89.ACB", "\xE9t\xE9.acb"));
    EXPECT_TRUE(EqualsIgnoreCase("CAF\xC3\x89", "caf\xC3\xA9"));
    EXPECT_FALSE(EqualsIgnoreCase("CAF\xC3\x89", "cafe"));

    TempDir dir;
    test::WriteFile(dir / "\xE9t\xE9.acb", "x");
    EXPECT_EQ(ReadExistingFile(dir / "\xC3\x89T\xC3\x89.ACB"), "x");
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
