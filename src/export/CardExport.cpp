#include "CardExport.h"

#include "AppContext.h"
#include "CardCanvas.h"
#include "CardPages.h"
#include "CardRenderer.h"
#include "ErrorTrap.h"
#include "ExportLocations.h"
#include "LineReader.h"
#include "PrintDocument.h"
#include "PrintOptionsModel.h"
#include "Prompter.h"
#include "RuntimeError.h"

#include <QPrinter>
#include <future>

namespace cw {

namespace {

const char* FilterExtension(ExportFilter filter) {
    switch (filter) {
    case ExportFilter::Gif:
        return ".gif";
    case ExportFilter::Jpeg:
        return ".jpg";
    case ExportFilter::Bitmap:
        return ".bmp";
    case ExportFilter::Png:
        return ".png";
    case ExportFilter::Pdf:
        return ".pdf";
    case ExportFilter::CardFile:
        break;
    }
    return "";
}

fs::path WithSuffix(const fs::path& base, const std::string& suffix) {
    return fs::path(base.string() + suffix);
}

// A folder as the converters' settings file gives it: with its separator at the end.
std::string FolderText(const fs::path& folder) {
    std::string text = folder.string();
    if (text.empty() || text.back() != '/')
        text += '/';
    return text;
}

// The view of the card as an export draws it: at the chosen scale, on no window; the
// program's own view comes back afterwards.
class ExportView {
public:
    ExportView(AppContext& ctx, double scale)
        : ctx_(ctx), view_(ctx.View), offset_(ctx.PageOffsetX) {
        ctx.View.ZoomSetByUser = true;
        ctx.View.ViewScale = float(scale);
        ctx.SetUpViewScale();
        ctx.PageOffsetX = 0;
    }
    ~ExportView() {
        ctx_.View = view_;
        ctx_.PageOffsetX = offset_;
    }

private:
    AppContext& ctx_;
    ViewState view_;
    int32_t offset_;
};

} // namespace

std::optional<ExportFilter> ExportFilterOf(const fs::path& file, const std::string& cardExt) {
    const std::string ext = file.extension().string();
    if (!cardExt.empty() && EqualsIgnoreCase(ext, cardExt))
        return ExportFilter::CardFile;
    for (ExportFilter filter : {ExportFilter::Gif, ExportFilter::Jpeg, ExportFilter::Bitmap,
                                ExportFilter::Png, ExportFilter::Pdf})
        if (EqualsIgnoreCase(ext, FilterExtension(filter)))
            return filter;
    if (EqualsIgnoreCase(ext, ".jpeg"))
        return ExportFilter::Jpeg;
    return std::nullopt;
}

fs::path CardExport::ChosenPath(const fs::path& file, ExportFilter filter,
                                const std::string& cardExt) {
    // Only the filter's own extension is taken off: a name typed without one keeps all of
    // its letters.
    if (ExportFilterOf(file, cardExt) == filter)
        return fs::path(file).replace_extension();
    return file;
}

CardExport::CardExport(AppContext& ctx, CardPages& pages) : ctx_(ctx), pages_(pages) {}

fs::path CardExport::ConverterSettingsPath() const {
    return ctx_.paths.ProgramFolder / "Konvertor_bmp2gif.ini";
}

double CardExport::ViewScaleForDpi() const {
    if (Dpi <= 0)
        return 1.0;
    return Dpi * double(ctx_.TwipsPerPixel) / 1440.0;
}

bool CardExport::SaveCardAs(const ExportRequest& request) {
    written_.clear();
    BusyScope busy(ctx_.prompter);
    const bool finished = ctx_.errorTrap.Guard(
        loc::SaveCardAs,
        [&] {
            if (!pages_.SaveCard())
                return;
            const fs::path chosen = ChosenPath(request.file, request.filter, ctx_.Location.CardExt);
            const std::string title = chosen.filename().string();
            Dpi = request.dpi;
            EmptyTempBmps();
            switch (request.filter) {
            case ExportFilter::CardFile: {
                std::string own = ctx_.Location.CurrentCardName;
                if (ctx_.BackSideSelected && !own.empty() && own.back() == '_')
                    own.pop_back();
                if (!EqualsIgnoreCase(title, own) && copyCard_)
                    copyCard_(title);
                break;
            }
            case ExportFilter::Gif:
                SaveAsGif(chosen);
                break;
            case ExportFilter::Jpeg:
                SaveAsJpeg(chosen);
                break;
            case ExportFilter::Bitmap:
            case ExportFilter::Png:
                for (const fs::path& file : ExportCardImage(
                         chosen,
                         request.filter == ExportFilter::Png ? PictureType::Png : PictureType::Bmp))
                    written_.push_back(file);
                pages_.ShowPage(false);
                break;
            case ExportFilter::Pdf:
                SaveAsPdf(chosen);
                break;
            }
            EmptyTempBmps();
        },
        [&] {
            return std::vector<ErrValue>{request.file.string(), int(request.filter)};
        });
    if (!finished)
        ctx_.errorTrap.Guard(loc::SaveCardAs, [&] { EmptyTempBmps(); });
    pages_.JobDone();
    return finished;
}

QImage CardExport::DrawShownPage() {
    ExportView view(ctx_, ViewScaleForDpi());
    CardCanvas canvas;
    CanvasCardView canvasView(ctx_, canvas);
    canvas.Fit(ctx_.View, ctx_.TwipsPerPixel);
    CardRenderer renderer(ctx_, canvasView);
    renderer.SetBaseLayerCacheEnabled(false);
    renderer.State.PrintMode = 0;
    renderer.State.ShowOwnCard = true;
    renderer.State.ExportingImage = true;
    renderer.SelectSurface(canvas.Surface());
    renderer.RenderCard();
    return canvas.Picture();
}

std::vector<fs::path> CardExport::ExportCardImage(const fs::path& base, PictureType type,
                                                  bool scratch) {
    FileSystem& fileSystem = ctx_.fileSystem;
    auto write = [&fileSystem, type, scratch](const fs::path& path, const QImage& picture) {
        if (scratch)
            WriteScratchPicture(path, picture, type);
        else
            WritePictureFile(fileSystem, path, picture, type);
    };
    // The front page first, whichever page the window shows.
    if (!pages_.ShowPage(false))
        throw RuntimeError(RuntimeError::FileNotFound, "The card's front page cannot be read.");
    std::vector<fs::path> files{WithSuffix(base, PictureExtension(type))};
    const QImage front = DrawShownPage();
    if (!ctx_.Catalogue.HasBackPage(ctx_.CurrentFormat)) {
        write(files[0], front);
        return files;
    }
    // The front page's file is encoded and written while the back page is drawn.
    auto frontWritten = std::async(std::launch::async, write, files[0], front);
    files.push_back(WithSuffix(base, std::string("_") + PictureExtension(type)));
    try {
        if (!pages_.ShowPage(true))
            throw RuntimeError(RuntimeError::FileNotFound, "The card's back page cannot be read.");
        write(files[1], DrawShownPage());
    } catch (...) {
        frontWritten.wait();
        throw;
    }
    frontWritten.get();
    return files;
}

void CardExport::SaveAsGif(const fs::path& chosen) {
    const std::string title = chosen.filename().string();
    ExportCardImage(ctx_.paths.TempBmpsDir / title, PictureType::Bmp, true);
    // The pictures go where the user chose (the card's folder unless he chose another).
    WriteConverterSettings(chosen.parent_path());
    ConvertToGif(ConverterSettingsPath());
    pages_.ShowPage(false);
}

void CardExport::SaveAsJpeg(const fs::path& chosen) {
    const std::string title = chosen.filename().string();
    const fs::path temp = ctx_.paths.TempBmpsDir;
    ExportCardImage(temp / title, PictureType::Bmp, true);
    std::vector<std::string> suffixes{""};
    if (ctx_.Catalogue.HasBackPage(ctx_.CurrentFormat))
        suffixes.push_back("_");
    for (const std::string& suffix : suffixes) {
        fs::path converted = ConvertToJpeg(temp / (title + suffix + ".bmp"));
        fs::path target = WithSuffix(chosen, suffix + ".jpg");
        // An older picture of the name is replaced in one step.
        MoveFileOver(ctx_.fileSystem, converted, target);
        written_.push_back(target);
    }
    pages_.ShowPage(false);
}

void CardExport::SaveAsPdf(const fs::path& chosen) {
    const fs::path target = WithSuffix(chosen, ".pdf");
    const fs::path scratch = WithSuffix(target, ".new");
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdfPrinter(ctx_, printer, scratch);
    // The whole card, as it prints with the format's saved size and margins.
    PrintOptionsModel model(ctx_);
    model.Choices().side = model.HasBackPage() ? PrintSide::Both : PrintSide::Front;
    PrintDocument document(ctx_, printer, model);
    if (!document.Start())
        return;
    document.PrintCard(pages_, PrintCardChoice::Mine);
    const bool finished = document.Finish();
    if (!finished || !fs::exists(scratch)) {
        std::error_code ec;
        fs::remove(scratch, ec);
        throw RuntimeError(RuntimeError::PathFileAccess,
                           "The PDF file cannot be written: " + target.string());
    }
    MoveFileOver(ctx_.fileSystem, scratch, target);
    written_.push_back(target);
    pages_.ShowPage(false);
}

void CardExport::EmptyTempBmps() {
    const fs::path& folder = ctx_.paths.TempBmpsDir;
    CreateFolderQuietly(folder);
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (entry.is_regular_file(ec))
            fs::remove(entry.path(), ec);
}

void CardExport::WriteConverterSettings(const fs::path& target) {
    std::string text;
    for (const std::string& line :
         {std::string("[FOLDERS]"), "source=" + FolderText(ctx_.paths.TempBmpsDir),
          "target=" + FolderText(target), std::string(), std::string("[PARAMS]"),
          std::string("recurse = 0"), std::string("compress = 1"), std::string("adjoin = 0"),
          std::string("bmp_name = 1"), std::string("gif_name = test"), std::string("Delay = 50"),
          std::string("reproduce_path = 0"), std::string()})
        AppendLine(text, line);
    const fs::path path = ConverterSettingsPath();
    AtomicReplace(ctx_.fileSystem, path, text, path.string() + ".new");
}

fs::path CardExport::ConvertToJpeg(const fs::path& bitmap) {
    // Named after the picture with "090" added, beside it.
    fs::path out = bitmap.parent_path() / (bitmap.stem().string() + "090.jpg");
    WritePictureFile(ctx_.fileSystem, out, ReadPictureFile(bitmap), PictureType::Jpeg);
    return out;
}

void CardExport::ConvertToGif(const fs::path& settings) {
    // Every bitmap of the source folder becomes a GIF of its name in the target folder.
    LineReader reader(ReadFileBytes(settings));
    fs::path source, target;
    while (!reader.AtEnd()) {
        std::string line = reader.ReadLine();
        if (line.rfind("source=", 0) == 0)
            source = line.substr(7);
        else if (line.rfind("target=", 0) == 0)
            target = line.substr(7);
    }
    for (const std::string& name : ListFolder(source, "*.bmp")) {
        fs::path out = target / (fs::path(name).stem().string() + ".gif");
        WritePictureFile(ctx_.fileSystem, out, ReadPictureFile(source / name), PictureType::Gif);
        written_.push_back(out);
    }
}

} // namespace cw
