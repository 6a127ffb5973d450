#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QStaticText>
#include <QString>
#include <memory>
#include <unordered_map>

class QPaintDevice;

namespace cw {

// One font as drawn on one device, with its measures. Widths of strings measured once are
// remembered: a card measures the same short texts again on every redraw.
class FontFace {
public:
    FontFace(const QFont& font, const QPaintDevice* device);

    const QFont& Font() const { return font_; }
    double Ascent() const { return ascent_; }
    double Height() const { return height_; }
    double Width(const QString& text) const;
    // text laid out once in this font, to be drawn again and again without shaping it anew.
    const QStaticText& Laid(const QString& text) const;

private:
    QFont font_;
    QFontMetricsF metrics_;
    double ascent_;
    double height_;
    mutable QHash<QString, double> widths_;
    mutable QHash<QString, QStaticText> laid_;
};

// What selects a face: the family asked for, the size in device pixels, the style.
struct FaceKey {
    QString family;
    double pixelSize = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int weight = -1; // -1: normal or bold by the flag
    int dpi = 96;

    bool operator==(const FaceKey&) const = default;
};

struct FaceKeyHash {
    size_t operator()(const FaceKey& key) const;
};

// The fonts the surfaces draw with. Card files name Windows fonts; where fontconfig does not
// map "Arial", "Times New Roman", "Courier New" and "Arial Narrow" to their metric
// compatible Liberation faces, the book does so itself.
class FontBook {
public:
    // The family a requested font name is drawn with.
    QString Family(const QString& requested);

    const FontFace& Face(const FaceKey& key, const QPaintDevice* device);

    // The Liberation family standing in for a Windows font name, or an empty string.
    static QString StandIn(const QString& windowsName);

private:
    QHash<QString, QString> families_;
    std::unordered_map<FaceKey, std::unique_ptr<FontFace>, FaceKeyHash> faces_;
};

} // namespace cw
