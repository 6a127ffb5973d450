#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace cw {

// Field kinds of a card page.
enum FieldKind : int {
    ClearedArea = 1,
    TextField = 2,
    CheckBox = 3,
    Circle = 4,
    FrameBox = 5,
    Rectangle = 6,
    LabelBox = 7,
    FixedText = 8,   // text drawn like a text field's, not filled in
    RotatedText = 9, // text turned by an angle
    Line = 12,
    Bitmap = 15,
    ColourDot = 16,
    LayoutText = 17, // text drawn like a text field's, as kind 8
    TickMark = 18,
    PlainCircle = 20,     // a circle in the current colour
    PrintDateFooter = 21, // on paper only: the date the card is printed
    PrintOnlyText = 22,   // on paper only: text drawn like a text field's
    OptionField = 23,
    CircledItem = 24,
};

// One field record: up to six attributes and, for some kinds, a text (the file's bytes).
struct CardField {
    std::array<int32_t, 6> a{};
    std::string text;

    bool operator==(const CardField&) const = default;
};

// What a kind keeps, how many records it holds, and how it is written.
struct KindInfo {
    int capacity = 0; // 0: not a card kind
    int attributeCount = 0;
    bool hasText = false;
};

const KindInfo& InfoOfKind(int kind);
bool IsCardKind(int kind);

// The kinds in the order a page file lists them.
inline constexpr std::array<int, 18> kKindWriteOrder = {15, 7,  2,  3,  1,  4,  5,  6, 8,
                                                        12, 16, 17, 22, 18, 20, 23, 9, 24};

// The page of a card that is open: one fixed-capacity table per field kind, the header lines
// that belong to the card, and the flag that asks for the alternative base layer.
class CardPage {
public:
    static constexpr int KindSlots = 25;

    CardPage();

    // All counts to 0 and attributes 2 and 3 of the kind-21 record to 0.
    void ClearCard();

    int Count(int kind) const { return int(tables_.at(size_t(kind)).size()); }
    const CardField& Field(int kind, int index) const;
    CardField& Field(int kind, int index);
    const std::vector<CardField>& Fields(int kind) const { return tables_.at(size_t(kind)); }

    // Appends a record; a table that is full raises a subscript run-time error. Kind 21 always
    // fills its single record and changes no count.
    CardField& Add(int kind, CardField field);
    void Remove(int kind, int index);
    // Puts a whole table back as it was (undo); more records than the kind holds raise a
    // subscript run-time error and change nothing.
    void ReplaceFields(int kind, std::vector<CardField> fields);

    // Whether other holds the same records, header lines and base-layer choice (how the page
    // was read does not count).
    bool SameContent(const CardPage& other) const;

    CardField& FooterRecord() { return footer_; }
    const CardField& FooterRecord() const { return footer_; }

    // Header lines 0..5 of the page (names and player numbers in 0, 1, 3, 4; the notes file
    // in 2); index 6 is spare.
    std::array<std::string, 7> CardHeader{};
    bool UseAltBaseLayer = false;
    // The page file could not be read completely: its original is kept as NAME.EXT.bak
    // before the first save over it.
    bool ReadIncompletely = false;

private:
    std::array<std::vector<CardField>, KindSlots> tables_;
    CardField footer_;
};

} // namespace cw
