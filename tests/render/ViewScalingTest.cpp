#include "ViewScaling.h"

#include "ScriptedPrompter.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace cw;
using Outcome = ZoomControl::Outcome;

namespace {

// A card of 8 by 10 inches in a window of 800 by 600 pixels (15 twips each).
constexpr double kWidth = 11520, kHeight = 14400, kInnerWidth = 12000, kInnerHeight = 9000;

Outcome Step(ViewState& view, bool in, ScriptedPrompter& prompter, double width = kWidth) {
    return ZoomControl::Zoom(view, in, width, kHeight, kInnerWidth, kInnerHeight, prompter);
}

} // namespace

TEST(ZoomControlTest, LimitIsTestedBeforeTheStep) {
    ScriptedPrompter prompter;
    ViewState view;
    view.FollowFormat(1.0f, 7); // seven steps from 1.0: 2.4
    EXPECT_EQ(Step(view, true, prompter), Outcome::Zoomed);
    EXPECT_NEAR(view.ViewScale(), 2.6, 1e-5);
    EXPECT_EQ(view.ZoomFactor(), 8);
    EXPECT_TRUE(view.ZoomSetByUser());
    EXPECT_NEAR(view.ZoomedWidth(), 2.6 * kWidth, 0.1);
    EXPECT_TRUE(prompter.MessageTexts().empty());

    EXPECT_EQ(Step(view, true, prompter), Outcome::AtLimit);
    EXPECT_NEAR(view.ViewScale(), 2.6, 1e-5);
    EXPECT_EQ(view.ZoomFactor(), 8);
    EXPECT_EQ(prompter.MessageTexts(), std::vector<std::string>{"Can not zoom in any farther."});

    EXPECT_EQ(Step(view, false, prompter), Outcome::Zoomed);
    EXPECT_NEAR(view.ViewScale(), 2.4, 1e-5);
    EXPECT_EQ(view.ZoomFactor(), 7);
}

TEST(ZoomControlTest, ScrollRangeOverflowUndoesTheStepWithABeep) {
    ScriptedPrompter prompter;
    ViewState view;
    view.SetUserScale(1.0f);
    // 1.2 x 36400 - 12000 + 375 = 32055: too wide for the scroll bar.
    EXPECT_EQ(Step(view, true, prompter, 36400), Outcome::TooLarge);
    EXPECT_FLOAT_EQ(view.ViewScale(), 1.0f);
    EXPECT_EQ(view.ZoomFactor(), 0);
    EXPECT_EQ(prompter.BeepCount(), 1);
    // 1.2 x 36300 - 12000 + 375 = 31935 still fits.
    EXPECT_EQ(Step(view, true, prompter, 36300), Outcome::Zoomed);
}

TEST(ZoomControlTest, ZoomingOutStopsAtTheLowestScale) {
    ScriptedPrompter prompter;
    ViewState view;
    view.SetUserScale(0.8f);
    EXPECT_EQ(Step(view, false, prompter), Outcome::Zoomed);
    EXPECT_EQ(Step(view, false, prompter), Outcome::Zoomed);
    EXPECT_NEAR(view.ViewScale(), 0.4, 1e-5);
    EXPECT_EQ(Step(view, false, prompter), Outcome::AtLowest);
    EXPECT_NEAR(view.ViewScale(), 0.4, 1e-5);
    EXPECT_EQ(prompter.BeepCount(), 1);
}

TEST(ViewGeometryTest, ScrollBarsAndPicturePosition) {
    const ViewState view = ViewState::Sized(1.0f, 13824, 17280);
    ScrollBars bars = ScrollBarsFor(view, kInnerWidth, kInnerHeight);
    EXPECT_EQ(bars.Horizontal.Max, 13824 - 12000 + 375);
    EXPECT_EQ(bars.Horizontal.SmallChange, 200);
    EXPECT_EQ(bars.Horizontal.LargeChange, 3456);
    EXPECT_EQ(bars.Vertical.Max, 17280 - 9000 + 900);
    EXPECT_EQ(bars.Vertical.LargeChange, 4320);

    EXPECT_EQ(PictureLeftFor(100, 2199, 50, 300), -50);
    EXPECT_EQ(PictureLeftFor(2199, 2199, 50, 300), -2199 + 50 + 300);
    EXPECT_EQ(PictureTopFor(800), -800);
}

TEST(ViewGeometryTest, VisibleAreaFromTheScreenOrTheWindow) {
    // The classic 1024-pixel screen: 1004 by 710 pixels at scale 2, scrolled by 3000 and 1500.
    VisibleCardArea area = VisibleAreaFor(2.0, 15, 15360, QSize(1, 1), -3000, -1500);
    EXPECT_EQ(area.VisibleWidth, 1004 * 15 / 2);
    EXPECT_EQ(area.VisibleHeight, 710 * 15 / 2);
    EXPECT_EQ(area.VisibleLeft, 1500 + 300);
    EXPECT_EQ(area.VisibleRight, 1500 + 7530 - 300);
    EXPECT_EQ(area.VisibleTop, 750 + 300);
    EXPECT_EQ(area.VisibleBottom, 750 + 5325 - 300);

    // Any other screen: the window's own size.
    area = VisibleAreaFor(1.0, 15, 28800, QSize(1200, 900), 0, 0);
    EXPECT_EQ(area.VisibleWidth, 18000);
    EXPECT_EQ(area.VisibleHeight, 13500);
    EXPECT_EQ(area.VisibleLeft, 300);
    EXPECT_EQ(area.VisibleBottom, 13200);
}

TEST(PaintGradientTest, SchemesRunFromTopToBottom) {
    QImage picture(40, 512, QImage::Format_RGB32);
    for (int scheme : {0, 1, 2}) {
        picture.fill(Qt::black);
        QPainter painter(&picture);
        PaintGradient(painter, picture.size(), scheme);
        painter.end();
        QColor top = picture.pixelColor(20, 0), bottom = picture.pixelColor(20, 511);
        switch (scheme) {
        case 0: // blue fading to dark
            EXPECT_EQ(top, QColor(0, 50, 255));
            EXPECT_EQ(bottom, QColor(0, 50, 0));
            break;
        case 1: // cyan to blue
            EXPECT_EQ(top, QColor(0, 255, 255));
            EXPECT_EQ(bottom, QColor(0, 0, 255));
            break;
        default: // blue to violet
            EXPECT_EQ(top, QColor(255, 50, 255));
            EXPECT_EQ(bottom, QColor(0, 50, 255));
            break;
        }
        EXPECT_EQ(picture.pixelColor(20, 256).blue(), scheme == 0 ? 127 : 255);
    }
}
