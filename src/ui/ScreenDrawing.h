#pragma once

namespace cw {

class AppContext;
class CardRenderer;
class CardCanvas;

// The open page drawn on the card picture as the screen shows it, and what the drawing could
// not show told to the user once.
void DrawOpenPageOnScreen(AppContext& ctx, CardRenderer& renderer, CardCanvas& canvas);

// Tells the user, once per thing, what the renderer's drawings could not show.
void ReportDrawingNotices(AppContext& ctx, CardRenderer& renderer);

} // namespace cw
