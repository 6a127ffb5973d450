#pragma once

#include "CardPage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace cw {

// One field whose filled-in value differs between my card and my partner's.
struct FieldDifference {
    bool backPage = false;
    int kind = 0;
    int mine = -1;       // record index on my page; -1 when only the partner's card has the field
    int theirs = -1;     // record index on the partner's page; -1 when only mine has it
    std::string myValue; // as the card file holds it (texts) or in words (marks)
    std::string theirValue;
    int32_t left = 0, top = 0, width = 0, height = 0; // where the field is, in card twips

    bool operator==(const FieldDifference&) const = default;
};

// Compares the values a player fills in on two pages of the same format: texts (without their
// font prefix), check boxes, ticks, circles and circled items, frame boxes, colour dots and
// option boxes. The layout (positions, fonts, colours) is not compared, and neither are the
// names and player numbers, which partners' cards hold the other way round. Fields are paired
// by kind and position, so a field added to one card alone is reported on its own.
class CardComparison {
public:
    // The value of a field the card does not have.
    static constexpr const char* NotOnCard = "(not on this card)";

    // The differences of one page, in the order the fields lie on the page (top to bottom,
    // left to right). nameFields: how many of the front page's first text fields hold
    // names and player numbers.
    static std::vector<FieldDifference> ComparePages(const CardPage& mine, const CardPage& theirs,
                                                     bool backPage, int nameFields);

    // Copies the partner's value of a difference onto mine (a text keeps my font prefix).
    // False when the field is not on both cards.
    static bool TakeValue(CardPage& mine, const CardPage& theirs,
                          const FieldDifference& difference);

    // The kinds compared, and a word for each ("text", "check box", ...).
    static bool IsCompared(int kind);
    static std::string KindName(int kind);
    // The value of a record in words (texts as they are, without their font prefix).
    static std::string ValueOf(int kind, const CardField& field);

    // How a difference names its field: the kind and its number on the page, counted from 1
    // ("text 12", "check box 3").
    static std::string FieldName(const FieldDifference& difference);
    // A value as a list shows it: texts in double quotes on one line (" / " for a line
    // break), marks in words.
    static std::string ShownValue(int kind, const std::string& value);
};

} // namespace cw
