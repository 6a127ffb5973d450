#include "CardExport.h"

#include "AppContext.h"
#include "CardCanvas.h"
#include "CardPages.h"
#include "CardRenderer.h"
#include "ErrorTrap.h"
#include "ExportLocations.h"
#include "PendingFiles.h"
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

// The picture's bytes as a file of type, saying it has dpi dots per inch where the type has
// room for it (BMP, JPEG and PNG; GIF has none).
std::string EncodeAtDpi(QImage picture, PictureType type, int dpi) {
    const int dotsPerMeter = qRound(dpi / 0.0254);
    picture.setDotsPerMeterX(dotsPerMeter);
    picture.setDotsPerMeterY(dotsPerMeter);
    return EncodePicture(picture, type);
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

std::string CardExport::ChosenExtension(const fs::path& file, ExportFilter filter,
                                        const std::string& cardExt) {
    if (ExportFilterOf(file, cardExt) == filter)
        return file.extension().string();
    return FilterExtension(filter);
}

CardExport::CardExport(AppContext& ctx, CardPages& pages) : ctx_(ctx), pages_(pages) {}

double CardExport::ViewScaleForDpi() const {
    if (Dpi <= 0)
        return 1.0;
    return Dpi * double(ctx_.TwipsPerPixel) / 1440.0;
}

int CardExport::PictureDpi() const {
    if (Dpi > 0)
        return Dpi;
    return ctx_.TwipsPerPixel > 0 ? 1440 / ctx_.TwipsPerPixel : 96;
}

bool CardExport::SaveCardAs(const ExportRequest& request) {
    written_.clear();
    BusyScope busy(ctx_.prompter);
    bool saved = true;
    const bool finished = ctx_.errorTrap.Guard(
        loc::SaveCardAs,
        [&] {
            if (!pages_.SaveCard()) {
                // The failed save has been reported; nothing else is written.
                saved = false;
                return;
            }
            const fs::path chosen = ChosenPath(request.file, request.filter, ctx_.Location.CardExt);
            Dpi = request.dpi;
            try {
                WriteChosenFiles(request, chosen, saved);
            } catch (const RuntimeError& error) {
                // A message that names another file (the back page's picture) says which
                // file the user chose.
                if (std::string(error.what()).find(request.file.string()) != std::string::npos)
                    throw;
                throw RuntimeError(error.ErrorNumber(), "The card could not be saved as " +
                                                            request.file.string() + ". " +
                                                            error.what());
            }
        },
        [&] {
            return std::vector<ErrValue>{request.file.string(), int(request.filter)};
        });
    pages_.JobDone();
    return finished && saved;
}

void CardExport::WriteChosenFiles(const ExportRequest& request, const fs::path& chosen,
                                  bool& saved) {
    const std::string title = chosen.filename().string();
    const std::string extension =
        ChosenExtension(request.file, request.filter, ctx_.Location.CardExt);
    auto savePictures = [&](PictureType type) {
        written_ = ExportCardImage(chosen, type, extension);
        pages_.ShowPage(false);
    };
    switch (request.filter) {
    case ExportFilter::CardFile: {
        std::string own = ctx_.Location.CurrentCardName;
        if (ctx_.BackSideSelected && !own.empty() && own.back() == '_')
            own.pop_back();
        if (!EqualsIgnoreCase(title, own) && copyCard_)
            saved = copyCard_(title);
        break;
    }
    case ExportFilter::Gif:
        savePictures(PictureType::Gif);
        break;
    case ExportFilter::Jpeg:
        savePictures(PictureType::Jpeg);
        break;
    case ExportFilter::Bitmap:
        savePictures(PictureType::Bmp);
        break;
    case ExportFilter::Png:
        savePictures(PictureType::Png);
        break;
    case ExportFilter::Pdf:
        SaveAsPdf(WithSuffix(chosen, extension));
        break;
    }
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
                                                  const std::string& extension) {
    const std::string ext = extension.empty() ? std::string(PictureExtension(type)) : extension;
    auto encode = [type, dpi = PictureDpi()](const QImage& picture) {
        return EncodeAtDpi(picture, type, dpi);
    };
    // The front page first, whichever page the window shows.
    if (!pages_.ShowPage(false))
        throw RuntimeError(RuntimeError::FileNotFound, "The card's front page cannot be read.");
    std::vector<FileBytes> files{{WithSuffix(base, ext), {}}};
    const QImage front = DrawShownPage();
    if (!ctx_.Catalogue.HasBackPage(ctx_.CurrentFormat)) {
        files[0].bytes = encode(front);
    } else {
        // The front page is encoded while the back page is drawn.
        auto frontEncoded = std::async(std::launch::async, encode, front);
        files.push_back({WithSuffix(base, "_" + ext), {}});
        try {
            if (!pages_.ShowPage(true))
                throw RuntimeError(RuntimeError::FileNotFound,
                                   "The card's back page cannot be read.");
            files[1].bytes = encode(DrawShownPage());
        } catch (...) {
            frontEncoded.wait();
            throw;
        }
        files[0].bytes = frontEncoded.get();
    }
    ReplaceFilesTogether(ctx_.fileSystem, files);
    std::vector<fs::path> written;
    for (const FileBytes& file : files)
        written.push_back(file.target);
    return written;
}

void CardExport::SaveAsPdf(const fs::path& target) {
    PendingFiles pending;
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdfPrinter(ctx_, printer, pending.Add(target));
    // The whole card, as it prints with the format's saved size and margins.
    PrintOptionsModel model(ctx_);
    model.Choices().side = model.HasBackPage() ? PrintSide::Both : PrintSide::Front;
    PrintDocument document(ctx_, printer, model);
    const int trapsBefore = ctx_.errorTrap.TrapCount();
    if (!document.Start())
        return;
    document.PrintCard(pages_, PrintCardChoice::Mine);
    // A page that could not be printed (reported on the way) leaves no file with a gap.
    if (!document.Finish() || ctx_.errorTrap.TrapCount() != trapsBefore)
        throw RuntimeError(RuntimeError::PathFileAccess,
                           "The PDF file was not written: " + target.string());
    pending.Commit(ctx_.fileSystem);
    written_.push_back(target);
    pages_.ShowPage(false);
}

} // namespace cw
