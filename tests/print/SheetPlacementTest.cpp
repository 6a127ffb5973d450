#include "SheetPlacement.h"

#include <gtest/gtest.h>

using namespace cw;

namespace {

// A4 at 10 pixels per millimetre, the printer reaching all but 4 mm at each edge.
const QSizeF kA4(2100, 2970);
const QRectF kPrintable(40, 40, 2020, 2890);
constexpr double kSafe = 50; // 5 mm

} // namespace

TEST(SheetPlacementTest, APageIsCentredAndItsInkKeptOnThePaper) {
    // A small card: centred on the sheet, at its real size.
    auto small =
        PlacePages(kA4, kPrintable, kSafe, {{QSizeF(1000, 1500), QRectF(0, 0, 1000, 1500)}}, false);
    EXPECT_EQ(small.fit, 1);
    EXPECT_EQ(small.origins.at(0), QPointF(550 - 40, 735 - 40));
    EXPECT_FALSE(small.InkCut());

    // A page the size of the sheet whose ink comes within 1.4 mm of the top: moved down so
    // that the ink keeps 5 mm, nothing cut.
    auto full = PlacePages(kA4, kPrintable, kSafe, {{kA4, QRectF(100, 14, 1900, 2800)}}, false);
    EXPECT_DOUBLE_EQ(full.origins.at(0).y() + 40 + 14, 50);
    EXPECT_FALSE(full.InkCut());

    // Ink wider than the usable area: real size kept, the cut named by side.
    auto wide = PlacePages(kA4, kPrintable, kSafe, {{kA4, QRectF(0, 100, 2100, 2000)}}, false);
    EXPECT_EQ(wide.fit, 1);
    EXPECT_TRUE(wide.InkCut());
    EXPECT_DOUBLE_EQ(wide.cutRight, 100);
    EXPECT_DOUBLE_EQ(wide.cutLeft, 0);

    // The user's margin puts the page's edge there.
    auto margin = PlacePages(kA4, kPrintable, kSafe,
                             {{QSizeF(1000, 1500), QRectF(0, 0, 1000, 1500), 200}}, false);
    EXPECT_DOUBLE_EQ(margin.origins.at(0).x() + 40, 200);
}

TEST(SheetPlacementTest, TwoPagesShareOneSheetSideBySide) {
    // Two half-Letter pages on Letter turned sideways (10 px per mm): the first page on the
    // left, the second right beside it; the ink 3 mm from the edges makes them shrink a bit.
    const QSizeF letter(2794, 2159);
    const QRectF printable(0, 0, 2794, 2159); // a PDF file reaches everything
    const QSizeF half(1397, 2159);
    const QRectF ink(30, 30, 1337, 2099);
    auto sheet = PlacePages(letter, printable, kSafe, {{half, ink}, {half, ink}}, true);
    ASSERT_EQ(sheet.origins.size(), 2u);
    EXPECT_LT(sheet.fit, 1);
    EXPECT_GT(sheet.fit, 0.95);
    EXPECT_DOUBLE_EQ(sheet.origins[1].x() - sheet.origins[0].x(), half.width() * sheet.fit);
    EXPECT_DOUBLE_EQ(sheet.origins[0].y(), sheet.origins[1].y());
    EXPECT_FALSE(sheet.InkCut());
    // The group is centred: as much room on the left as on the right.
    const double right = letter.width() - (sheet.origins[1].x() + half.width() * sheet.fit);
    EXPECT_NEAR(sheet.origins[0].x(), right, 1e-6);

    // Pages that fit are not enlarged.
    auto roomy = PlacePages(QSizeF(4200, 2970), QRectF(0, 0, 4200, 2970), kSafe,
                            {{half, ink}, {half, ink}}, true);
    EXPECT_EQ(roomy.fit, 1);
}
