#include "BlankCardPicture.h"

#include <QImage>
#include <QImageReader>
#include <cmath>
#include <system_error>

namespace cw {

namespace {
constexpr double kMillimetresPerInch = 25.4;
constexpr double kTwipsPerInch = 1440;
} // namespace

BlankCardPicture::BlankCardPicture(const std::filesystem::path& file) {
    const std::string name = file.filename().string();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        throw BlankCardError("The blank card " + file.string() + " cannot be found.");
    if (std::filesystem::file_size(file, ec) > BlankCardPdf::MaxFileBytes)
        throw BlankCardError("The blank card " + name +
                             " is larger than 50 MB: no card's "
                             "page is that large. Please pick the federation's blank card.");
    QImageReader reader(QString::fromStdString(file.string()));
    const QByteArray format = reader.format();
    if (format != "png" && format != "jpeg" && format != "jpg")
        throw BlankCardError("The blank card " + name +
                             " cannot be read: it is not a PNG or JPEG picture, or it is "
                             "damaged.");
    pixels_ = reader.size();
    if (!pixels_.isValid() || pixels_.isEmpty())
        throw BlankCardError("The blank card " + name + " cannot be read: it is damaged.");
    if (qint64(pixels_.width()) * pixels_.height() > MaxPixels)
        throw BlankCardError("The blank card " + name +
                             " has more pixels than a card's page "
                             "needs. Please scan it at 300 dpi.");
    const QImage probe = reader.read();
    if (probe.isNull())
        throw BlankCardError("The blank card " + name + " cannot be read: it is damaged.");
    const double stated = probe.dotsPerMeterX() * kMillimetresPerInch / 1000;
    if (stated >= LowestScanDotsPerInch)
        dotsPerInch_ = stated;
    const double widestMillimetres =
        std::max(pixels_.width(), pixels_.height()) / dotsPerInch_ * kMillimetresPerInch;
    if (widestMillimetres > BlankCardPdf::MaxPageMillimetres)
        throw BlankCardError("The blank card " + name +
                             " is more than a metre across at its resolution: no card is "
                             "that large.");
}

QSizeF BlankCardPicture::PageSizeTwips() const {
    return QSizeF(pixels_) / dotsPerInch_ * kTwipsPerInch;
}

} // namespace cw
