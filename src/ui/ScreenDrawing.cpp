#include "ScreenDrawing.h"

#include "AppContext.h"
#include "CardCanvas.h"
#include "CardRenderer.h"
#include "ProgramTexts.h"
#include "Prompter.h"

namespace cw {

void DrawOpenPageOnScreen(AppContext& ctx, CardRenderer& renderer, CardCanvas& canvas) {
    canvas.Fit(ctx.View, ctx.TwipsPerPixel);
    renderer.Render(ctx.RequestForOpenPage(RenderTarget::Screen), canvas.Surface());
    ReportDrawingNotices(ctx, renderer);
}

void ReportDrawingNotices(AppContext& ctx, CardRenderer& renderer) {
    for (const DrawingNotice& notice : renderer.TakeNotices())
        if (ctx.FirstReport(notice.key))
            ctx.prompter.Message(notice.text, GetProgramText(TextId::ProgramName), Buttons::Ok);
}

} // namespace cw
