#include "FormatMaker.h"

#include "BlankCardPdf.h"
#include "BlankCardPicture.h"
#include "CardFile.h"
#include "FilledForm.h"
#include "FormFields.h"
#include "FormatDefaults.h"
#include "FormatInstall.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <memory>
#include <poppler-qt6.h>

namespace cw {

namespace {

constexpr size_t kMaxCodeLength = 16;
constexpr size_t kMaxBaseLength = 7;
constexpr size_t kMaxExtensionLength = 8;
// The format picture shown beside the card list.
constexpr int kPictureWidth = 160;
constexpr int32_t kTwipsPerPixel = 15;

bool IsLettersAndDigits(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](unsigned char c) { return std::isalnum(c) && c < 128; });
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

std::string LowerExtension(const fs::path& file) {
    return Lower(file.extension().string());
}

long Millimetres(double twips) {
    return std::lround(twips * 25.4 / 1440);
}

// Header line 0 and the 30 header values of a layout page, one per line.
std::string LayoutHeader(int page, double widthTwips, double heightTwips) {
    const bool base = page % 2 == 0;
    std::vector<std::string> values(30, "0");
    values[1] = base ? "0" : "1"; // text colour: black base text, blue user input
    values[4] = "1";              // check-box style
    // The printed card's size is set in millimetres: the blank card's own.
    values[5] = std::to_string(Millimetres(widthTwips));
    values[6] = std::to_string(Millimetres(heightTwips));
    values[7] = "9";
    values[8] = "\"Arial\"";
    values[13] = std::to_string(std::lround(widthTwips));
    values[14] = std::to_string(std::lround(heightTwips));
    std::string out =
        "| Made from a federation's blank card\r\nlayout page " + std::to_string(page) + "\r\n";
    for (const std::string& value : values)
        out += value + "\r\n";
    return out;
}

std::string PngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

std::string ReadSource(const fs::path& file) {
    try {
        return ReadFileBytes(file);
    } catch (const RuntimeError&) {
        throw FormatMakerError("Cannot read " + file.string() + ".");
    }
}

} // namespace

bool FormatMaker::IsLegalCode(const std::string& code) {
    return !code.empty() && code.size() <= kMaxCodeLength && IsLettersAndDigits(code);
}

std::string FormatMaker::DefaultExtension(const std::string& code) {
    return Lower(code.substr(0, 3));
}

FormatMaker::FormatMaker(NewFormatRequest request) : request_(std::move(request)) {
    const std::string& code = request_.code;
    if (!IsLegalCode(code))
        throw FormatMakerError("The code '" + code + "' is not usable: use 1 to " +
                               std::to_string(kMaxCodeLength) + " letters and digits.");
    std::string extension =
        request_.extension.empty() ? DefaultExtension(code) : request_.extension;
    if (!extension.empty() && extension.front() == '.')
        extension.erase(0, 1);
    if (extension.empty() || extension.size() > kMaxExtensionLength ||
        !IsLettersAndDigits(extension))
        throw FormatMakerError("The file extension '" + extension + "' is not usable: use 1 to " +
                               std::to_string(kMaxExtensionLength) + " letters and digits.");
    if (request_.name.empty() || request_.name.find_first_of("\r\n") != std::string::npos)
        throw FormatMakerError("The format needs a name of one line.");
    const fs::path settings = request_.root / "cwr.sys";
    if (!ExistsAnyCase(settings))
        throw FormatMakerError("No settings file cwr.sys in " + request_.root.string() + ".");
    const InstalledFormats installed = InstalledFormats::Read(settings);
    if (installed.HasCode(code) || ExistsAnyCase(request_.root / code))
        throw FormatMakerError("The code " + code + " is in use: choose another.");
    if (installed.HasExtension(extension))
        throw FormatMakerError("The file extension ." + extension +
                               " belongs to another format: choose another.");

    record_.code = code;
    record_.extension = extension;
    record_.name = request_.name;
    record_.base = ChooseBase();

    if (request_.sources.empty() || request_.sources.size() > 2)
        throw FormatMakerError("Give one PDF file, or one or two pictures (front and back).");
    for (const fs::path& source : request_.sources)
        if (!fs::is_regular_file(source))
            throw FormatMakerError("There is no file " + source.string() + ".");
    try {
        if (LowerExtension(request_.sources.front()) == ".pdf") {
            if (request_.sources.size() != 1)
                throw FormatMakerError("Give one PDF file; its pages make front and back.");
            PlanFromPdf(request_.sources.front());
        } else {
            PlanFromPictures();
        }
    } catch (const BlankCardError& error) {
        throw FormatMakerError(error.what());
    }
}

std::string FormatMaker::ChooseBase() const {
    std::string stem;
    for (char c : Lower(request_.code))
        if (stem.size() < kMaxBaseLength)
            stem += c;
    const fs::path data = request_.root / "data";
    auto taken = [&](const std::string& base) {
        for (const std::string& name : ListFolder(data, base + "*"))
            if (Lower(name).rfind(base, 0) == 0 && name.size() > base.size() &&
                !std::isalpha(static_cast<unsigned char>(name[base.size()])))
                return true;
        return false;
    };
    if (!taken(stem))
        return stem;
    const std::string shorter = stem.substr(0, kMaxBaseLength - 2);
    for (int number = 1; number < 100; ++number) {
        std::string base = shorter + std::to_string(number);
        if (!taken(base))
            return base;
    }
    throw FormatMakerError("No free name for the layout files of " + request_.code + ".");
}

