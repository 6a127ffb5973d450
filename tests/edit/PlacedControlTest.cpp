#include "PlacedControl.h"

#include <gtest/gtest.h>

namespace cw {
namespace {

// Shrinking stops at nothing: a line never turns back past its start, a band never gets a
// negative size, and moving a line moves both of its ends.
TEST(PlacedControlTest, ArrowStepsNeverTurnAControlInsideOut) {
    Placement line;
    line.kind = MobileKind::LinePreview;
    line.line = {1000, 500, 1020, 500};
    for (int i = 0; i < 4; ++i)
        NudgePlacement(line, Arrow::Wider, false, 15, false);
    EXPECT_EQ(line.line, (LineEnds{1000, 500, 1005, 500}));
    NudgePlacement(line, Arrow::UpDown, true, 15, false);
    EXPECT_EQ(line.line, (LineEnds{1000, 515, 1005, 515}));

    Placement band;
    band.kind = MobileKind::RubberBand;
    band.rect = {0, 0, 20, 12};
    for (int i = 0; i < 4; ++i) {
        NudgePlacement(band, Arrow::Wider, false, 15, false);
        NudgePlacement(band, Arrow::Taller, false, 15, false);
    }
    EXPECT_EQ(band.rect.width, 5);
    EXPECT_EQ(band.rect.height, 0);

    Placement marker;
    marker.kind = MobileKind::Marker;
    marker.rect = {0, 0, 150, 150};
    NudgePlacement(marker, Arrow::Wider, true, 15, true);
    EXPECT_EQ(marker.rect.height, 165);
}

// A picked line grows only along itself; a picked text field shows its own font and text.
TEST(PlacedControlTest, APickedFieldShowsAsItIsStored) {
    FormatDefaults basics;
    basics.BasicFont = "Arial";
    basics.BasicFontSize = 9;
    auto colour = [](int32_t code) {
        return code * 10;
    };

    CardField vertical{{100, 100, 100, 900, 2, 0}, ""}; // x1, x2, y1, y2, width, colour
    PickedFieldLook look = LookOfPickedField(vertical, Line, true, basics, 15, colour);
    EXPECT_FALSE(look.lineHorizontal);
    EXPECT_TRUE(look.tallerEnabled);
    EXPECT_FALSE(look.widerEnabled);
    EXPECT_EQ(look.lineWidthOption, 2);

    CardField text{{500, 600, 2000, 240, 0, 0}, "#<Times New Roman>#1NT 15-17"};
    look = LookOfPickedField(text, TextField, false, basics, 15, colour);
    EXPECT_EQ(look.mobile.kind, MobileKind::Editor);
    EXPECT_EQ(look.editor.fontName, "Times New Roman");
    EXPECT_EQ(look.editor.fontSize, 9);
    EXPECT_TRUE(look.editor.readOnly);
    EXPECT_EQ(look.editorText, "1NT 15-17");
    EXPECT_EQ(look.mobile.rect.left, 500);
}

} // namespace
} // namespace cw
