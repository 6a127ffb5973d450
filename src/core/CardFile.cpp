#include "CardFile.h"

#include "HeaderLines.h"
#include "LineReader.h"
#include "PlainText.h"
#include "RecordItems.h"
#include "RuntimeError.h"

#include <algorithm>

namespace cw {

namespace {

constexpr int kItemsPerRecord = 8;

bool KeepsAttribute5(int kind) {
    switch (kind) {
    case TextField:
    case CheckBox:
    case Circle:
    case LabelBox:
    case FixedText:
    case RotatedText:
    case Line:
    case ColourDot:
    case LayoutText:
    case PrintDateFooter:
    case PrintOnlyText:
    case CircledItem:
        return true;
    default:
        return false;
    }
}

} // namespace

namespace {

enum class RecordRead { Read, Malformed, TableFull };

// The kinds' names in the messages about a page that was not read completely.
std::string KindCount(int kind, int count) {
    const char* singular = nullptr;
    const char* plural = nullptr;
    switch (kind) {
    case ClearedArea:
        singular = "cleared area", plural = "cleared areas";
        break;
    case TextField:
        singular = "text field", plural = "text fields";
        break;
    case CheckBox:
        singular = "check box", plural = "check boxes";
        break;
    case Circle:
        singular = "circle", plural = "circles";
        break;
    case FrameBox:
        singular = "frame box", plural = "frame boxes";
        break;
    case Rectangle:
        singular = "rectangle", plural = "rectangles";
        break;
    case LabelBox:
        singular = "label box", plural = "label boxes";
        break;
    case Line:
        singular = "line", plural = "lines";
        break;
    case Bitmap:
        singular = "picture", plural = "pictures";
        break;
    case ColourDot:
        singular = "colour dot", plural = "colour dots";
        break;
    case TickMark:
        singular = "tick mark", plural = "tick marks";
        break;
    case OptionField:
        singular = "option field", plural = "option fields";
        break;
    case CircledItem:
        singular = "circled item", plural = "circled items";
        break;
    default:
        return std::to_string(count) + (count == 1 ? " record" : " records") + " of kind " +
               std::to_string(kind);
    }
    return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

bool StringIsOpen(const std::string& record) {
    return std::count(record.begin(), record.end(), '"') % 2 == 1;
}

bool IsBlank(const std::string& line) {
    return line.find_first_not_of(" \t") == std::string::npos;
}

// Reads one record into page; the kind of a record whose table is full goes to fullKind.
RecordRead ReadRecordInto(CardPage& page, const std::string& line, int& fullKind) {
    auto items = SplitRecord(line);
    if (!items || items->size() != size_t(kItemsPerRecord))
        return RecordRead::Malformed;
    std::array<int32_t, 8> numbers{};
    for (int i : {0, 1, 2, 3, 4, 5, 7}) {
        auto value = ItemToInt32((*items)[size_t(i)]);
        if (!value)
            return RecordRead::Malformed;
        numbers[size_t(i)] = *value;
    }
    if (numbers[0] < -32768 || numbers[0] > 32767)
        return RecordRead::Malformed;
    int kind = numbers[0];
    const RecordItem& textItem = (*items)[6];
    if (!IsCardKind(kind))
        return RecordRead::Read; // not a kind of a card page: skipped

    const KindInfo& info = InfoOfKind(kind);
    CardField field;
    for (int i = 0; i < std::min(info.attributeCount, 5); ++i)
        field.a[size_t(i)] = numbers[size_t(i + 1)];
    if (kind == Rectangle) {
        auto colour = ItemToInt32(textItem);
        if (!colour)
            return RecordRead::Malformed;
        field.a[5] = *colour;
    } else if (KeepsAttribute5(kind)) {
        field.a[5] = numbers[7];
    }
    if (info.hasText)
        field.text = textItem.text;
    if (kind == ColourDot && field.a[3] == 6)
        field.a[3] = 5;
    if (kind != PrintDateFooter && page.Count(kind) >= info.capacity) {
        fullKind = kind;
        return RecordRead::TableFull;
    }
    if (kind == Circle)
        page.UseAltBaseLayer = true;
    else if (kind == CircledItem)
        page.UseAltBaseLayer = false;
    page.Add(kind, std::move(field));
    return RecordRead::Read;
}

} // namespace

LoadReport CardFile::LoadCard(CardPage& page, const CardLocation& location,
                              const LoadOptions& options) {
    page.ClearCard();
    page.UseAltBaseLayer = false;
    fs::path path = location.PagePath();
    if (options.backSide && options.backTemplate && !ExistsAnyCase(path)) {
        if (!ExistsAnyCase(*options.backTemplate))
            throw RuntimeError(RuntimeError::FileNotFound, "Cannot create the back page from " +
                                                               options.backTemplate->string());
        if (!options.copyTemplate)
            return ParsePage(page, ReadExistingFile(*options.backTemplate), options.backSide);
        CopyFileOver(options.fileSystem ? *options.fileSystem : FileSystem::Default(),
                     *options.backTemplate, path);
    }
    return ParsePage(page, ReadExistingFile(path), options.backSide);
}

LoadReport CardFile::ParsePage(CardPage& page, const std::string& bytes, bool backSide) {
    page.ClearCard();
    page.UseAltBaseLayer = false;
    LoadReport report;
    LineReader reader(bytes);
    HeaderLines comments;

    // Header lines 0..30; a file that ends among them still gives what it has.
    std::array<std::string, 6> header{};
    int headerLines = 0;
    try {
        header[0] = comments.Read(reader);
        headerLines = 1;
    } catch (const RuntimeError& error) {
        if (error.ErrorNumber() != RuntimeError::InputPastEnd)
            throw;
    }
    while (headerLines > 0 && headerLines < HeaderLineCount && !reader.AtEnd()) {
        std::string line = reader.ReadLine();
        if (headerLines < int(header.size()))
            header[size_t(headerLines)] = std::move(line);
        ++headerLines;
    }
    std::string cardNotes = TrimSpaces(page.CardHeader[2]);
    for (size_t i = 0; i < header.size(); ++i)
        page.CardHeader[i] = header[i];
    if (backSide)
        page.CardHeader[2] = cardNotes;
    if (headerLines == 0)
        report.notRead.push_back("the card's header: the file holds nothing but comment lines");
    else if (headerLines < HeaderLineCount)
        report.notRead.push_back("header lines " + std::to_string(headerLines) +
                                 " to 30: the file ends before them");

    // The records. A text typed into a multi-line field keeps its line breaks, so a string
    // still open at the end of a line goes on in the next one. A record that cannot be read
    // is left out and the next one is read.
    std::vector<std::string> lines;
    while (!reader.AtEnd())
        lines.push_back(reader.ReadLine());
    const int firstLineNumber = comments.Count() + HeaderLineCount + 1;
    std::vector<int> malformed;
    std::array<int, CardPage::KindSlots> beyondCapacity{};
    // A string opened in line i closes in the next line with an odd number of quotes. Found
    // once for all lines, so that a file of garbage is read in one pass, not line by line
    // to its end again and again.
    constexpr size_t kNone = std::string::npos;
    std::vector<size_t> nextOpen(lines.size() + 1, kNone);
    for (size_t i = lines.size(); i-- > 0;)
        nextOpen[i] = StringIsOpen(lines[i]) ? i : nextOpen[i + 1];
    for (size_t i = 0; i < lines.size();) {
        if (IsBlank(lines[i])) {
            ++i;
            continue;
        }
        std::string record = lines[i];
        size_t last = i;
        if (nextOpen[i] == i) {
            last = nextOpen[i + 1] == kNone ? lines.size() - 1 : nextOpen[i + 1];
            for (size_t k = i + 1; k <= last; ++k)
                record += "\r\n" + lines[k];
        }
        int fullKind = 0;
        RecordRead result = ReadRecordInto(page, record, fullKind);
        if (result == RecordRead::Malformed) {
            // A stray double quote must not take the records after it along.
            malformed.push_back(firstLineNumber + int(i));
            last = i;
        } else if (result == RecordRead::TableFull) {
            ++beyondCapacity[size_t(fullKind)];
        }
        i = last + 1;
    }
    constexpr size_t kLinesNamed = 5;
    for (size_t i = 0; i < malformed.size() && i < kLinesNamed; ++i)
        report.notRead.push_back("line " + std::to_string(malformed[i]) + ": not a field record");
    if (malformed.size() > kLinesNamed)
        report.notRead.push_back(std::to_string(malformed.size() - kLinesNamed) +
                                 " more lines that are not field records");
    for (int kind : kKindWriteOrder)
        if (int count = beyondCapacity[size_t(kind)]; count > 0)
            report.notRead.push_back(KindCount(kind, count) + " beyond the " +
                                     std::to_string(InfoOfKind(kind).capacity) +
                                     " a card page can hold");
    page.ReadIncompletely = !report.Complete();
    return report;
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
    case PlainCircle:
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
            if (kind == FixedText) {
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

std::string CardFile::ComposePage(CardPage& page, const std::string& original,
                                  const std::string& appVersion) {
    LineReader reader(original);
    HeaderLines comments;
    std::string line;
    try {
        line = comments.Read(reader);
    } catch (const RuntimeError& error) {
        if (!page.ReadIncompletely || error.ErrorNumber() != RuntimeError::InputPastEnd)
            throw;
    }
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
            line = page.ReadIncompletely && reader.AtEnd() ? std::string() : reader.ReadLine();
    }
    QuotesOutOfTexts(page);
    out += FormatRecords(page);
    return out;
}

void CardFile::SaveCard(CardPage& page, const CardLocation& location, const std::string& appVersion,
                        FileSystem& fileSystem) {
    fs::path path = ResolveExisting(location.PagePath()).value_or(location.PagePath());
    fs::path scratch = path.parent_path() / "temp";
    const std::string original = ReadFileBytes(path);
    std::string out = ComposePage(page, original, appVersion);
    // What could not be read would be lost by this save: the original goes aside first.
    if (page.ReadIncompletely)
        AtomicReplace(fileSystem, path.string() + ".bak", original, scratch);
    AtomicReplace(fileSystem, path, out, scratch);
    page.ReadIncompletely = false;
}

} // namespace cw
