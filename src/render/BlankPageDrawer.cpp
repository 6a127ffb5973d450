#include "BlankPageDrawer.h"

#include "DrawSurface.h"
#include "FieldRecords.h"
#include "PainterSurface.h"

#include <QPainter>
#include <QPicture>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <poppler-qt6.h>
#include <sstream>

namespace cw {

namespace {

constexpr double kPointsPerInch = 72;
// A page is never rendered wider than this on screen, whatever the zoom.
constexpr int kMaxPixels = 8000;
// Blank pages print from pictures of this resolution.
constexpr int kPrintDotsPerInch = 300;

std::string StampOf(const fs::path& file) {
    std::error_code error;
    const auto size = fs::file_size(file, error);
    if (error)
        return file.string() + ":missing";
    const auto time = fs::last_write_time(file, error).time_since_epoch().count();
    std::ostringstream stamp;
    stamp << file.string() << ':' << size << ':' << time;
    return stamp.str();
}

bool IsPdf(const fs::path& file) {
    std::string type = file.extension().string();
    for (char& c : type)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return type == ".pdf";
}

} // namespace

BlankPageDrawer::BlankPageDrawer() = default;
BlankPageDrawer::~BlankPageDrawer() = default;

std::string BlankPageDrawer::SourceStamp(const BaseLayerFile& layer, const fs::path& folder) {
    std::string stamp;
    for (const BaseRecord& record : layer.records)
        if (record.kind == BlankPageKind)
            stamp +=
                StampOf(ResolveExisting(folder / record.text).value_or(folder / record.text)) + ';';
    return stamp;
}

BlankPageDrawer::Source* BlankPageDrawer::Open(const fs::path& named) {
    const std::optional<fs::path> file = ResolveExisting(named);
    if (!file)
        return nullptr;
    const std::string stamp = StampOf(*file);
    auto found = sources_.find(*file);
    if (found != sources_.end() && found->second.stamp == stamp)
        return &found->second;
    Source source;
    source.stamp = stamp;
    const QString path = QString::fromStdString(file->string());
    if (IsPdf(*file)) {
        source.document = Poppler::Document::load(path);
        if (!source.document || source.document->isLocked())
            return nullptr;
        source.document->setRenderHint(Poppler::Document::Antialiasing);
        source.document->setRenderHint(Poppler::Document::TextAntialiasing);
    } else {
        source.picture = QImage(path);
        if (source.picture.isNull())
            return nullptr;
    }
    Source& kept = sources_[*file] = std::move(source);
    return &kept;
}

void BlankPageDrawer::Draw(DrawSurface& surface, const BaseRecord& record, int32_t offsetX,
                           const fs::path& folder) {
    Source* source = Open(folder / record.text);
    if (!source)
        return;
    const BlankPageRecord blank(record.a);
    const double x = blank.x() + offsetX, y = blank.y();
    const double width = blank.width(), height = blank.height();
    if (width <= 0 || height <= 0)
        return;
    if (!source->picture.isNull()) {
        surface.PaintPicture(source->picture, x, y, width, height);
        return;
    }
    const int pageNumber = blank.sourcePage();
    std::unique_ptr<Poppler::Page> page(source->document->page(pageNumber));
    if (!page)
        return;
    const QSizeF points = page->pageSizeF();
    auto* painterSurface = dynamic_cast<PainterSurface*>(&surface);
    if (surface.IsPrinter()) {
        // Paper gets the page's own vectors, recorded once through Poppler's painter output
        // and played back scaled into place (that output sets transforms of its own, which a
        // recording takes relative to the painter's); where a surface cannot play them, a
        // picture that prints sharp.
        QPicture& recording = source->recorded[pageNumber];
        if (recording.isNull()) {
            QPainter recorder(&recording);
            source->document->setRenderBackend(Poppler::Document::QPainterBackend);
            page->renderToPainter(&recorder, kPointsPerInch, kPointsPerInch);
            source->document->setRenderBackend(Poppler::Document::SplashBackend);
            recorder.end();
            ++rendered_;
        }
        if (surface.PaintRecording(recording, points, x, y, width, height))
            return;
        QImage& picture = source->rendered[{pageNumber, -kPrintDotsPerInch}];
        if (picture.isNull()) {
            picture = page->renderToImage(kPrintDotsPerInch, kPrintDotsPerInch);
            ++rendered_;
        }
        surface.PaintPicture(picture, x, y, width, height);
        return;
    }
    const double pixelsPerTwip = painterSurface ? painterSurface->Mapping().pixelsPerTwipX
                                                : 1.0 / surface.DeviceTwipsPerPixel();
    const int pixels = std::clamp(int(std::lround(width * pixelsPerTwip)), 1, kMaxPixels);
    QImage& picture = source->rendered[{pageNumber, pixels}];
    if (picture.isNull()) {
        const double dpi = kPointsPerInch * pixels / points.width();
        // Opaque, in the screen picture's own format: a redraw then copies it without blending.
        picture = page->renderToImage(dpi, dpi).convertToFormat(QImage::Format_RGB32);
        ++rendered_;
    }
    surface.PaintPicture(picture, x, y, width, height);
}

} // namespace cw
