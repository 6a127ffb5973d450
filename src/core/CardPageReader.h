#pragma once

#include "CardFile.h"
#include "CardPage.h"

#include <optional>
#include <string>

namespace cw {

// Reads a page of a card without making it the open page and without creating anything: a
// missing back page reads as the blank template when one is given, otherwise as nothing.
// An unreadable file raises RuntimeError.
std::optional<CardPage> ReadCardPage(const CardLocation& location, bool backSide,
                                     const std::optional<fs::path>& backTemplate);

// The card's name of a page's base name (the back page's "_" taken off).
std::string CardNameOfPage(const std::string& pageName, bool backSide);

} // namespace cw
