#include "PanelPlacement.h"

#include <gtest/gtest.h>

namespace cw {
namespace {

bool Covers(const TwipRect& r, double x, double y) {
    return x >= r.left && x <= r.left + r.width && y >= r.top && y <= r.top + r.height;
}

// The part on show shrinks or scrolls under the panel: it comes back inside, its top left
// corner first when it is larger than the part on show; where it fits it does not move.
TEST(PanelPlacementTest, APanelIsKeptInsideThePartOnShow) {
    const CardArea visible{1000, 500, 9000, 6500};
    using Corner = PanelPlacement::Corner;
    EXPECT_EQ(PanelPlacement::KeptInside({2000, 1000, 3000, 2000}, visible), Corner(2000, 1000));
    EXPECT_EQ(PanelPlacement::KeptInside({8000, 6000, 3000, 2000}, visible), Corner(6000, 4500));
    EXPECT_EQ(PanelPlacement::KeptInside({0, 0, 3000, 2000}, visible), Corner(1000, 500));
    EXPECT_EQ(PanelPlacement::KeptInside({5000, 5000, 9000, 9000}, visible), Corner(1000, 500));

    // Opened for a right click, it leaves the spot clicked free.
    PanelPlacement placement;
    placement.Anchor(8500, 6000);
    auto [left, top] = placement.BesideAnchor({3000, 2000}, visible);
    EXPECT_FALSE(Covers({left, top, 3000, 2000}, 8500, 6000));
    EXPECT_GE(left, visible.left);
    EXPECT_LE(top + 2000, visible.bottom);
}

// What the panel keeps clear of: a line drawn in any direction by its two ends, a one-line
// text by its first line only, a wrapped text by its whole box; nothing when nothing is placed.
TEST(PanelPlacementTest, TheAreaKeptClearIsWhatTheFieldBeingPlacedCovers) {
    EditorLook oneLine;
    oneLine.index = 2;
    EditorLook wrapped;
    wrapped.index = 4;

    Placement line;
    line.kind = MobileKind::LinePreview;
    line.visible = true;
    line.line = {5000, 3000, 2000, 1000};
    const std::optional<TwipRect> lineArea = PanelPlacement::AreaInUse(line, oneLine);
    ASSERT_TRUE(lineArea);
    EXPECT_TRUE(Covers(*lineArea, 2000, 1000));
    EXPECT_TRUE(Covers(*lineArea, 5000, 3000));

    Placement editor;
    editor.kind = MobileKind::Editor;
    editor.visible = true;
    editor.rect = {100, 200, 3000, 900};
    EXPECT_EQ(PanelPlacement::AreaInUse(editor, oneLine)->height, 240);
    EXPECT_EQ(PanelPlacement::AreaInUse(editor, wrapped)->height, 900);

    editor.visible = false;
    EXPECT_FALSE(PanelPlacement::AreaInUse(editor, wrapped));
}

} // namespace
} // namespace cw
