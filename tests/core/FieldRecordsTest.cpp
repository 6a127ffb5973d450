#include "FieldRecords.h"

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
