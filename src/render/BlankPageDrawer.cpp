#include "BlankPageDrawer.h"

#include "DrawSurface.h"

#include <QImageReader>
#include <algorithm>
#include <cmath>
#include <poppler-qt6.h>
#include <system_error>

namespace cw {

namespace {

constexpr double kTwipsPerInch = 1440;
constexpr double kMinPaperDpi = 300;
constexpr double kMaxPaperDpi = 600;
constexpr size_t kKeptPictures = 6;

std::string Stamp(const std::filesystem::path& file) {
    std::error_code ec;
    auto written = std::filesystem::last_write_time(file, ec).time_since_epoch().count();
    auto size = std::filesystem::file_size(file, ec);
    return std::to_string(written) + ':' + std::to_string(ec ? 0 : size);
}

bool IsPdf(const std::filesystem::path& file) {
    std::string ext = file.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    return ext == ".pdf";
}

} // namespace

BlankPageDrawer::BlankPageDrawer() = default;
BlankPageDrawer::~BlankPageDrawer() = default;

QImage BlankPageDrawer::PageImage(const std::filesystem::path& file, int page, QSize pixels) {
    const std::string stamp = Stamp(file);
    const QString key = QString::fromStdString(file.string() + '|' + stamp) + u'|' +
                        QString::number(page) + u'|' + QString::number(pixels.width()) + u'x' +
                        QString::number(pixels.height());
    if (auto it = pictures_.find(key); it != pictures_.end())
        return it->second;

    std::error_code missing;
    if (!std::filesystem::is_regular_file(file, missing))
        return {};
    QImage picture;
    if (IsPdf(file)) {
        OpenDocument& open = documents_[file.string()];
        if (!open.document || open.stamp != stamp) {
            open.document = Poppler::Document::load(QString::fromStdString(file.string()));
            open.stamp = stamp;
            if (open.document) {
                open.document->setRenderHint(Poppler::Document::Antialiasing);
                open.document->setRenderHint(Poppler::Document::TextAntialiasing);
            }
        }
        if (!open.document || open.document->isLocked() || page < 0 ||
            page >= open.document->numPages())
            return {};
        std::unique_ptr<Poppler::Page> pdfPage = open.document->page(page);
        if (!pdfPage)
            return {};
        const QSizeF points = pdfPage->pageSizeF();
        if (points.width() <= 0 || points.height() <= 0)
            return {};
        picture = pdfPage->renderToImage(72.0 * pixels.width() / points.width(),
                                         72.0 * pixels.height() / points.height());
    } else {
        QImageReader reader(QString::fromStdString(file.string()));
        reader.setAutoTransform(true);
        picture = reader.read();
        if (!picture.isNull() && picture.size() != pixels)
            picture = picture.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    if (picture.isNull())
        return {};
    ++renderCount_;
    if (pictures_.size() >= kKeptPictures)
        pictures_.clear();
    pictures_.emplace(key, picture);
    return picture;
}

bool BlankPageDrawer::Draw(DrawSurface& surface, const std::filesystem::path& folder,
                           const BaseRecord& record, int32_t x, int32_t y, double pixelsPerTwip) {
    const BlankPageRecord page(record);
    if (page.width() <= 0 || page.height() <= 0 || page.fileName().empty())
        return false;
    // The name is a plain file name in the data folder; anything that would leave it is not
    // followed.
    const std::filesystem::path name(page.fileName());
    if (name.has_parent_path() || name.is_absolute())
        return false;
    if (surface.IsPrinter()) {
        const double deviceDpi = kTwipsPerInch / std::max(0.01, surface.DeviceTwipsPerPixel());
        pixelsPerTwip = std::clamp(deviceDpi, kMinPaperDpi, kMaxPaperDpi) / kTwipsPerInch;
    }
    const QSize pixels(std::max(1, int(std::lround(page.width() * pixelsPerTwip))),
                       std::max(1, int(std::lround(page.height() * pixelsPerTwip))));
    const QImage picture = PageImage(folder / name, page.pdfPage(), pixels);
    if (picture.isNull())
        return false;
    surface.PaintPicture(picture, x, y, page.width(), page.height());
    return true;
}

} // namespace cw
