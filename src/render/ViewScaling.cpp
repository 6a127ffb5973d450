#include "ViewScaling.h"

#include "BasicNumbers.h"
#include "Colour.h"
#include "ProgramTexts.h"
#include "Prompter.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace cw {

namespace {

// Scroll bar values are 16-bit; zooming keeps them in range, the clamp guards the rest.
int32_t BarValue(double value) {
    return ToInt32(std::clamp(value, -32768.0, 32767.0));
}

} // namespace

ScrollBars ScrollBarsFor(const ViewState& view, double innerWidth, double innerHeight) {
    ScrollBars bars;
    bars.Horizontal.Max = BarValue(view.ZoomedWidth() - innerWidth + 375);
    bars.Horizontal.SmallChange = 200;
    bars.Horizontal.LargeChange = BarValue(view.ZoomedWidth() / 4.0);
    bars.Vertical.Max = BarValue(view.ZoomedHeight() - innerHeight + 900);
    bars.Vertical.SmallChange = 200;
    bars.Vertical.LargeChange = BarValue(view.ZoomedHeight() / 4.0);
    return bars;
}

ZoomControl::Outcome ZoomControl::Zoom(ViewState& view, bool in, double naturalWidth,
                                       double naturalHeight, double innerWidth, double innerHeight,
                                       Prompter& prompter) {
    const float previous = view.ViewScale();
    float scale = previous;
    if (in) {
        // The limit is tested before the step, so the last step may pass it.
        if (scale >= Limit) {
            prompter.Message("Can not zoom in any farther.", GetProgramText(TextId::ProgramName),
                             Buttons::Ok);
            return Outcome::AtLimit;
        }
        scale += Step;
    } else {
        if (scale - Step < Lowest - 0.001f) {
            prompter.Beep();
            return Outcome::AtLowest;
        }
        scale -= Step;
    }
    double width = scale * naturalWidth;
    double height = scale * naturalHeight;
    if (width - innerWidth + 375 < ScrollLimit && height - innerHeight + 900 < ScrollLimit) {
        view.StepTo(scale, in, float(width), float(height));
        return Outcome::Zoomed;
    }
    // The step is undone, but the scale stays the user's.
    view.SetUserScale(previous);
    prompter.Beep();
    return Outcome::TooLarge;
}

VisibleCardArea VisibleAreaFor(double viewScale, int twipsPerPixel, int32_t screenWidth,
                               QSize client, double pictureLeft, double pictureTop) {
    const double p = twipsPerPixel;
    double widthPixels = client.width(), heightPixels = client.height();
    // The classic screens have the sizes the card window had on them.
    if (screenWidth == 9600) {
        widthPixels = 630;
        heightPixels = 422;
    } else if (screenWidth == 12000) {
        widthPixels = 780;
        heightPixels = 542;
    } else if (screenWidth == 15360) {
        widthPixels = 1004;
        heightPixels = 710;
    }
    VisibleCardArea area;
    const double scale = viewScale > 0 ? viewScale : 1;
    area.VisibleWidth = ToInt32(widthPixels * p / scale);
    area.VisibleHeight = ToInt32(heightPixels * p / scale);
    const double left = std::fabs(pictureLeft) / scale, top = std::fabs(pictureTop) / scale;
    area.VisibleLeft = ToInt32(left + 20 * p);
    area.VisibleRight = ToInt32(left + area.VisibleWidth - 20 * p);
    area.VisibleTop = ToInt32(top + 20 * p);
    area.VisibleBottom = ToInt32(top + area.VisibleHeight - 20 * p);
    return area;
}

double PictureLeftFor(int32_t value, int32_t max, double horizontalOffset, double rightOffset) {
    double left = -double(value) + horizontalOffset;
    if (value == max)
        left += rightOffset;
    return left;
}

double PictureTopFor(int32_t value) {
    return -double(value);
}

void PaintGradient(QPainter& painter, QSize size, int scheme) {
    painter.save();
    painter.setPen(Qt::NoPen);
    const double band = size.height() / 256.0;
    for (int i = 255; i >= 0; --i) {
        Rgb colour;
        switch (scheme) {
        case 1:
            colour = MakeRgb(0, 255 - i, 255);
            break;
        case 2:
            colour = MakeRgb(255 - i, 50, 255);
            break;
        default:
            colour = MakeRgb(0, 50, 255 - i);
            break;
        }
        // Band i spans (i - 1) to i of 256; the last one reaches the bottom edge.
        double top = (i - 1) * band;
        double bottom = i == 255 ? size.height() : i * band + 1;
        painter.fillRect(QRectF(0, top, size.width(), bottom - top), ToQColor(colour));
    }
    painter.restore();
}

} // namespace cw
