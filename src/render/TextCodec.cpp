#include "TextCodec.h"

#include <QStringDecoder>

namespace cw {

TextCodec::TextCodec(const char* name) : name_(name) {
    // Both code pages are single-byte: one table lookup per byte is all decoding takes.
    QStringDecoder decoder(name);
    for (int byte = 0; byte < 256; ++byte) {
        char c = char(byte);
        QString one = decoder.isValid() ? decoder.decode(QByteArrayView(&c, 1)) : QString();
        decoder.resetState();
        toUnicode_[size_t(byte)] =
            one.size() == 1 ? one.at(0).unicode() : (byte < 128 ? char16_t(byte) : u'?');
    }
}

QString TextCodec::Decode(std::string_view bytes) const {
    QString text(qsizetype(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (size_t i = 0; i < bytes.size(); ++i)
        out[i] = QChar(toUnicode_[static_cast<unsigned char>(bytes[i])]);
    return text;
}

std::string TextCodec::Encode(const QString& text) const {
    std::string bytes;
    bytes.reserve(size_t(text.size()));
    for (QChar c : text) {
        char16_t unit = c.unicode();
        char out = '?';
        if (unit < 128 && toUnicode_[unit] == unit) {
            out = char(unit);
        } else {
            for (int byte = 128; byte < 256; ++byte)
                if (toUnicode_[size_t(byte)] == unit) {
                    out = char(byte);
                    break;
                }
        }
        bytes.push_back(out);
    }
    return bytes;
}

const TextCodec& TextCodec::Western() {
    static const TextCodec codec("windows-1252");
    return codec;
}

const TextCodec& TextCodec::Cyrillic() {
    static const TextCodec codec("windows-1251");
    return codec;
}

} // namespace cw
