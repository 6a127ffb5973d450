#include "PanelPlacement.h"

#include <algorithm>

namespace cw {

namespace {

// A quarter inch between the point clicked and the panel.
constexpr double kGapToAnchor = 360;
// The height the editor of a one-line text field keeps clear.
constexpr double kOneLineHeight = 240;

} // namespace

PanelPlacement::Corner PanelPlacement::BesideAnchor(Corner size, const CardArea& visible) const {
    return PanelPosition(anchorX_, anchorY_, size.first, size.second, visible, kGapToAnchor);
}

PanelPlacement::Corner PanelPlacement::KeptInside(const TwipRect& panel, const CardArea& visible) {
    return {std::max(visible.left, std::min(panel.left, visible.right - panel.width)),
            std::max(visible.top, std::min(panel.top, visible.bottom - panel.height))};
}

std::optional<TwipRect> PanelPlacement::AreaInUse(const Placement& placed,
                                                  const EditorLook& editor) {
    if (!placed.visible)
        return std::nullopt;
    if (placed.kind == MobileKind::LinePreview) {
        const LineEnds& l = placed.line;
        return DragRect(l.x1, l.y1, l.x2, l.y2);
    }
    TwipRect area = placed.rect;
    if (placed.kind == MobileKind::Editor && editor.index < 3)
        area.height = kOneLineHeight;
    return area;
}

} // namespace cw
