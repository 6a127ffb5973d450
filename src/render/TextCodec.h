#pragma once

#include "FormatTraits.h"

#include <QString>
#include <array>
#include <string>
#include <string_view>

namespace cw {

// The 8-bit code page of card texts. Card files hold texts as their bytes; they are decoded
// only on their way to the screen or paper, and encoded again from the editors. A character
// the code page cannot hold becomes "?".
class TextCodec {
public:
    // name: a code page QStringDecoder knows ("windows-1252", "windows-1251").
    explicit TextCodec(const char* name = "windows-1252");

    QString Decode(std::string_view bytes) const;
    std::string Encode(const QString& text) const;
    const char* Name() const { return name_; }

    static const TextCodec& Western();
    static const TextCodec& Cyrillic();
    // The code page of a format's texts.
    static const TextCodec& Of(const FormatTraits& traits) {
        return traits.cyrillicText ? Cyrillic() : Western();
    }

private:
    const char* name_;
    std::array<char16_t, 256> toUnicode_{};
};

} // namespace cw
