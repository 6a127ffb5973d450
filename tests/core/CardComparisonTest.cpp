#include "CardComparison.h"

#include "AppContext.h"
#include "PartnerCard.h"
#include "ScriptedPrompter.h"
#include "SessionFakes.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

CardField Record(std::array<int32_t, 6> a, std::string text = {}) {
    CardField field;
    field.a = a;
    field.text = std::move(text);
    return field;
}

// A front page with two name fields, texts and every kind of mark a player fills in.
CardPage FilledPage() {
    CardPage page;
    page.Add(TextField, Record({100, 100, 2000, 240, 0, 0}, "Ann - Bob"));
    page.Add(TextField, Record({2200, 100, 800, 240, 0, 0}, "12345"));
    page.Add(TextField, Record({100, 500, 3000, 240, 0, 0}, "#<Arial>#Weak 2<h>"));
    page.Add(TextField, Record({100, 800, 3000, 900, 0, 3}, "Line one\r\nLine two"));
    page.Add(CheckBox, Record({100, 2000, 0, 0, 1, 150}));
    page.Add(CheckBox, Record({400, 2000, 0, 0, 0, 150}));
    page.Add(Circle, Record({700, 2000, 0, 1, 90, 0}));
    page.Add(FrameBox, Record({1000, 2000, 300, 200, 0}));
    page.Add(ColourDot, Record({1500, 2000, 60, 2, 0, 0}));
    page.Add(TickMark, Record({1800, 2000, 1, 0}));
    page.Add(OptionField, Record({2100, 2000, 300, 200, 1}));
    page.Add(CircledItem, Record({2500, 2000, 0, 0, 8, 0}, "K"));
    return page;
}

TEST(CardComparisonTest, IdenticalCardsAgreeAndFourChangedValuesAreExactlyTheFourDifferences) {
    CardPage mine = FilledPage();
    CardPage theirs = FilledPage();
    EXPECT_TRUE(CardComparison::ComparePages(mine, theirs, false, 2).empty());

    // Names and numbers are the other way round on the partner's card; fonts are their own.
    theirs.Field(TextField, 0).text = "Bob - Ann";
    theirs.Field(TextField, 1).text = "67890";
    theirs.Field(TextField, 2).text = "Weak 2<h>";
    EXPECT_TRUE(CardComparison::ComparePages(mine, theirs, false, 2).empty());

    theirs.Field(CheckBox, 1).a[4] = 1;
    theirs.Field(Circle, 0).a[3] = 0;
    theirs.Field(TextField, 3).text = "Line one\r\nLine 2";
    theirs.Field(ColourDot, 0).a[3] = 3;
    auto differences = CardComparison::ComparePages(mine, theirs, false, 2);
    ASSERT_EQ(differences.size(), 4u);
    // In the order of the page: the text above, then the marks from left to right.
    EXPECT_EQ(CardComparison::FieldName(differences[0]), "text 4");
    EXPECT_EQ(CardComparison::ShownValue(TextField, differences[0].theirValue),
              "\"Line one / Line 2\"");
    EXPECT_EQ(CardComparison::FieldName(differences[1]), "check box 2");
    EXPECT_EQ(differences[1].myValue, "not ticked");
    EXPECT_EQ(differences[1].theirValue, "ticked");
    EXPECT_EQ(CardComparison::FieldName(differences[2]), "circle 1");
    EXPECT_EQ(differences[2].myValue, "circled");
    EXPECT_EQ(CardComparison::FieldName(differences[3]), "dot 1");
    EXPECT_EQ(differences[3].theirValue, "red");
    EXPECT_EQ(differences[3].left, 1440);
    EXPECT_EQ(differences[3].width, 120);

    // Taking every value over leaves nothing to tell the cards apart; my font stays.
    for (const FieldDifference& d : differences)
        EXPECT_TRUE(CardComparison::TakeValue(mine, theirs, d));
    EXPECT_TRUE(CardComparison::ComparePages(mine, theirs, false, 2).empty());
    EXPECT_EQ(mine.Field(TextField, 2).text, "#<Arial>#Weak 2<h>");
    EXPECT_EQ(mine.Field(CheckBox, 1).a[4], 1);
    EXPECT_EQ(mine.Field(ColourDot, 0).a[3], 3);
}

