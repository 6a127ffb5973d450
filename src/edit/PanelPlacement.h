#pragma once

#include "LayoutRules.h"
#include "PlacedControl.h"

#include <optional>
#include <utility>

namespace cw {

// Where the floating panel of layout editing stands, in card twips. It opens beside the
// point the user right-clicked for the action, so that the spot stays free to draw on; it is
// moved back inside the part of the card on show when that changes; and it moves off the
// field being placed rather than hide it.
class PanelPlacement {
public:
    using Corner = std::pair<double, double>;

    // The point the panel of the next action opens beside.
    void Anchor(double x, double y) {
        anchorX_ = x;
        anchorY_ = y;
    }
    // The top left corner of a panel of size beside the anchor.
    Corner BesideAnchor(Corner size, const CardArea& visible) const;
    // The panel where it stands, moved back inside the part on show (its top left corner
    // first when it is larger than that part).
    static Corner KeptInside(const TwipRect& panel, const CardArea& visible);
    // The part of the card that what is being placed covers: the editor (only its first
    // line when the text is one line), the marker, the rubber band or the line drawn;
    // nullopt when nothing is on the card.
    static std::optional<TwipRect> AreaInUse(const Placement& placed, const EditorLook& editor);

private:
    double anchorX_ = 0;
    double anchorY_ = 0;
};

} // namespace cw