void FormatMaker::PlanFromPdf(const fs::path& file) {
    BlankCardPdf pdf(file);
    std::vector<int> pages = request_.pages;
    if (pages.empty()) {
        pages.push_back(0);
        if (pdf.PageCount() > 1)
            pages.push_back(1);
    }
    if (pages.size() > 2)
        throw FormatMakerError("A format has at most two pages: front and back.");
    for (int page : pages)
        if (page < 0 || page >= pdf.PageCount())
            throw FormatMakerError(file.filename().string() + " has no page " +
                                   std::to_string(page + 1) + ".");
    record_.backPage = pages.size() == 2;

    const std::string sourceName = record_.base + ".pdf";
    FormatDefaults basics;
    basics.BasicFontSize = 9;
    for (size_t side = 0; side < pages.size(); ++side) {
        const int page = pages[side];
        const std::vector<FormFieldRecord> fields =
            FieldsForWidgets(pdf.Widgets(page), basics, kTwipsPerPixel);
        CardPage layout;
        AddFormFields(layout, fields);
        // A field's record index is its place among the fields of its kind, as written.
        std::map<int, int> nextIndex;
        for (const FormFieldRecord& field : fields) {
            bindings_.push_back(
                {side == 1, field.kind, nextIndex[field.kind]++, field.widgetName, field.onValue});
        }
        const QSizeF size = pdf.PageSizeTwips(page);
        AddPage(int(side) * 2 + 1, size.width(), size.height(), page, sourceName,
                CardFile::FormatRecords(layout));
    }
    // A form keeps the values it was saved with; the format keeps it emptied, so that its
    // blank page shows none of them under the card's own.
    try {
        files_[fs::path("data") / sourceName] =
            pdf.HasForm() ? EmptiedForm(file) : ReadSource(file);
    } catch (const FilledFormError& error) {
        throw FormatMakerError(error.what());
    }
    if (!bindings_.empty())
        files_[fs::path("data") / (record_.base + ".form")] = FormFieldMap::Compose(bindings_);

    std::unique_ptr<Poppler::Document> document(
        Poppler::Document::load(QString::fromStdString(file.string())));
    std::unique_ptr<Poppler::Page> front(document ? document->page(pages.front()) : nullptr);
    if (front) {
        const double widthPoints = front->pageSizeF().width();
        const double dpi = 72.0 * kPictureWidth / std::max(1.0, widthPoints);
        record_.picture = record_.base + ".png";
        files_[fs::path("bmps") / record_.picture] = PngBytes(front->renderToImage(dpi, dpi));
    }
}

void FormatMaker::PlanFromPictures() {
    if (!request_.pages.empty())
        throw FormatMakerError("Pages can only be chosen from a PDF file.");
    record_.backPage = request_.sources.size() == 2;
    for (size_t side = 0; side < request_.sources.size(); ++side) {
        const fs::path& file = request_.sources[side];
        const std::string type = LowerExtension(file);
        if (type != ".png" && type != ".jpg" && type != ".jpeg")
            throw FormatMakerError(file.filename().string() + " is not a PDF, PNG or JPEG file.");
        const BlankCardPicture picture(file);
        const std::string name =
            record_.base + (side == 0 ? "f" : "b") + (type == ".png" ? ".png" : ".jpg");
        files_[fs::path("data") / name] = ReadSource(file);
        const QSizeF size = picture.PageSizeTwips();
        AddPage(int(side) * 2 + 1, size.width(), size.height(), 0, name, "");
        if (side == 0) {
            QImage image(QString::fromStdString(file.string()));
            record_.picture = record_.base + ".png";
            files_[fs::path("bmps") / record_.picture] =
                PngBytes(image.scaledToWidth(kPictureWidth, Qt::SmoothTransformation));
        }
    }
}

void FormatMaker::AddPage(int page, double widthTwips, double heightTwips, int sourcePage,
                          const std::string& sourceName, const std::string& templateRecords) {
    if (page == 1) {
        record_.printWidth = int32_t(Millimetres(widthTwips));
        record_.printHeight = int32_t(Millimetres(heightTwips));
    }
    const fs::path data("data");
    files_[data / (record_.base + std::to_string(page) + ".dat")] =
        LayoutHeader(page, widthTwips, heightTwips) + templateRecords;
    const std::string blankPage = std::to_string(BlankPageKind) + ",0,0," +
                                  std::to_string(std::lround(widthTwips)) + "," +
                                  std::to_string(std::lround(heightTwips)) + "," +
                                  std::to_string(sourcePage) + ",\"" + sourceName + "\",0\r\n";
    files_[data / (record_.base + std::to_string(page + 1) + ".dat")] =
        LayoutHeader(page + 1, widthTwips, heightTwips) + blankPage;
}

void FormatMaker::Write(FileSystem& fileSystem) const {
    try {
        InstallFormat(request_.root, record_, files_, fileSystem);
    } catch (const FormatInstallError& error) {
        throw FormatMakerError(std::string("The format was not made: ") + error.what());
    }
}

} // namespace cw
