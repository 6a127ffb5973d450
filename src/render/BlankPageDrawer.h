#pragma once

#include "BaseLayerFile.h"
#include "BlankPageRecord.h"

#include <QImage>
#include <QPicture>
#include <map>
#include <memory>
#include <string>

namespace Poppler {
class Document;
}

namespace cw {

class DrawSurface;

// Draws the pages of federations' blank cards that base layers place under a card's fields.
// Documents and pictures are opened once and kept; on screen a PDF page is drawn from a
// picture rendered once per resolution, so a redraw at the same zoom renders nothing again.
// On paper it is drawn as the page's own vectors, or from a picture of 300 dots per inch
// where the surface cannot draw those.
class BlankPageDrawer {
public:
    BlankPageDrawer();
    ~BlankPageDrawer();
    BlankPageDrawer(const BlankPageDrawer&) = delete;
    BlankPageDrawer& operator=(const BlankPageDrawer&) = delete;

    // Draws record (kind BlankPageKind) into its rectangle moved right by offsetX; folder
    // holds the file it names. A file that cannot be read draws nothing.
    void Draw(DrawSurface& surface, const BaseRecord& record, int32_t offsetX,
              const fs::path& folder);

    // Names the files the layer's blank pages come from as they are now (path, size, time),
    // so that a kept picture of the layer is not shown after a file changed.
    static std::string SourceStamp(const BaseLayerFile& layer, const fs::path& folder);

    // How many pictures were rendered from PDF pages so far.
    int PagesRendered() const { return rendered_; }

private:
    struct Source {
        std::string stamp;
        std::unique_ptr<Poppler::Document> document;
        QImage picture;
        // Rendered pages by page and width in pixels.
        std::map<std::pair<int, int>, QImage> rendered;
        // Pages as drawing commands, for paper.
        std::map<int, QPicture> recorded;
    };
    Source* Open(const fs::path& file);

    std::map<fs::path, Source> sources_;
    int rendered_ = 0;
};

} // namespace cw
