#include "CardExport.h"

#include "AppContext.h"
#include "CardCanvas.h"
#include "CardPages.h"
#include "CardRenderer.h"
#include "ErrorTrap.h"
#include "ExportLocations.h"
#include "PendingFiles.h"
#include "PictureStream.h"
#include "PrintDocument.h"
#include "PrintOptionsModel.h"
#include "Prompter.h"
#include "RuntimeError.h"

#include <QPrinter>
#include <algorithm>

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

// Pixels a band of a page picture holds at most.
constexpr qsizetype kBandBytes = qsizetype(24) << 20;

// The shown page as the export draws it, a band of rows at a time: each band is the same
// drawing of the whole page on a picture of the band's rows, with the card's origin moved up
// by the band's top, so that what crosses from one band into the next is cut, not moved. The
// band is drawn with marginRows more above and below it: Qt draws a text or a picture that
// the picture's edge cuts a shade differently (smoothed edges one step off), and the rows
// given out are those no such cut reaches.
class PageBands final : public BandedPicture {
public:
    PageBands(AppContext& ctx, double scale, int bandRows, int marginRows)
        : ctx_(ctx), view_(ctx, scale), rows_(bandRows), margin_(std::max(0, marginRows)),
          sizer_(*this) {}

    QSize Size() override {
        if (page_.isEmpty()) {
            // The steps of a drawing up to where it sizes the picture.
            ctx_.LoadFormatDefaults();
            page_ = CardCanvas::PictureSize(ctx_.View, ctx_.TwipsPerPixel);
            // Bands of at least twice the margins, so that no more than half of what is drawn
            // is drawn again for the next band.
            if (rows_ <= 0)
                rows_ = int(std::max<qsizetype>(
                    {64, 2 * qsizetype(margin_), kBandBytes / (qsizetype(page_.width()) * 4)}));
        }
        return page_;
    }
    int BandRows() const override { return rows_; }

    const QImage& Band(int top) override {
        Size();
        shown_ = QImage();
        top_ = top;
        CardRenderer renderer(ctx_, sizer_);
        renderer.SetBaseLayerCacheEnabled(false);
        renderer.State.PrintMode = 0;
        renderer.State.ShowOwnCard = true;
        renderer.State.ExportingImage = true;
        renderer.SelectSurface(surface_);
        renderer.RenderCard();
        const int rows = std::min(rows_, page_.height() - top);
        if (top - drawnTop_ + rows > band_.height())
            return band_; // the page changed its size: not what was asked for
        shown_ = QImage(band_.constScanLine(top - drawnTop_), band_.width(), rows,
                        band_.bytesPerLine(), QImage::Format_RGB32);
        return shown_;
    }

private:
    // What the renderer asks for once it knows the page's size.
    class Sizer : public NoCardFormatView {
    public:
        explicit Sizer(PageBands& bands) : bands_(bands) {}
        void SizeCardPicture() override { bands_.SizeBand(); }

    private:
        PageBands& bands_;
    };

    void SizeBand() {
        const QSize page = CardCanvas::PictureSize(ctx_.View, ctx_.TwipsPerPixel);
        drawnTop_ = std::max(0, top_ - margin_);
        const int bottom = std::min(page.height(), top_ + rows_ + margin_);
        const QSize size(page.width(), std::max(1, bottom - drawnTop_));
        if (size != band_.size()) {
            // The surface paints on the band; it lets go of it before the band changes.
            surface_.End();
            band_ = QImage(size, QImage::Format_RGB32);
            band_.fill(Qt::white);
        }
        DeviceMapping mapping = surface_.Mapping();
        mapping.originY = -drawnTop_;
        surface_.SetMapping(mapping);
    }

    AppContext& ctx_;
    ExportView view_;
    QSize page_;
    int rows_;
    int margin_;
    int top_ = 0;
    int drawnTop_ = 0;
    QImage shown_;
    Sizer sizer_;
    FontBook fonts_;
    QImage band_{1, 1, QImage::Format_RGB32};
    PainterSurface surface_{band_, DeviceMapping::Screen(1.0, 15), fonts_};
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

std::vector<fs::path> CardExport::ExportCardImage(const fs::path& base, PictureType type,
                                                  const std::string& extension) {
    const std::string ext = extension.empty() ? std::string(PictureExtension(type)) : extension;
    // The front page first, whichever page the window shows.
    if (!pages_.ShowPage(false))
        throw RuntimeError(RuntimeError::FileNotFound, "The card's front page cannot be read.");
    auto writePage = [this, type, dpi = PictureDpi()](bool back, const fs::path& scratch) {
        if (back && !pages_.ShowPage(true))
            throw RuntimeError(RuntimeError::FileNotFound, "The card's back page cannot be read.");
        PageBands bands(ctx_, ViewScaleForDpi(), BandRows, dpi / 2);
        WriteBandedPicture(ctx_.fileSystem, scratch, bands, type, dpi);
    };
    std::vector<FileWriting> files{{WithSuffix(base, ext), [&](const fs::path& scratch) {
                                        writePage(false, scratch);
                                    }}};
    if (ctx_.Catalogue.HasBackPage(ctx_.CurrentFormat))
        files.push_back({WithSuffix(base, "_" + ext), [&](const fs::path& scratch) {
                             writePage(true, scratch);
                         }});
    ReplaceFilesTogether(ctx_.fileSystem, files);
    std::vector<fs::path> written;
    for (const FileWriting& file : files)
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
