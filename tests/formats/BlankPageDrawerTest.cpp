#include "BlankPageDrawer.h"

#include "BaseLayerFile.h"
#include "FontBook.h"
#include "PainterSurface.h"
#include "TestFiles.h"

#include <QColor>
#include <QImage>
#include <cstdlib>
#include <gtest/gtest.h>

namespace cw {
namespace {

using test::TempDir;

// An A5 page (8391 x 11906 twips) inked black in its top left quarter and red in its bottom
// right, drawn at the corner of a picture at zoom 2 (15 twips per pixel).
TEST(BlankPageDrawerTest, APdfPageShowsItsInkAndARedrawAtTheSameZoomReusesThePicture) {
    TempDir cards;
    const std::string command = "/usr/bin/python3 '" CW_FORMATS_TEST_DIR "/make_blank_cards.py' '" +
                                cards.Path().string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);

    // The record as a layout file keeps it; it must come back whole, next to the usual kinds.
    std::string layout;
    for (int i = 0; i < 31; ++i)
        layout += "0\r\n";
    layout += "30,0,0,8391,11906,0,\"inked.pdf\",0\r\n6,10,10,100,100,0,\"\",0\r\n";
    const BaseLayerFile file = BaseLayerFile::Parse(layout);
    ASSERT_EQ(file.records.size(), 2u);
    EXPECT_FALSE(file.problem);
    const BaseRecord& record = file.records[0];
    ASSERT_EQ(record.kind, BlankPageKind);
    EXPECT_EQ(BlankPageRecord(record).height(), 11906);
    EXPECT_EQ(BlankPageRecord(record).fileName(), "inked.pdf");

    const double zoom = 2;
    QImage picture(int(8391 * zoom / 15) + 20, int(11906 * zoom / 15) + 20, QImage::Format_RGB32);
    picture.fill(Qt::white);
    FontBook fonts;
    BlankPageDrawer drawer;
    {
        PainterSurface surface(picture, DeviceMapping::Screen(zoom, 15), fonts);
        ASSERT_TRUE(drawer.Draw(surface, cards.Path(), record, 0, 0, zoom / 15));
        ASSERT_TRUE(drawer.Draw(surface, cards.Path(), record, 0, 0, zoom / 15));
        surface.End();
    }
    EXPECT_EQ(drawer.RenderCount(), 1);
    const int w = int(8391 * zoom / 15), h = int(11906 * zoom / 15);
    EXPECT_EQ(QColor(picture.pixel(w / 4, h / 4)), QColor(Qt::black));
    EXPECT_EQ(QColor(picture.pixel(3 * w / 4, h / 4)), QColor(Qt::white));
    EXPECT_EQ(QColor(picture.pixel(w / 4, 3 * h / 4)), QColor(Qt::white));
    EXPECT_EQ(QColor(picture.pixel(3 * w / 4, 3 * h / 4)), QColor(Qt::red));
    // Nothing beyond the page's rectangle.
    EXPECT_EQ(QColor(picture.pixel(w + 5, 3 * h / 4)), QColor(Qt::white));

    // Another zoom is another picture; a file that is not there, or a name that leaves the
    // folder, draws nothing.
    QImage small(200, 200, QImage::Format_RGB32);
    PainterSurface other(small, DeviceMapping::Screen(1, 15), fonts);
    EXPECT_TRUE(drawer.Draw(other, cards.Path(), record, 0, 0, 1.0 / 15));
    EXPECT_EQ(drawer.RenderCount(), 2);
    BaseRecord missing = record;
    missing.text = "gone.pdf";
    EXPECT_FALSE(drawer.Draw(other, cards.Path(), missing, 0, 0, 1.0 / 15));
    missing.text = "../" + cards.Path().filename().string() + "/inked.pdf";
    EXPECT_FALSE(drawer.Draw(other, cards.Path(), missing, 0, 0, 1.0 / 15));
    missing.text = "inked.pdf";
    missing.a[4] = 1; // the PDF has one page
    EXPECT_FALSE(drawer.Draw(other, cards.Path(), missing, 0, 0, 1.0 / 15));
    other.End();
}

} // namespace
} // namespace cw
