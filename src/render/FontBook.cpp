#include "FontBook.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QPaintDevice>
#include <functional>

namespace cw {

namespace {

// Strings measured per face before the memory of widths starts again.
constexpr qsizetype kWidthMemory = 8192;

} // namespace

FontFace::FontFace(const QFont& font, const QPaintDevice* device)
    : font_(font), metrics_(font, device), ascent_(metrics_.ascent()), height_(metrics_.height()) {}

double FontFace::Width(const QString& text) const {
    auto it = widths_.constFind(text);
    if (it != widths_.constEnd())
        return *it;
    if (widths_.size() >= kWidthMemory)
        widths_.clear();
    double width = metrics_.horizontalAdvance(text);
    widths_.insert(text, width);
    return width;
}

const QStaticText& FontFace::Laid(const QString& text) const {
    auto it = laid_.find(text);
    if (it != laid_.end())
        return *it;
    if (laid_.size() >= kWidthMemory)
        laid_.clear();
    QStaticText laid(text);
    laid.setTextFormat(Qt::PlainText);
    laid.setPerformanceHint(QStaticText::ModerateCaching);
    laid.prepare(QTransform(), font_);
    return *laid_.insert(text, laid);
}

size_t FaceKeyHash::operator()(const FaceKey& key) const {
    size_t hash = qHash(key.family);
    auto mix = [&hash](size_t value) {
        hash ^= value + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2);
    };
    mix(std::hash<double>()(key.pixelSize));
    mix(size_t(key.bold) | size_t(key.italic) << 1 | size_t(key.underline) << 2 |
        size_t(key.strikeOut) << 3);
    mix(std::hash<int>()(key.weight));
    mix(std::hash<int>()(key.dpi));
    return hash;
}

QString FontBook::StandIn(const QString& windowsName) {
    static const std::pair<const char*, const char*> kStandIns[] = {
        {"Arial", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"},
        {"Courier New", "Liberation Mono"},
        {"Arial Narrow", "Liberation Sans Narrow"},
    };
    for (const auto& [windows, liberation] : kStandIns)
        if (windowsName.compare(QLatin1String(windows), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(liberation);
    return {};
}

QString FontBook::Family(const QString& requested) {
    auto it = families_.constFind(requested);
    if (it != families_.constEnd())
        return *it;
    QString family = requested;
    QFont probe(requested);
    QString drawnWith = QFontInfo(probe).family();
    if (drawnWith.compare(requested, Qt::CaseInsensitive) != 0) {
        QString standIn = StandIn(requested);
        if (!standIn.isEmpty() && QFontDatabase::hasFamily(standIn))
            family = standIn;
    }
    families_.insert(requested, family);
    return family;
}

const FontFace& FontBook::Face(const FaceKey& key, const QPaintDevice* device) {
    auto it = faces_.find(key);
    if (it != faces_.end())
        return *it->second;
    QFont font(Family(key.family));
    double dpi = key.dpi > 0 ? key.dpi : 96;
    font.setPointSizeF(std::max(0.01, key.pixelSize * 72.0 / dpi));
    if (key.weight > 0)
        font.setWeight(QFont::Weight(std::clamp(key.weight / 100 * 100, 100, 900)));
    else
        font.setBold(key.bold);
    font.setItalic(key.italic);
    font.setUnderline(key.underline);
    font.setStrikeOut(key.strikeOut);
    auto face = std::make_unique<FontFace>(font, device);
    const FontFace& result = *face;
    faces_.emplace(key, std::move(face));
    return result;
}

} // namespace cw
