#pragma once

#include "FileOps.h"
#include "FormatCatalogue.h"
#include "RecordItems.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace cw {

// The per-format defaults: the 48 values of the format's defaults file in the datasys folder
// and the settings they are distributed to. One font block (front or back page, card fields
// or printed base text) is in force at a time.
class FormatDefaults {
public:
    static constexpr int ValueCount = 48;

    std::array<RecordItem, ValueCount + 1> DefaultsValues{};

    int32_t CheckBoxStyle = 0;
    double PrintWidthSetting = 0;
    double PrintHeightSetting = 0;
    int32_t PrintFlags = 0;
    double FrontMarginSetting = 0;
    double BackMarginSetting = 0;
    // The card's natural width and height in twips (values 6 and 7).
    double NaturalWidth = 0;
    double NaturalHeight = 0;
    int32_t BaseTextPrintColourFront = 0;
    int32_t BaseTextPrintColourBack = 0;
    int16_t SavedZoom = 0;
    double TextAlignSetting = 0;

    // The font block in force.
    int32_t BaseTextColour = 0;
    float BasicFontSize = 10;
    std::string BasicFont = "Arial";
    bool BasicFontBold = false;
    bool BasicFontItalic = false;

    // Index of the first value of the font block for a side and layer.
    static int FontBlockStart(bool backSide, bool drawingBaseText) {
        return 16 + (backSide ? 16 : 0) + (drawingBaseText ? 8 : 0);
    }

    // Distributes DefaultsValues to the settings above (the font block of the given side and
    // layer).
    void Apply(bool backSide, bool drawingBaseText);
    // Copies the settings back into DefaultsValues (the font block of side and layer only).
    void CollectInto(bool backSide, bool drawingBaseText);
};

// The defaults file could not be read: its values were made again from the layout files.
struct DefaultsRebuilt {
    fs::path file;
    std::string reason; // why it could not be read
    fs::path keptAs;    // where the old file is kept; empty when it was left in place
};

// The files behind the defaults: reading, creating from the layout files, and saving.
class FormatDefaultsFile {
public:
    FormatDefaultsFile(fs::path programFolder, fs::path dataSysDir, FileSystem& fileSystem);

    fs::path PathFor(const FormatCatalogue& catalogue, int slot) const;

    // Reads the defaults of slot and applies them. A missing file, or one whose front
    // base-text font is empty, is made from the layout files. A file that cannot be read
    // (too short, unreadable) is moved aside as NAME.dat.bad and made anew; the result says
    // so. With writeFiles false nothing on disk changes: the values made from the layout
    // files are used for this run only. Raises RuntimeError when the layout files cannot be
    // read either, leaving defaults unchanged.
    std::optional<DefaultsRebuilt> Load(const FormatCatalogue& catalogue, int slot,
                                        FormatDefaults& defaults, bool backSide,
                                        bool drawingBaseText, bool writeFiles = true) const;

    // Writes the file anew from the layout files of slot.
    void Create(const FormatCatalogue& catalogue, int slot) const;
    // The bytes of a defaults file made from the layout files of slot.
    std::string BuildFromLayouts(const FormatCatalogue& catalogue, int slot) const;

    // Rewrites the file from defaults.DefaultsValues through a scratch file, then applies.
    void Save(const FormatCatalogue& catalogue, int slot, FormatDefaults& defaults, bool backSide,
              bool drawingBaseText) const;

    // Header values 0..29 of a layout file (header lines 1..30), read after its comment
    // lines and header line 0.
    std::array<RecordItem, 30> ReadLayoutHeader(const std::string& relativePath) const;

private:
    void Write(const FormatCatalogue& catalogue, int slot, const std::string& bytes) const;

    fs::path programFolder_;
    fs::path dataSysDir_;
    FileSystem& fileSystem_;
};

bool ItemToBool(const RecordItem& item);

// Whether value index of a defaults file is the font name of a font block.
bool IsFontNameValue(int index);

// The 48 values of a defaults file's bytes; fewer raise an input-past-end RuntimeError.
std::array<RecordItem, FormatDefaults::ValueCount + 1>
ParseDefaultsValues(const std::string& bytes);

} // namespace cw
