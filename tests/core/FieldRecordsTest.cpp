#include "FieldRecords.h"

#include "CardFile.h"

#include <gtest/gtest.h>
#include <vector>

using namespace cw;

// The views name what the card file keeps in each slot; a slot read for the wrong thing
// draws a field in the wrong place or size without any other sign.
TEST(FieldRecordsTest, EachViewReadsItsKindsSlots) {
    const RecordSlots text{100, 200, 3000, 240, 10, 12 * 256 + 16 + 2};
    EXPECT_EQ(TextRecord(text).x(), 100);
    EXPECT_EQ(TextRecord(text).height(), 240);
    EXPECT_EQ(TextRecord(text).colourCode(), 10);
    EXPECT_EQ(TextRecord(text).fontPoints(), 12);
    EXPECT_EQ(TextRecord(text).style() & 0xFF, 18);
    EXPECT_EQ(records::PointsOfStyle(0x7F), 0);

    // A line keeps both x before both y.
    const RecordSlots line{10, 20, 30, 40, 2, 5};
    const LineRecord l(line);
    EXPECT_EQ(std::vector<int32_t>({l.x1(), l.y1(), l.x2(), l.y2()}),
              std::vector<int32_t>({10, 30, 20, 40}));

    const RecordSlots circle{500, 600, 0, 3, 80, 10};
    EXPECT_TRUE(CircleRecord(circle).ringed());
    EXPECT_TRUE(CircleRecord(circle).underlined());
    EXPECT_EQ(CircleRecord(circle).radius(), 80);

    const RecordSlots box{1, 2, 7, 0, 1, 150};
    EXPECT_TRUE(CheckBoxRecord(box).ticked());
    EXPECT_EQ(CheckBoxRecord(box).side(), 150);
    EXPECT_EQ(CheckBoxRecord(box).colourCode(), 7);

    const RecordSlots item{1, 2, 1, 2, 11, 10};
    EXPECT_TRUE(CircledItemRecord(item).bold());
    EXPECT_EQ(CircledItemRecord(item).look(), 2);
    EXPECT_EQ(CircledItemRecord(item).fontPoints(), 11);

    const RecordSlots tick{1, 2, 1, 1, 0, 0};
    EXPECT_TRUE(TickMarkRecord(tick).shown());
    EXPECT_EQ(TickMarkRecord(tick).style(), 1);
    EXPECT_EQ(ColourDotRecord(RecordSlots{0, 0, 60, 3, 0, 0}).radius(), 60);
    EXPECT_EQ(OptionFieldRecord(RecordSlots{0, 0, 9, 9, 2, 0}).state(), 2);
}

// What filling in and layout editing write through the views lands in the slots the card file
// keeps them in, and reads back the same after a save and a load.
TEST(FieldRecordsTest, ChangesThroughViewsSurviveTheCardFile) {
    CardPage page;
    CardField text;
    MutableTextRecord t(text.a);
    t.x() = 10, t.y() = 20, t.width() = 300, t.height() = 240, t.colourCode() = 9;
    t.style() = 14 * 256 + 16 + 2;
    t.style() |= 128;
    text.text = "1NT";
    page.Add(TextField, text);
    CardField box;
    box.a = {50, 60, 7, 3, 0, 150};
    MutableCheckBoxRecord(box.a).tickState() = 1;
    page.Add(CheckBox, box);
    CardField dot;
    MutableColourDotRecord(dot.a).state() = 17;
    page.Add(ColourDot, dot);
    CardField tick;
    MutableTickMarkRecord(tick.a).shownState() ^= 1;
    page.Add(TickMark, tick);
    CardField option;
    MutableOptionFieldRecord(option.a).state() = 3;
    page.Add(OptionField, option);

    page.ReadIncompletely = true; // no original file: its header lines are written empty
    const std::string file = CardFile::ComposePage(page, "", "6.3.19");
    // The style word is the record's last number, after the text; the colour comes before it.
    EXPECT_NE(file.find("2,10,20,300,240,9,\"1NT\"," + std::to_string(14 * 256 + 16 + 2 + 128)),
              std::string::npos);
    EXPECT_NE(file.find("3,50,60,7,3,1,\"\",150"), std::string::npos);

    CardPage loaded;
    CardFile::ParsePage(loaded, file, false);
    const TextRecord read(loaded.Field(TextField, 0).a);
    EXPECT_EQ(read.fontPoints(), 14);
    EXPECT_EQ(read.style() & 0xFF, 16 + 2 + 128);
    EXPECT_EQ(read.colourCode(), 9);
    EXPECT_TRUE(CheckBoxRecord(loaded.Field(CheckBox, 0).a).ticked());
    EXPECT_EQ(CheckBoxRecord(loaded.Field(CheckBox, 0).a).spare(), 3);
    EXPECT_EQ(ColourDotRecord(loaded.Field(ColourDot, 0).a).state(), 17);
    EXPECT_TRUE(TickMarkRecord(loaded.Field(TickMark, 0).a).shown());
    EXPECT_EQ(OptionFieldRecord(loaded.Field(OptionField, 0).a).state(), 3);
}
