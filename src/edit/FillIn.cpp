#include "FillIn.h"

#include "FieldRecords.h"

#include <algorithm>
#include <cstdlib>

namespace cw {

namespace {

bool Inside(int32_t value, int32_t low, int32_t high) {
    return value >= low && value <= high;
}

bool InBox(const CardField& field, int32_t x, int32_t y) {
    const records::Boxed box(field.a);
    return Inside(x, box.x(), box.x() + box.width()) && Inside(y, box.y(), box.y() + box.height());
}

template <class Test> int FirstHit(const CardPage& page, int kind, Test test) {
    const auto& fields = page.Fields(kind);
    for (size_t i = 0; i < fields.size(); ++i)
        if (test(fields[i]))
            return int(i);
    return -1;
}

// Colour dots cycle through these fills, chosen by the state before the step.
constexpr int32_t kDotColours[] = {0x00FF00, 0xFF0000, 0x0000FF, 0x00FFFF, 0x004080, 0xFFFFFF};

constexpr int32_t kBold = 16;
constexpr int32_t kItalic = 32;
constexpr int32_t kDefaultFontStyle = 64;

} // namespace

int FindTextFieldAt(const CardPage& page, int32_t x, int32_t y) {
    return FirstHit(page, TextField, [&](const CardField& f) { return InBox(f, x, y); });
}

int FindCircleAt(const CardPage& page, int32_t x, int32_t y) {
    return FirstHit(page, Circle, [&](const CardField& f) {
        const CircleRecord c(f.a);
        return std::abs(x - c.x()) <= c.radius() && std::abs(y - c.y()) <= c.radius();
    });
}

int FindMarkAt(const CardPage& page, int32_t x, int32_t y, const HitMetrics& metrics) {
    return FirstHit(page, CircledItem, [&](const CardField& f) {
        const CircledItemRecord item(f.a);
        return Inside(x, item.x() - 15, item.x() + metrics.letterWidth) &&
               Inside(y, item.y(), item.y() + metrics.letterHeight);
    });
}

std::optional<FieldHit> HitTestFillIn(const CardPage& page, int32_t x, int32_t y,
                                      const HitMetrics& metrics) {
    if (int i = FindTextFieldAt(page, x, y); i >= 0)
        return FieldHit{TextField, i};
    if (int i = FirstHit(page, CheckBox,
                         [&](const CardField& f) {
                             const CheckBoxRecord box(f.a);
                             return Inside(x, box.x(), box.x() + box.side() - 1) &&
                                    Inside(y, box.y(), box.y() + box.side() - 1);
                         });
        i >= 0)
        return FieldHit{CheckBox, i};
    if (int i = FindCircleAt(page, x, y); i >= 0)
        return FieldHit{Circle, i};
    if (int i = FindMarkAt(page, x, y, metrics); i >= 0)
        return FieldHit{CircledItem, i};
    if (int i = FirstHit(page, FrameBox, [&](const CardField& f) { return InBox(f, x, y); });
        i >= 0)
        return FieldHit{FrameBox, i};
    if (int i = FirstHit(page, ColourDot,
                         [&](const CardField& f) {
                             const ColourDotRecord dot(f.a);
                             return Inside(x, dot.x() - dot.radius(), dot.x() + dot.radius()) &&
                                    Inside(y, dot.y() - dot.radius(), dot.y() + dot.radius());
                         });
        i >= 0)
        return FieldHit{ColourDot, i};
    int32_t reach = 10 * metrics.twipsPerPixel;
    if (int i = FirstHit(page, TickMark,
                         [&](const CardField& f) {
                             const TickMarkRecord tick(f.a);
                             return Inside(x, tick.x() - reach, tick.x() + reach) &&
                                    Inside(y, tick.y() - reach, tick.y() + reach);
                         });
        i >= 0)
        return FieldHit{TickMark, i};
    if (int i = FirstHit(page, OptionField, [&](const CardField& f) { return InBox(f, x, y); });
        i >= 0)
        return FieldHit{OptionField, i};
    return std::nullopt;
}

std::optional<int32_t> AdvanceMark(CardPage& page, const FieldHit& hit) {
    CardField& field = page.Field(hit.kind, hit.index);
    switch (hit.kind) {
    case CheckBox: {
        MutableCheckBoxRecord box(field.a);
        box.tickState() = box.tickState() == 0 ? 1 : 0;
        break;
    }
    case Circle: {
        MutableCircleRecord circle(field.a);
        circle.look() = (circle.look() + 1) % 4;
        break;
    }
    case FrameBox: {
        MutableFrameBoxRecord frame(field.a);
        frame.look() = (frame.look() + 1) % 3;
        break;
    }
    case TickMark:
        MutableTickMarkRecord(field.a).shownState() ^= 1;
        break;
    case CircledItem: { // plain, circled, underlined, both
        MutableCircledItemRecord item(field.a);
        item.look() = (item.look() + 1) & 3;
        break;
    }
    case ColourDot: {
        int32_t& state = MutableColourDotRecord(field.a).state();
        if ((state & 16) == 0) {
            int32_t colour = kDotColours[std::clamp(state, 0, 5)];
            state = (state + 1) % 6;
            return colour;
        }
        if (state != 16) {
            state = 16;
            return 0xFFFFFF;
        }
        state = 17;
        return 0x0000FF;
    }
    default:
        break;
    }
    return std::nullopt;
}

CommittedText CommitEditorText(const std::string& oldText, const std::string& editorText) {
    std::string s = editorText;
    while (!s.empty() && s.back() == '\t')
        s.pop_back();
    size_t lead = s.find_first_not_of('\t');
    s = lead == std::string::npos ? std::string() : s.substr(lead);
    while (s.size() >= 2 && s.compare(s.size() - 2, 2, "\r\n") == 0)
        s.resize(s.size() - 2);
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    CommittedText result;
    result.text = GetFontPrefix(oldText) + s;
    result.changed = result.text != oldText;
    std::string quoted;
    for (char c : result.text) {
        if (c == '"')
            quoted += "''";
        else
            quoted += c;
    }
    result.text = std::move(quoted);
    return result;
}

int FollowTextField(const std::vector<CardField>& before, const std::vector<CardField>& after,
                    int index) {
    if (index < 0 || size_t(index) >= before.size())
        return -1;
    const CardField& field = before[size_t(index)];
    if (size_t(index) < after.size() && after[size_t(index)] == field)
        return index;
    // The same record elsewhere: the nearest one, should two be alike.
    int found = -1;
    for (size_t i = 0; i < after.size(); ++i)
        if (after[i] == field && (found < 0 || std::abs(int(i) - index) < std::abs(found - index)))
            found = int(i);
    if (found >= 0)
        return found;
    // The field itself changed (its typing or its place was undone): it kept its index
    // unless fields came or went.
    return before.size() == after.size() ? index : -1;
}

int OptionChoiceOfKey(char key) {
    switch (key) {
    case 'u':
    case 'U':
    case '0':
        return 0;
    case 'n':
    case 'N':
    case '1':
        return 1;
    case 's':
    case 'S':
    case '2':
        return 2;
    case 'b':
    case 'B':
    case '3':
        return 3;
    default:
        return -1;
    }
}

int NextTextFieldIndex(int current, int count, bool forward) {
    int next = current + (forward ? 1 : -1);
    if (next < 0)
        next = count > 0 ? count - 1 : 0;
    if (next >= count)
        next = 0;
    return next;
}

int InsertSuitMarkup(std::string& text, int caret, char suitLetter) {
    caret = std::clamp(caret, 0, int(text.size()));
    text.insert(size_t(caret), std::string{'<', suitLetter, '>'});
    return caret + 3;
}

bool ApplyEditorCtrlKey(CardField& field, char key, int32_t twipsPerPixel, bool editorBold) {
    MutableTextRecord text(field.a);
    int32_t& style = text.style();
    auto align = [&](int32_t code) {
        int32_t current = style & 7;
        style = (style & ~7) | (current >= 3 && current <= 5 ? code + 3 : code);
    };
    switch (key) {
    case 'L':
        align(0);
        break;
    case 'R':
        align(1);
        break;
    case 'M':
        align(2);
        break;
    case 'U':
        text.y() -= twipsPerPixel;
        break;
    case 'D':
        text.y() += twipsPerPixel;
        break;
    case '[':
    case 'I':
        text.x() -= twipsPerPixel;
        break;
    case ']':
    case 'O':
        text.x() += twipsPerPixel;
        break;
    case 'B':
        if (editorBold)
            style &= ~(kBold | kDefaultFontStyle);
        else
            style = (style & ~kDefaultFontStyle) | kBold;
        break;
    default:
        return false;
    }
    return true;
}

EditorStyle EditorStyleFor(const CardField& field, bool defaultBold, bool defaultItalic) {
    EditorStyle style;
    const TextRecord text(field.a);
    int32_t word = text.style();
    style.editorIndex = word & 7;
    if (style.editorIndex > 5)
        style.editorIndex = 0;
    style.multiLine = style.editorIndex >= 3;
    if (word & kDefaultFontStyle) {
        style.bold = defaultBold;
        style.italic = defaultItalic;
    } else {
        style.bold = (word & kBold) != 0;
        style.italic = (word & kItalic) != 0;
    }
    style.height = text.height() == 240 ? 0 : text.height();
    return style;
}

} // namespace cw
