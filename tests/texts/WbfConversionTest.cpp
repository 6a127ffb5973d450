#include "WbfConversion.h"

#include "AppContext.h"
#include "RuntimeError.h"
#include "ScriptedPrompter.h"
#include "SessionFakes.h"
#include "TestFiles.h"
#include "TextsLocations.h"

#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

constexpr const char* kTail = "\n\nNew cards are in the 'New WBF Folder'";

// A disk on which the second card file cannot be renamed into place.
struct FailingSecondRename : FileSystem {
    int renames = 0;
    void RenameOver(const fs::path& from, const fs::path& to) override {
        if (++renames == 2)
            throw RuntimeError(RuntimeError::PathFileAccess, "Cannot rename: device error");
        FileSystem::RenameOver(from, to);
    }
};

class WbfConversionTest : public ::testing::Test {
protected:
    fs::path Old(const std::string& name) const { return dir / "wbfeb" / name; }
    fs::path New(const std::string& name) const { return dir / "wbfb" / name; }

    TempDir dir;
    ScriptedPrompter prompter;
    TrapRecorder errors;
    ErrorTrap trap{prompter, errors};
};

TEST_F(WbfConversionTest, CardsAreCopiedOnceUnderTheirNewNamesAndTheSampleCardIsLeftAlone) {
    for (const char* name :
         {"smith.06w", "smith_.06w", "Jones.06W", "jones_.06w", "TestCrd1.06w", "testcrd1_.06w"})
        WriteLines(Old(name), {std::string("card ") + name});
    WriteLines(Old("notes.txt"), {"not a card"});
    AppContext ctx(dir.Path(), prompter, trap);

    // The new folder is made when it is missing.
    EXPECT_EQ(WbfConversion(ctx).ConvertWbfCards(), 4);
    EXPECT_EQ(prompter.MessageTexts().back(), std::string("2 cards converted.") + kTail);
    EXPECT_EQ(prompter.BeepCount(), 1);
    EXPECT_EQ(ListFolder(dir / "wbfb", "*"),
              (std::vector<std::string>{"_Jones.05w", "_jones_.05w", "_smith.05w", "_smith_.05w"}));
    EXPECT_EQ(ReadFile(New("_smith_.05w")), ReadFile(Old("smith_.06w")));

    // A converted card changed since is not overwritten by a second run.
    WriteLines(New("_smith.05w"), {"filled in since"});
    EXPECT_EQ(WbfConversion(ctx).ConvertWbfCards(), 0);
    EXPECT_EQ(prompter.MessageTexts().back(),
              std::string("No cards converted.  Either there were none to convert, or they had "
                          "already been converted.") +
                  kTail);
    EXPECT_EQ(ReadLines(New("_smith.05w")), std::vector<std::string>{"filled in since"});
    EXPECT_EQ(WbfConversion::Message(3), std::string("1.5 cards converted.") + kTail);
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(WbfConversionTest, AFailedCopyStopsTheConversionAndKeepsWhatWasConverted) {
    for (const char* name : {"a.06w", "b.06w", "c.06w"})
        WriteLines(Old(name), {name});
    FailingSecondRename disk;
    AppContext ctx(dir.Path(), prompter, trap, disk);
    EXPECT_EQ(WbfConversion(ctx).ConvertWbfCards(), 1);
    ASSERT_EQ(errors.shown.size(), 1u);
    EXPECT_EQ(errors.shown[0].Location, loc::ConvertWbfCards);
    ASSERT_EQ(errors.shown[0].AdditionalData.size(), 2u);
    EXPECT_EQ(errors.shown[0].AdditionalData[0].Text(), "1");
    EXPECT_EQ(errors.shown[0].AdditionalData[1].Text(), "b.06w");
    EXPECT_EQ(ListFolder(dir / "wbfb", "*"), std::vector<std::string>{"_a.05w"});
    EXPECT_TRUE(prompter.MessageTexts().empty());
}

} // namespace
