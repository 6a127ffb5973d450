#pragma once

#include "TestFiles.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace cw::test {

// One record line of a layout or card file: kind, attributes 0..4, the text in quotes,
// attribute 5 (for a rectangle without a text, attribute 5 goes in the text's place).
std::string RecordLine(int kind, std::array<int32_t, 6> a, const std::string& text = "");

// A card format for drawing tests: its settings record, its page size and fonts, and the
// records of its four layout files.
struct RenderFormat {
    std::string code = "EVERY";
    std::string base = "every";
    std::string extension = "evy";
    std::string name = "Every Kind";
    bool backPage = true;
    int namesMode = 0;
    int tint = 0;      // catalogue column 14
    int baseBlack = 0; // column 11
    std::string viewScale = "1";
    int printWidth = 0; // millimetres (column 21 and the layout's setting)
    int printHeight = 0;
    int frontMargin = 0;
    int backMargin = 0;
    int width = 7200; // natural page size, twips
    int height = 7200;
    int checkStyle = 0;
    std::string fieldFont = "Arial";
    int fieldSize = 10;
    std::string baseFont = "Arial";
    int baseSize = 8;
    int32_t baseTextColour = 0;         // the base text's colour on screen
    int32_t basePrintColour = 0x800000; // and on paper (front and back)
    std::vector<std::string> frontBase, backBase, frontTemplate, backTemplate;
};

// Writes cwr.sys listing the formats (the first is the default), their layout files, card
// folders and the suit font.
void MakeRenderRoot(const fs::path& root, const std::vector<RenderFormat>& formats);

// Writes a card page of format: header lines 0..4 from names, then the records.
void WriteCardPage(const fs::path& root, const RenderFormat& format, const std::string& card,
                   bool back, const std::vector<std::string>& records,
                   const std::array<std::string, 5>& names = {});

// A small picture in the pictures folder, of one colour given as 0xRRGGBB.
void WritePicture(const fs::path& root, const std::string& name, uint32_t rgb);

// A format whose front base layer holds every base-layer kind, and a card front with every
// card kind (erasing the base text "Hidden by an erased area").
RenderFormat EveryKindFormat();
std::vector<std::string> EveryKindCard();

// A data root with EveryKindFormat (two pages) and a one-page copy of it (SINGLE, "sgl"),
// and the green base picture and blue card picture they show. Returns the two formats.
std::pair<RenderFormat, RenderFormat> MakeEveryKindRoot(const fs::path& root);

} // namespace cw::test
