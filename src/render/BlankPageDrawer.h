#pragma once

#include "BaseLayerFile.h"

#include <QImage>
#include <QString>
#include <filesystem>
#include <map>
#include <memory>

namespace Poppler {
class Document;
}

namespace cw {

class DrawSurface;

// A base-layer record that shows a page of a federation's blank card: x, y, width and height
// of the page on the card in twips, then the page (from 0) in the PDF; the text is the name of
// the PDF or picture in the format's data folder. Card and base kinds never use this number,
// so older readers pass over the record.
inline constexpr int BlankPageKind = 30;

class BlankPageRecord {
public:
    explicit BlankPageRecord(const BaseRecord& r) : r_(r) {}
    int32_t x() const { return r_.a[0]; }
    int32_t y() const { return r_.a[1]; }
    int32_t width() const { return r_.a[2]; }
    int32_t height() const { return r_.a[3]; }
    int pdfPage() const { return r_.a[4]; }
    const std::string& fileName() const { return r_.text; }

private:
    const BaseRecord& r_;
};

// Draws the page of a blank card that a blank-page record names. A page is turned into a
// picture at the resolution it is shown at once, and kept: redrawing at the same zoom only
// pastes it. On paper the picture is made at the printer's resolution, at least 300 dpi.
class BlankPageDrawer {
public:
    BlankPageDrawer();
    ~BlankPageDrawer();

    // Draws the record with its corner at (x, y) card twips; folder holds the source file.
    // False when the file is missing or cannot be read (nothing is drawn then).
    bool Draw(DrawSurface& surface, const std::filesystem::path& folder, const BaseRecord& record,
              int32_t x, int32_t y, double pixelsPerTwip);

    // How many pages were turned into pictures so far (a redraw from the cache adds none).
    int RenderCount() const { return renderCount_; }

private:
    QImage PageImage(const std::filesystem::path& file, int page, QSize pixels);

    struct OpenDocument {
        std::string stamp;
        std::unique_ptr<Poppler::Document> document;
    };
    std::map<std::string, OpenDocument> documents_;
    // Pictures by file, stamp, page and size; a handful at most (front, back, a zoom change).
    std::map<QString, QImage> pictures_;
    int renderCount_ = 0;
};

} // namespace cw
