#pragma once

#include <string>

namespace cw {

// A field text may name its own font in a prefix: "#<" name ">#" text.

// The prefix through ">#"; empty when the text does not start with "#<" or has no ">#".
std::string GetFontPrefix(const std::string& text);

// The text after ">#"; the text unchanged without "#<"; empty with "#<" but no ">#".
std::string StripFontPrefix(const std::string& text);

} // namespace cw
