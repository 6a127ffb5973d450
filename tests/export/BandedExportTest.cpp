#include "AppContext.h"
#include "CardCanvas.h"
#include "CardExport.h"
#include "CardPages.h"
#include "CardRenderer.h"
#include "ErrorTrap.h"
#include "GifWriter.h"
#include "ScriptedPrompter.h"
#include "SessionFakes.h"
#include "TestFiles.h"

#include <QFontDatabase>
#include <QImage>
#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

// The whole page in one picture, drawn as the export drew it before it drew in bands.
QImage DrawWholePage(AppContext& ctx, int dpi) {
    const ViewState view = ctx.View;
    ctx.View.SetUserScale(float(dpi * double(ctx.TwipsPerPixel) / 1440.0));
    ctx.SetUpViewScale();
    CardCanvas canvas;
    canvas.Fit(ctx.View, ctx.TwipsPerPixel);
    CardRenderer renderer(ctx.errorTrap);
    renderer.SetBaseLayerCacheEnabled(false);
    renderer.Render(ctx.RequestForOpenPage(RenderTarget::Picture), canvas.Surface());
    ctx.View = view;
    return canvas.Picture().copy();
}

QImage Decoded(const std::string& bytes) {
    return QImage::fromData(QByteArray(bytes.data(), qsizetype(bytes.size())))
        .convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(BandedExport, PagesDrawnInBandsAreTheWholePageDrawingInEveryType) {
    // The shipped sample card: text of every size, lines and boxes across the band edges.
    TempDir dir;
    fs::copy(CW_SOURCE_DATA, dir.Path(), fs::copy_options::recursive);
    QFontDatabase::addApplicationFont(QStringLiteral(CW_SOURCE_DATA "/fontsdir/Pip4.ttf"));
    ScriptedPrompter prompter;
    TrapRecorder errors;
    ErrorTrap trap{prompter, errors};
    AppContext ctx(dir.Path(), prompter, trap);
    ASSERT_TRUE(ctx.ReadSystemSettings());
    NoCardFormatView view;
    int16_t slot = ctx.Format.Catalogue().Codes.FmtWBFB;
    ASSERT_TRUE(ctx.SetupCardFormat(slot, view));
    NamedCardPages pages(ctx, "testcrd");
    ASSERT_TRUE(pages.Open());
    fs::create_directories(dir / "out");

    // At 300 dots per inch the cuts of text and pictures at a band's edge would show.
    constexpr int kDpi = 300;
    std::vector<QImage> whole;
    for (bool back : {false, true}) {
        ASSERT_TRUE(pages.ShowPage(back));
        // Qt draws the smoothed edges of a text's very first drawing in a process a shade
        // apart from every later one: the second drawing is the one to match.
        DrawWholePage(ctx, kDpi);
        whole.push_back(DrawWholePage(ctx, kDpi));
    }
    ASSERT_GT(whole[0].height(), 20 * 37);
    const int dotsPerMeter = qRound(kDpi / 0.0254);
    for (QImage& picture : whole) {
        picture.setDotsPerMeterX(dotsPerMeter);
        picture.setDotsPerMeterY(dotsPerMeter);
    }

    CardExport exporter(ctx, pages);
    exporter.Dpi = kDpi;
    // Bands of a prime number of rows: their edges cross text, lines and boxes everywhere.
    exporter.BandRows = 37;
    for (PictureType type :
         {PictureType::Bmp, PictureType::Png, PictureType::Jpeg, PictureType::Gif}) {
        const auto files = exporter.ExportCardImage(dir / "out" / "card", type);
        ASSERT_EQ(files.size(), 2u) << PictureExtension(type);
        for (size_t page = 0; page < 2; ++page) {
            const std::string written = ReadFile(files[page]);
            const std::string before = EncodePicture(whole[page], type);
            SCOPED_TRACE(files[page].string());
            const QImage got = Decoded(written), expected = Decoded(before);
            ASSERT_EQ(got.size(), whole[page].size());
            // The same pixels the whole page's picture had, and for GIF the same palette.
            EXPECT_TRUE(got == expected);
            if (type == PictureType::Bmp || type == PictureType::Gif) {
                EXPECT_TRUE(written == before);
            }
            if (type == PictureType::Bmp || type == PictureType::Png) {
                EXPECT_TRUE(got == whole[page]);
            }
        }
    }
    EXPECT_TRUE(errors.shown.empty());
}
