#include "CardFile.h"

#include "HeaderLines.h"
#include "LineReader.h"
#include "RecordItems.h"
#include "RuntimeError.h"

#include <algorithm>

namespace cw {

namespace {

constexpr int kItemsPerRecord = 8;

std::string TrimBlanks(const std::string& text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

bool KeepsAttribute5(int kind) {
    switch (kind) {
    case TextField:
    case CheckBox:
    case Circle:
    case LabelBox:
    case Kind8:
    case Kind9:
    case Line:
    case ColourDot:
    case Kind17:
    case Kind21:
    case Kind22:
    case CircledItem:
        return true;
    default:
        return false;
    }
}

} // namespace

bool CardFile::ReadRecordLine(CardPage& page, const std::string& line) {
    auto items = SplitRecord(line);
    if (!items || items->size() != size_t(kItemsPerRecord))
        return false;
    std::array<int32_t, 8> numbers{};
    for (int i : {0, 1, 2, 3, 4, 5, 7}) {
        auto value = ItemToInt32((*items)[size_t(i)]);
        if (!value)
            return false;
        numbers[size_t(i)] = *value;
    }
    if (numbers[0] < -32768 || numbers[0] > 32767)
        return false;
    int kind = numbers[0];
    const RecordItem& textItem = (*items)[6];
    if (!IsCardKind(kind))
        return true;

    const KindInfo& info = InfoOfKind(kind);
    CardField field;
    for (int i = 0; i < std::min(info.attributeCount, 5); ++i)
        field.a[size_t(i)] = numbers[size_t(i + 1)];
    if (kind == Rectangle) {
        auto colour = ItemToInt32(textItem);
        if (!colour)
            return false;
        field.a[5] = *colour;
    } else if (KeepsAttribute5(kind)) {
        field.a[5] = numbers[7];
    }
    if (info.hasText)
        field.text = textItem.text;
    if (kind == ColourDot && field.a[3] == 6)
        field.a[3] = 5;
    if (kind == Circle)
        page.UseAltBaseLayer = true;
    else if (kind == CircledItem)
        page.UseAltBaseLayer = false;
    page.Add(kind, std::move(field));
    return true;
}

void CardFile::LoadCard(CardPage& page, const CardLocation& location, const LoadOptions& options) {
    page.ClearCard();
    page.UseAltBaseLayer = false;
    fs::path path = location.PagePath();
    if (options.backSide && options.backTemplate && !ExistsAnyCase(path)) {
        std::error_code ec;
        auto source = ResolveExisting(*options.backTemplate);
        if (!source || !fs::copy_file(*source, path, ec))
            throw RuntimeError(RuntimeError::FileNotFound, "Cannot create the back page from " +
                                                               options.backTemplate->string());
    }
    ParsePage(page, ReadExistingFile(path), options.backSide);
}

void CardFile::ParsePage(CardPage& page, const std::string& bytes, bool backSide) {
    page.ClearCard();
    page.UseAltBaseLayer = false;
    LineReader reader(bytes);
    HeaderLines comments;
    page.CardHeader[0] = comments.Read(reader);
    page.CardHeader[1] = reader.ReadLine();
    std::string cardNotes = TrimBlanks(page.CardHeader[2]);
    for (int i = 2; i <= 5; ++i)
        page.CardHeader[size_t(i)] = reader.ReadLine();
    if (backSide)
        page.CardHeader[2] = cardNotes;
    for (int i = 6; i < HeaderLineCount; ++i)
        reader.ReadLine();
    while (!reader.AtEnd())
        if (!ReadRecordLine(page, ReadRecord(reader)))
            break;
}

std::string CardFile::ReadRecord(LineReader& reader) {
    // A text typed into a multi-line field keeps its line breaks, so a string that is still
    // open at the end of a line goes on in the next one.
    std::string record = reader.ReadLine();
    while (std::count(record.begin(), record.end(), '"') % 2 == 1 && !reader.AtEnd())
        record += "\r\n" + reader.ReadLine();
    return record;
}

std::string CardFile::FormatRecord(int kind, const CardField& field) {
    const auto& a = field.a;
    auto n = [](int32_t value) {
        return std::to_string(value);
    };
    std::string items = n(kind) + ",";
    switch (kind) {
    case ClearedArea:
    case TickMark:
        items += n(a[0]) + "," + n(a[1]) + "," + n(a[2]) + "," + n(a[3]) + ",0,\"\",0";
        break;
    case Kind20:
        items += n(a[0]) + "," + n(a[1]) + "," + n(a[2]) + ",0,0,\"\",0";
        break;
    case FrameBox:
    case OptionField:
        items +=
            n(a[0]) + "," + n(a[1]) + "," + n(a[2]) + "," + n(a[3]) + "," + n(a[4]) + ",\"\",0";
        break;
    case Bitmap:
        items += n(a[0]) + "," + n(a[1]) + "," + n(a[2]) + "," + n(a[3]) + "," + n(a[4]) + "," +
                 QuoteItem(field.text) + ",0";
        break;
    case Rectangle:
        items += n(a[0]) + "," + n(a[1]) + "," + n(a[2]) + "," + n(a[3]) + "," + n(a[4]) + "," +
                 n(a[5]) + ",0";
        break;
    case CheckBox:
    case Circle:
    case Line:
    case ColourDot:
        items += n(a[0]) + "," + n(a[1]) + "," + n(a[2]) + "," + n(a[3]) + "," + n(a[4]) +
                 ",\"\"," + n(a[5]);
        break;
    default: // kinds with a text: 2, 7, 8, 9, 17, 22, 24
        items += n(a[0]) + "," + n(a[1]) + "," + n(a[2]) + "," + n(a[3]) + "," + n(a[4]) + "," +
                 QuoteItem(field.text) + "," + n(a[5]);
        break;
    }
    return items;
}

void CardFile::QuotesOutOfTexts(CardPage& page) {
    for (int kind : kKindWriteOrder) {
        if (!InfoOfKind(kind).hasText)
            continue;
        for (int i = 0; i < page.Count(kind); ++i) {
            std::string& text = page.Field(kind, i).text;
            if (text.find('"') == std::string::npos)
                continue;
            if (kind == Kind8) {
                std::replace(text.begin(), text.end(), '"', '\'');
                continue;
            }
            std::string mended;
            for (char c : text)
                mended += c == '"' ? std::string("''") : std::string(1, c);
            text = std::move(mended);
        }
    }
}

std::string CardFile::FormatRecords(const CardPage& page) {
    std::string out;
    for (int kind : kKindWriteOrder)
        for (const CardField& field : page.Fields(kind))
            AppendLine(out, FormatRecord(kind, field));
    return out;
}

void CardFile::SaveCard(CardPage& page, const CardLocation& location, const std::string& appVersion,
                        FileSystem& fileSystem) {
    fs::path path = ResolveExisting(location.PagePath()).value_or(location.PagePath());
    LineReader reader(ReadFileBytes(path));
    HeaderLines comments;
    std::string line = comments.Read(reader);
    std::string out;
    comments.Write(out);
    for (int i = 0; i < HeaderLineCount; ++i) {
        if (i < 5)
            AppendLine(out, page.CardHeader[size_t(i)]);
        else if (i == 16)
            AppendLine(out, appVersion);
        else
            AppendLine(out, line);
        if (i < HeaderLineCount - 1)
            line = reader.ReadLine();
    }
    QuotesOutOfTexts(page);
    out += FormatRecords(page);
    AtomicReplace(fileSystem, path, out, location.ScratchPath());
}

} // namespace cw
