// A redraw over the kept base layer puts back only what the card drew over it; the picture
// must be, pixel for pixel, what a drawing from nothing gives, whatever changed in between.
#include "AppContext.h"
#include "CardCanvas.h"
#include "CardRenderer.h"
#include "ScriptedPrompter.h"
#include "SessionFakes.h"
#include "TestFiles.h"

#include <QFontDatabase>
#include <QPainter>
#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

class WarmRedrawTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        QFontDatabase::addApplicationFont(QStringLiteral(CW_SOURCE_DATA "/fontsdir/Pip4.ttf"));
    }
    void SetUp() override {
        fs::copy(CW_SOURCE_DATA, dir.Path(), fs::copy_options::recursive);
        ASSERT_TRUE(ctx.ReadSystemSettings());
        int16_t slot = -1;
        for (int16_t i = 0; i < ctx.Format.Catalogue().FormatCount; ++i)
            if (ctx.Format.Catalogue().Code(i) == "acbl")
                slot = i;
        ASSERT_GE(slot, 0);
        ctx.View.SetUserScale(2.0f);
        ASSERT_TRUE(ctx.SetupCardFormat(slot, view));
        ctx.Card.SetCardName("testcrd");
        ASSERT_TRUE(ctx.LoadCard());
    }
    const QImage& Warm() {
        canvas.Fit(ctx.View, ctx.TwipsPerPixel);
        renderer.Render(ctx.RequestForOpenPage(RenderTarget::Screen), canvas.Surface());
        return canvas.Picture();
    }
    // The same page drawn from nothing.
    QImage Cold() {
        CardCanvas fresh;
        CardRenderer cold{trap};
        cold.SetBaseLayerCacheEnabled(false);
        fresh.Fit(ctx.View, ctx.TwipsPerPixel);
        cold.Render(ctx.RequestForOpenPage(RenderTarget::Screen), fresh.Surface());
        return fresh.Picture().copy();
    }

    TempDir dir;
    ScriptedPrompter prompter;
    TrapRecorder errors;
    ErrorTrap trap{prompter, errors};
    AppContext ctx{dir.Path(), prompter, trap};
    CardCanvas canvas;
    NoCardFormatView view;
    CardRenderer renderer{trap};
};

} // namespace

TEST_F(WarmRedrawTest, WhatTheCardNoLongerHasLeavesNoTraceOnTheKeptBaseLayer) {
    // Everything the card draws is ticked, circled and written on the first picture.
    CardPage& page = ctx.Card.Edit();
    for (int i = 0; i < page.Count(CheckBox); ++i)
        page.Field(CheckBox, i).a[4] = 1;
    for (int i = 0; i < page.Count(TextField); ++i)
        page.Field(TextField, i).text = "Wide text <h><s> " + std::to_string(i) + " WWWWWWWW";
    Warm();

    // Then most of it goes, and what stays moves.
    for (int i = 0; i < page.Count(CheckBox); ++i)
        page.Field(CheckBox, i).a[4] = i % 3 == 0;
    for (int i = 0; i < page.Count(TextField); ++i)
        page.Field(TextField, i).text = i % 2 ? "" : "x";
    while (page.Count(CircledItem) > 2)
        page.Remove(CircledItem, page.Count(CircledItem) - 1);
    const int reusesBefore = renderer.BaseLayerReuses();
    const QImage warm = Warm().copy();
    EXPECT_EQ(renderer.BaseLayerReuses(), reusesBefore + 1);
    EXPECT_TRUE(warm == Cold());

    // Someone else drew on the picture meanwhile: the next redraw puts all of it back.
    {
        QPainter stranger(&canvas.Picture());
        stranger.fillRect(0, 0, canvas.Picture().width(), canvas.Picture().height() / 2,
                          Qt::magenta);
    }
    EXPECT_TRUE(Warm() == Cold());
    EXPECT_TRUE(errors.shown.empty());
}
