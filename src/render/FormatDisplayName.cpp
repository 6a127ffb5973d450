#include "FormatDisplayName.h"

#include "FileOps.h"

#include <QStringDecoder>

namespace cw {

namespace {

const char* CodePageOfFont(const std::string& font) {
    if (font == "Times NR Greek MT")
        return "windows-1253";
    if (font == "Times NR Cyrillic MT")
        return "windows-1251";
    if (font == "Times NR CEw MT" || font == "Arial PL")
        return "windows-1250";
    return "windows-1252";
}

} // namespace

std::string RowFontName(const std::string& displayName) {
    std::string head = ToUpperAscii(displayName.substr(0, 6));
    if (head == "GREECE")
        return "Times NR Greek MT";
    if (head == "RUSSIA")
        return "Times NR Cyrillic MT";
    if (head == "CROATI")
        return "Times NR CEw MT";
    if (head == "POLAND")
        return "Arial PL";
    return "Times New Roman";
}

QString DecodeDisplayName(const std::string& displayName) {
    QStringDecoder decoder(CodePageOfFont(RowFontName(displayName)));
    if (!decoder.isValid())
        return QString::fromLatin1(displayName.data(), qsizetype(displayName.size()));
    return decoder.decode(QByteArrayView(displayName.data(), qsizetype(displayName.size())));
}

} // namespace cw