TEST(CardComparisonTest, FieldsArePairedByPlaceSoAFieldOfOneCardAloneIsReportedAlone) {
    CardPage mine = FilledPage();
    // The partner added a check box before the others and ticked it.
    CardPage theirs;
    theirs.Add(CheckBox, Record({5000, 5000, 0, 0, 1, 150}));
    const CardPage filled = FilledPage();
    for (int kind : {int(TextField), int(CheckBox), int(Circle), int(FrameBox), int(ColourDot),
                     int(TickMark), int(OptionField), int(CircledItem)})
        for (const CardField& field : filled.Fields(kind))
            theirs.Add(kind, field);
    auto differences = CardComparison::ComparePages(mine, theirs, false, 2);
    ASSERT_EQ(differences.size(), 1u);
    EXPECT_EQ(differences[0].mine, -1);
    EXPECT_EQ(differences[0].theirs, 0);
    EXPECT_EQ(differences[0].myValue, CardComparison::NotOnCard);
    EXPECT_FALSE(CardComparison::TakeValue(mine, theirs, differences[0]));
    // On the back page the first text fields are no names.
    theirs.Field(TextField, 0).text = "Bob - Ann";
    EXPECT_EQ(CardComparison::ComparePages(mine, theirs, true, 2).size(), 2u);
}

// Cards of two formats in a data root, the first format set up.
class PartnerCardTest : public ::testing::Test {
protected:
    void SetUp() override {
        MakeDataRoot(dir.Path(), {FormatSpec{}, OnePageFormat()});
        ASSERT_TRUE(ctx.ReadSystemSettings());
        int16_t slot = 0;
        ASSERT_TRUE(ctx.SetupCardFormat(slot, view));
    }
    void WritePage(const fs::path& path, const std::vector<std::string>& records) {
        auto lines = HeaderBlock("names", {});
        lines.insert(lines.end(), records.begin(), records.end());
        WriteLines(path, lines);
    }

    TempDir dir;
    ScriptedPrompter prompter;
    TrapRecorder errors;
    ErrorTrap trap{prompter, errors};
    AppContext ctx{dir.Path(), prompter, trap};
    NoCardFormatView view;
};

TEST_F(PartnerCardTest, CardsOfAnotherFormatAreRefusedAndABackPageLeadsToItsCard) {
    fs::create_directories(dir / "stick");
    WritePage(dir / "stick" / "pard.clb", {"2,100,100,2000,240,0,\"x\",0"});
    std::string problem;
    EXPECT_FALSE(PartnerCard::Read(ctx, dir / "stick" / "pard.clb", problem));
    EXPECT_EQ(problem, "pard.clb is a card of the format Club Card, not Test Card.  Only cards of "
                       "the same format can be compared.");
    EXPECT_FALSE(PartnerCard::Read(ctx, dir / "stick" / "notes.txt", problem));
    EXPECT_EQ(problem, "notes.txt is not a card file of the format Test Card (its name would end "
                       "in .tst).");

    WritePage(dir / "stick" / "Pard.TST", {"3,100,100,0,0,1,\"\",150"});
    WritePage(dir / "stick" / "Pard_.TST", {"3,100,100,0,0,0,\"\",150"});
    auto card = PartnerCard::Read(ctx, dir / "stick" / "Pard_.TST", problem);
    ASSERT_TRUE(card);
    EXPECT_EQ(card->name, "Pard");
    EXPECT_EQ(card->pages.front.Field(CheckBox, 0).a[4], 1);
    ASSERT_TRUE(card->pages.back);
    EXPECT_EQ(card->pages.back->Field(CheckBox, 0).a[4], 0);
    EXPECT_TRUE(errors.shown.empty());
}

} // namespace
