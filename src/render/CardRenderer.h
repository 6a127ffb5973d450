#pragma once

#include "BlankPageDrawer.h"
#include "DrawSurface.h"
#include "DrawingContext.h"
#include "FieldDrawer.h"
#include "FontBook.h"
#include "RenderRequest.h"
#include "RenderState.h"
#include "TextDrawer.h"

#include <QDate>
#include <QImage>
#include <QRectF>
#include <deque>
#include <functional>
#include <optional>
#include <string>

namespace cw {

class ErrorTrap;

// Draws the page a request hands it on a surface: the format's printed base layer, then the
// card's own fields kind by kind, then the card's text. The same code serves the screen
// picture, the printer, PDF files and export pictures. A drawing reads and writes no file
// and looks at nothing but its request; errors go to the error trap.
//
// On a screen picture the drawn base layer is kept (per format, page, file, zoom and set of
// erased areas, with the surface's state after it), so that a redraw while a card is being
// filled in only draws the card layer over a copy of it; a mark painted out on the picture
// shows it again. Paper is always drawn afresh.
class CardRenderer {
public:
    explicit CardRenderer(ErrorTrap& errors);

    // The drawing state, set from each request; afterwards it tells whether an item lay too
    // far down for the paper and the tint of the card's text fields.
    RenderState State;

    // Draws the request's page on surface. The surface is sized by its owner beforehand.
    void Render(const RenderRequest& request, DrawSurface& surface);

    // Redraws record index of kind of the page last drawn (with what its request handed)
    // after a change of that record alone (a check box or circle clicked, a text committed),
    // without the rest of the page. On a screen picture with its kept base layer everything
    // within the record's reach is drawn again, as a whole render would draw it; elsewhere
    // the record's previous look is painted out first. A click asks for no new request: the
    // format, side and zoom are those of the page on the screen.
    void RedrawField(DrawSurface& surface, int kind, int index);
    // A circled item of the page last drawn that has just taken its next look in the page is
    // drawn so, its old look gone.
    void RedrawCircledItem(DrawSurface& surface, int index);

    // A field being moved or resized on the screen is shown by the layout editor's own
    // controls, so the screen picture leaves it out until it is put back (kind 0: none).
    // Paper and exported pictures always show every field.
    void SetLiftedField(int kind, int index);

    TextDrawer& Text() { return text_; }
    FieldDrawer& Drawers() { return drawers_; }

    void SetBaseLayerCacheEnabled(bool enabled);
    void ForgetBaseLayers() { cache_.clear(); }
    // How many renders were served from a kept base layer (for tests and benchmarks).
    int BaseLayerReuses() const { return reuses_; }

    // The date the printed footer shows (today unless set).
    void SetToday(std::function<QDate()> today) { today_ = std::move(today); }

    // The text record index is drawn with: its own text, or, for the name fields on the
    // front page of the partner's card, the partner's side of the names.
    std::string DrawnText(int index) const;

    // What the drawings since the last call could not show (a missing picture), for the
    // owner to tell the user.
    std::vector<DrawingNotice> TakeNotices() { return drawers_.TakeNotices(); }

private:
    struct KeptBaseLayer {
        std::string key;
        QImage picture;
        SurfaceState state;
    };

    // Takes the request and the surface for the drawing that follows; the pen unit and the
    // circle nudges follow the surface's device.
    void Begin(const RenderRequest& request, DrawSurface& surface);
    // Goes on drawing the last request's page on surface.
    void Resume(DrawSurface& surface);
    void DrawPage();
    void DrawBaseLayer();
    void DrawBaseRecord(const BaseRecord& record);
    void DrawFooter(const BaseRecord& record);
    void DrawRotatedRecord(const BaseRecord& record);
    // The card's erased areas (kind 1), white over the base layer.
    void DrawErasedAreas();
    bool InErasedArea(int32_t x, int32_t y) const;
    std::string BaseLayerKey(const DrawSurface& surface) const;
    void DrawBaseLayerKept(DrawSurface& surface);
    void ApplyFieldTint();
    void CalibrateForPrinter(DrawSurface& printer);
    // The card's own fields over the base layer, in the order the target shows them.
    void DrawFieldLayers();
    bool LinesOverTextBars() const;
    void DrawCardLayer(bool withLines);
    void DrawTextRecords();
    void DrawCardLines();

    // The card's own drawing within the reach of one record, from the kept base layer up,
    // exactly as a whole render would leave it there: a mark that goes takes nothing of a
    // neighbour with it. False where the surface keeps no base layer.
    bool RepairAround(int kind, int index);
    // Where record index of kind may draw, in card twips of the page, with room for pens.
    QRectF ReachOf(int kind, int index) const;
    // Whether record index of kind is drawn by the pass under way (see RepairAround).
    bool Meets(int kind, int index) const;

    void DrawCardCheckBox(int index, bool redraw);
    void DrawFrameBox(int index, bool eraseFirst);
    void DrawRing(int index, bool eraseFirst);
    void DrawColourDot(int index);
    void DrawCardTextField(int index);
    void UseCardFont(DrawSurface& surface);
    bool IsLifted(int kind, int index) const;

    ErrorTrap& errors_;
    DrawingContext drawing_;
    BaseLayer baseLayer_;
    DrawSurface* surface_ = nullptr;
    TextDrawer text_;
    FieldDrawer drawers_;
    BlankPageDrawer blankPages_;
    // Measures text as the screen shows it while printing.
    FontBook measureFonts_;
    QImage measureImage_;

    // The surface as the base layer left it, where the card layer starts.
    SurfaceState afterBaseLayer_;
    // The area a repair draws again, in card twips of the page.
    std::optional<QRectF> repairing_;
    bool cacheEnabled_ = true;
    std::deque<KeptBaseLayer> cache_;
    int reuses_ = 0;
    std::function<QDate()> today_;
    int liftedKind_ = 0;
    int liftedIndex_ = -1;
};

} // namespace cw
