#include "CardComparison.h"

#include "FieldRecords.h"
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

// The value a player changes by filling in, per kind.
int32_t FilledInValue(int kind, const RecordSlots& a) {
    switch (kind) {
    case CheckBox:
        return CheckBoxRecord(a).tickState();
    case FrameBox:
        return FrameBoxRecord(a).look();
    case OptionField:
        return OptionFieldRecord(a).state();
    case TickMark:
        return TickMarkRecord(a).shownState();
    case Circle:
        return CircleRecord(a).look();
    case CircledItem:
        return CircledItemRecord(a).look();
    default: // colour dots
        return ColourDotRecord(a).state();
    }
}

int32_t& FilledInValue(int kind, RecordSlots& a) {
    switch (kind) {
    case CheckBox:
        return MutableCheckBoxRecord(a).tickState();
    case FrameBox:
        return MutableFrameBoxRecord(a).look();
    case OptionField:
        return MutableOptionFieldRecord(a).state();
    case TickMark:
        return MutableTickMarkRecord(a).shownState();
    case Circle:
        return MutableCircleRecord(a).look();
    case CircledItem:
        return MutableCircledItemRecord(a).look();
    default: // colour dots
        return MutableColourDotRecord(a).state();
    }
}

bool IsBlank(int kind, const CardField& field) {
    if (kind == TextField)
        return StripFontPrefix(field.text).empty();
    return FilledInValue(kind, field.a) == 0;
}

void PlaceOf(int kind, const CardField& f, FieldDifference& d) {
    switch (kind) {
    case CheckBox: {
        const CheckBoxRecord box(f.a);
        d.left = box.x(), d.top = box.y(), d.width = box.side(), d.height = box.side();
        break;
    }
    case Circle: {
        const CircleRecord c(f.a);
        d.left = c.x() - c.radius(), d.top = c.y() - c.radius(), d.width = 2 * c.radius(),
        d.height = 2 * c.radius();
        break;
    }
    case ColourDot: {
        const ColourDotRecord dot(f.a);
        d.left = dot.x() - dot.radius(), d.top = dot.y() - dot.radius(), d.width = 2 * dot.radius(),
        d.height = 2 * dot.radius();
        break;
    }
    case TickMark: { // the tick's strokes around its point
        const TickMarkRecord tick(f.a);
        d.left = tick.x() - 30, d.top = tick.y() - 120, d.width = 240, d.height = 240;
        break;
    }
    case CircledItem: { // the label and the ring around it
        const CircledItemRecord item(f.a);
        d.left = item.x() - 30, d.top = item.y(), d.width = 330, d.height = 260;
        break;
    }
    default: { // text fields, frame boxes, option boxes
        const records::Boxed box(f.a);
        d.left = box.x(), d.top = box.y(), d.width = box.width(), d.height = box.height();
        break;
    }
    }
}

using Position = std::pair<int32_t, int32_t>;

// The records of one kind by position, in record order, names left out.
std::map<Position, std::vector<int>> ByPosition(const CardPage& page, int kind, int skipped) {
    std::map<Position, std::vector<int>> records;
    for (int i = skipped; i < page.Count(kind); ++i) {
        const CardField& f = page.Field(kind, i);
        records[{records::Placed(f.a).x(), records::Placed(f.a).y()}].push_back(i);
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
        return CheckBoxRecord(f.a).ticked() ? "ticked" : "not ticked";
    case Circle:
        return StateWord(kRingStates, 4, CircleRecord(f.a).look());
    case CircledItem:
        return "\"" + f.text + "\" " + StateWord(kRingStates, 4, CircledItemRecord(f.a).look());
    case FrameBox:
        return FrameBoxRecord(f.a).look() == 0   ? "empty"
               : FrameBoxRecord(f.a).look() == 1 ? "boxed"
                                                 : "underlined";
    case ColourDot:
        return DotColour(ColourDotRecord(f.a).state());
    case TickMark:
        return TickMarkRecord(f.a).shown() ? "marked" : "not marked";
    case OptionField:
        return StateWord(kOptionChoices, 4, OptionFieldRecord(f.a).state());
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
    FilledInValue(d.kind, target.a) = FilledInValue(d.kind, source.a);
    return true;
}

} // namespace cw
