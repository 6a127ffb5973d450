#include "CardComparison.h"

#include "FontPrefix.h"

#include <algorithm>
#include <map>
#include <utility>

namespace cw {

namespace {

constexpr int kComparedKinds[] = {TextField, CheckBox, Circle,      FrameBox,
                                  ColourDot, TickMark, OptionField, CircledItem};

const char* const kRingStates[] = {"plain", "circled", "underlined", "underlined and circled"};
const char* const kOptionChoices[] = {"Not Used", "NoTrump", "Suit", "Both"};

std::string StateWord(const char* const* words, int count, int32_t state) {
    if (state >= 0 && state < count)
        return words[state];
    return "state " + std::to_string(state);
}

std::string DotColour(int32_t state) {
    switch (state) {
    case 0:
    case 16:
        return "white";
    case 1:
        return "green";
    case 2:
        return "blue";
    case 3:
    case 17:
        return "red";
    case 4:
        return "yellow";
    case 5:
        return "brown";
    default:
        return "state " + std::to_string(state);
    }
}

// The attribute a player changes by filling in, per kind.
int ValueAttribute(int kind) {
    switch (kind) {
    case CheckBox:
    case FrameBox:
    case OptionField:
        return 4;
    case TickMark:
        return 2;
    default: // circles, circled items, colour dots
        return 3;
    }
}

bool IsBlank(int kind, const CardField& field) {
    if (kind == TextField)
        return StripFontPrefix(field.text).empty();
    return field.a[size_t(ValueAttribute(kind))] == 0;
}

void PlaceOf(int kind, const CardField& f, FieldDifference& d) {
    const auto& a = f.a;
    switch (kind) {
    case CheckBox:
        d.left = a[0], d.top = a[1], d.width = a[5], d.height = a[5];
        break;
    case Circle:
        d.left = a[0] - a[4], d.top = a[1] - a[4], d.width = 2 * a[4], d.height = 2 * a[4];
        break;
    case ColourDot:
        d.left = a[0] - a[2], d.top = a[1] - a[2], d.width = 2 * a[2], d.height = 2 * a[2];
        break;
    case TickMark: // the tick's strokes around its point
        d.left = a[0] - 30, d.top = a[1] - 120, d.width = 240, d.height = 240;
        break;
    case CircledItem: // the label and the ring around it
        d.left = a[0] - 30, d.top = a[1], d.width = 330, d.height = 260;
        break;
    default: // text fields, frame boxes, option boxes
        d.left = a[0], d.top = a[1], d.width = a[2], d.height = a[3];
        break;
    }
}

using Position = std::pair<int32_t, int32_t>;

// The records of one kind by position, in record order, names left out.
std::map<Position, std::vector<int>> ByPosition(const CardPage& page, int kind, int skipped) {
    std::map<Position, std::vector<int>> records;
    for (int i = skipped; i < page.Count(kind); ++i) {
        const CardField& f = page.Field(kind, i);
        records[{f.a[0], f.a[1]}].push_back(i);
    }
    return records;
}

} // namespace

bool CardComparison::IsCompared(int kind) {
    return std::find(std::begin(kComparedKinds), std::end(kComparedKinds), kind) !=
           std::end(kComparedKinds);
}

std::string CardComparison::KindName(int kind) {
    switch (kind) {
    case TextField:
        return "text";
    case CheckBox:
        return "check box";
    case Circle:
        return "circle";
    case FrameBox:
        return "box";
    case ColourDot:
        return "dot";
    case TickMark:
        return "tick";
    case OptionField:
        return "option";
    case CircledItem:
        return "circled item";
    default:
        return "kind " + std::to_string(kind);
    }
}

std::string CardComparison::ValueOf(int kind, const CardField& f) {
    switch (kind) {
    case TextField:
        return StripFontPrefix(f.text);
    case CheckBox:
        return f.a[4] != 0 ? "ticked" : "not ticked";
    case Circle:
        return StateWord(kRingStates, 4, f.a[3]);
    case CircledItem:
        return "\"" + f.text + "\" " + StateWord(kRingStates, 4, f.a[3]);
    case FrameBox:
        return f.a[4] == 0 ? "empty" : f.a[4] == 1 ? "boxed" : "underlined";
    case ColourDot:
        return DotColour(f.a[3]);
    case TickMark:
        return f.a[2] == 1 ? "marked" : "not marked";
    case OptionField:
        return StateWord(kOptionChoices, 4, f.a[4]);
    default:
        return {};
    }
}

std::string CardComparison::FieldName(const FieldDifference& d) {
    return KindName(d.kind) + " " + std::to_string((d.mine >= 0 ? d.mine : d.theirs) + 1);
}

std::string CardComparison::ShownValue(int kind, const std::string& value) {
    if (kind != TextField || value == NotOnCard)
        return value;
    std::string shown = "\"";
    for (size_t i = 0; i < value.size(); ++i) {
        if (value.compare(i, 2, "\r\n") == 0) {
            shown += " / ";
            ++i;
        } else {
            shown += value[i];
        }
    }
    return shown + "\"";
}

std::vector<FieldDifference> CardComparison::ComparePages(const CardPage& mine,
                                                          const CardPage& theirs, bool backPage,
                                                          int nameFields) {
    std::vector<FieldDifference> differences;
    const std::string missing = NotOnCard;
    for (int kind : kComparedKinds) {
        const int skipped = kind == TextField && !backPage ? std::max(nameFields, 0) : 0;
        auto myRecords = ByPosition(mine, kind, skipped);
        auto theirRecords = ByPosition(theirs, kind, skipped);
        auto report = [&](int my, int their) {
            const CardField* myField = my >= 0 ? &mine.Field(kind, my) : nullptr;
            const CardField* theirField = their >= 0 ? &theirs.Field(kind, their) : nullptr;
            if (myField && theirField) {
                if (ValueOf(kind, *myField) == ValueOf(kind, *theirField))
                    return;
            } else if (IsBlank(kind, myField ? *myField : *theirField)) {
                return; // a field nobody filled in
            }
            FieldDifference d;
            d.backPage = backPage;
            d.kind = kind;
            d.mine = my;
            d.theirs = their;
            d.myValue = myField ? ValueOf(kind, *myField) : missing;
            d.theirValue = theirField ? ValueOf(kind, *theirField) : missing;
            PlaceOf(kind, myField ? *myField : *theirField, d);
            differences.push_back(std::move(d));
        };
        for (const auto& [position, indexes] : myRecords) {
            auto found = theirRecords.find(position);
            const std::vector<int> none;
            const std::vector<int>& partners = found != theirRecords.end() ? found->second : none;
            for (size_t k = 0; k < indexes.size(); ++k)
                report(indexes[k], k < partners.size() ? partners[k] : -1);
            for (size_t k = indexes.size(); k < partners.size(); ++k)
                report(-1, partners[k]);
        }
        for (const auto& [position, indexes] : theirRecords)
            if (!myRecords.count(position))
                for (int their : indexes)
                    report(-1, their);
    }
    // Reading order: line by line (a line of the card is about 240 twips), left to right.
    auto line = [](const FieldDifference& d) {
        return (d.top + d.height / 2) / 240;
    };
    std::stable_sort(differences.begin(), differences.end(),
                     [&](const FieldDifference& a, const FieldDifference& b) {
                         return std::make_pair(line(a), a.left) < std::make_pair(line(b), b.left);
                     });
    return differences;
}

bool CardComparison::TakeValue(CardPage& mine, const CardPage& theirs, const FieldDifference& d) {
    if (d.mine < 0 || d.theirs < 0 || d.mine >= mine.Count(d.kind) ||
        d.theirs >= theirs.Count(d.kind))
        return false;
    CardField& target = mine.Field(d.kind, d.mine);
    const CardField& source = theirs.Field(d.kind, d.theirs);
    if (d.kind == TextField) {
        target.text = GetFontPrefix(target.text) + StripFontPrefix(source.text);
        return true;
    }
    const size_t attribute = size_t(ValueAttribute(d.kind));
    target.a[attribute] = source.a[attribute];
    return true;
}

} // namespace cw
