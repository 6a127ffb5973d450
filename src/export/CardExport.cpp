#include "CardExport.h"

#include "AppContext.h"
#include "CardCanvas.h"
#include "CardPages.h"
#include "CardRenderer.h"
#include "ErrorTrap.h"
#include "ExportLocations.h"
#include "FilledForm.h"
#include "PendingFiles.h"
#include "PictureStream.h"
#include "PrintDocument.h"
#include "PrintOptionsModel.h"
#include "Prompter.h"
#include "RuntimeError.h"
#include "TextCodec.h"

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
    case ExportFilter::FilledForm:
        return ".pdf";
    case ExportFilter::CardFile:
        break;
    }
    return "";
}

// Whether file already ends in the extension filter gives it.
bool HasOwnExtension(const fs::path& file, ExportFilter filter, const std::string& cardExt) {
    const std::optional<ExportFilter> byName = ExportFilterOf(file, cardExt);
    return byName == filter || (filter == ExportFilter::FilledForm && byName == ExportFilter::Pdf);
}

fs::path WithSuffix(const fs::path& base, const std::string& suffix) {
    return fs::path(base.string() + suffix);
}

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
    // The open page at scale, whatever the screen's zoom.
    PageBands(AppContext& ctx, double scale, int bandRows, int marginRows)
        : ctx_(ctx), request_(ctx.RequestForOpenPage(RenderTarget::Picture)), rows_(bandRows),
          margin_(std::max(0, marginRows)) {
        request_.mapping.viewScale = float(scale);
        request_.mapping.pageOffsetX = 0;
        view_ = ViewState::AtScale(float(scale), request_.profile.defaults.NaturalWidth,
                                   request_.profile.defaults.NaturalHeight);
    }

    QSize Size() override {
        if (page_.isEmpty()) {
            page_ = CardCanvas::PictureSize(view_, request_.mapping.twipsPerPixel);
            // Bands of at least twice the margins, so that no more than half of what is drawn
            // is drawn again for the next band.
            if (rows_ <= 0)
                rows_ = int(std::max<qsizetype>(
                    {64, 2 * qsizetype(margin_), kBandBytes / (qsizetype(page_.width()) * 4)}));
        }
        return page_;
    }
    int BandRows() const override { return rows_; }
    // What the last band drawn could not show.
    const std::vector<DrawingNotice>& Notices() const { return notices_; }

    const QImage& Band(int top) override {
        Size();
        shown_ = QImage();
        top_ = top;
        SizeBand();
        CardRenderer renderer(ctx_.errorTrap);
        renderer.SetBaseLayerCacheEnabled(false);
        renderer.Render(request_, surface_);
        notices_ = renderer.TakeNotices();
        const int rows = std::min(rows_, page_.height() - top);
        if (top - drawnTop_ + rows > band_.height())
            return band_; // the page changed its size: not what was asked for
        shown_ = QImage(band_.constScanLine(top - drawnTop_), band_.width(), rows,
                        band_.bytesPerLine(), QImage::Format_RGB32);
        return shown_;
    }

private:
    void SizeBand() {
        const QSize page = CardCanvas::PictureSize(view_, request_.mapping.twipsPerPixel);
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
    RenderRequest request_;
    ViewState view_;
    QSize page_;
    int rows_;
    int margin_;
    int top_ = 0;
    int drawnTop_ = 0;
    QImage shown_;
    std::vector<DrawingNotice> notices_;
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
    if (HasOwnExtension(file, filter, cardExt))
        return fs::path(file).replace_extension();
    return file;
}

std::string CardExport::ChosenExtension(const fs::path& file, ExportFilter filter,
                                        const std::string& cardExt) {
    if (HasOwnExtension(file, filter, cardExt))
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
            const fs::path chosen =
                ChosenPath(request.file, request.filter, ctx_.Card.Location().CardExt);
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
        ChosenExtension(request.file, request.filter, ctx_.Card.Location().CardExt);
    auto savePictures = [&](PictureType type) {
        written_ = ExportCardImage(chosen, type, extension);
        pages_.ShowPage(false);
    };
    switch (request.filter) {
    case ExportFilter::CardFile: {
        std::string own = ctx_.Card.Location().CurrentCardName;
        if (ctx_.Card.BackSide() && !own.empty() && own.back() == '_')
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
    case ExportFilter::FilledForm:
        SaveAsFilledForm(WithSuffix(chosen, extension));
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
        for (const DrawingNotice& notice : bands.Notices())
            ctx_.ReportOnce(notice.key, notice.text);
    };
    std::vector<FileWriting> files{{WithSuffix(base, ext), [&](const fs::path& scratch) {
                                        writePage(false, scratch);
                                    }}};
    if (ctx_.Format.HasBackPage())
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

void CardExport::SaveAsFilledForm(const fs::path& target) {
    std::optional<FormatForm> form;
    try {
        form = FormatForm::Of(ctx_.paths.ProgramFolder, ctx_.Format.Catalogue(),
                              ctx_.Format.Current());
    } catch (const FilledFormError& error) {
        throw RuntimeError(RuntimeError::PathFileAccess, error.what());
    }
    if (!form)
        throw RuntimeError(RuntimeError::PathFileAccess,
                           "The card's format was not made from a fillable PDF form: there is "
                           "no form to fill in.");
    if (!pages_.ShowPage(false))
        throw RuntimeError(RuntimeError::FileNotFound, "The card's front page cannot be read.");
    const CardPage front = ctx_.Card.Page();
    std::optional<CardPage> back;
    if (ctx_.Format.HasBackPage()) {
        if (!pages_.ShowPage(true))
            throw RuntimeError(RuntimeError::FileNotFound, "The card's back page cannot be read.");
        back = ctx_.Card.Page();
        pages_.ShowPage(false);
    }
    FormTransfer transfer;
    std::string bytes;
    try {
        bytes = FillForm(*form, front, back ? &*back : nullptr, TextCodec::Of(ctx_.Format.Traits()),
                         transfer);
    } catch (const FilledFormError& error) {
        throw RuntimeError(RuntimeError::PathFileAccess, error.what());
    }
    WriteFileOver(ctx_.fileSystem, target, bytes);
    written_.push_back(target);
    for (const std::string& line : transfer.notTransferred)
        ctx_.ReportOnce("filled-form " + line, "Not in the filled form: " + line);
}

} // namespace cw
