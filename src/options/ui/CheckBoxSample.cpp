#include "CheckBoxSample.h"

#include "AppContext.h"
#include "FieldDrawer.h"
#include "FontBook.h"
#include "PainterSurface.h"
#include "RenderState.h"
#include "TextDrawer.h"

#include <QImage>

namespace cw {

QPixmap CheckBoxSample(const AppContext& context, int style) {
    // A context of its own, so that drawing the sample changes nothing of the real one.
    AppContext sample(context.paths.ProgramFolder, context.prompter, context.errorTrap);
    sample.TwipsPerPixel = context.TwipsPerPixel;
    sample.Defaults.CheckBoxStyle = style;
    const double scale = 2.0;
    const int32_t pixel = sample.TwipsPerPixel;
    const int32_t side = 8 * pixel; // 16 pixels at this scale
    RenderState state;
    TextDrawer text(sample, state);
    FieldDrawer drawer(sample, state, text);
    FontBook fonts;
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        PainterSurface surface(image, DeviceMapping::Screen(scale, sample.TwipsPerPixel), fonts);
        text.SetSurface(&surface);
        surface.SetDrawWidth(2);
        drawer.DrawCheckBox(true, true, 3 * pixel, 6 * pixel, side, colour::Black);
        surface.Finish();
        text.SetSurface(nullptr);
    }
    return QPixmap::fromImage(image);
}

} // namespace cw
