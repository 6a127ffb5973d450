#include "CheckBoxSample.h"

#include "AppContext.h"
#include "DrawingContext.h"
#include "FieldDrawer.h"
#include "FontBook.h"
#include "PainterSurface.h"
#include "RenderState.h"
#include "TextDrawer.h"

#include <QImage>

namespace cw {

QPixmap CheckBoxSample(const AppContext& context, int style) {
    // A box of no format in particular, in the style shown.
    DrawingContext sample;
    sample.twipsPerPixel = context.TwipsPerPixel;
    sample.fonts.CheckBoxStyle = style;
    const double scale = 2.0;
    const int32_t pixel = sample.twipsPerPixel;
    const int32_t side = 8 * pixel; // 16 pixels at this scale
    RenderState state;
    TextDrawer text(context.errorTrap, sample, state);
    FieldDrawer drawer(context.errorTrap, sample, state, text);
    FontBook fonts;
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        PainterSurface surface(image, DeviceMapping::Screen(scale, sample.twipsPerPixel), fonts);
        text.SetSurface(&surface);
        surface.SetDrawWidth(2);
        drawer.DrawCheckBox(true, true, 3 * pixel, 6 * pixel, side, colour::Black);
        surface.Finish();
        text.SetSurface(nullptr);
    }
    return QPixmap::fromImage(image);
}

} // namespace cw
