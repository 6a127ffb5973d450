#include "RenderCommand.h"

#include "Application.h"
#include "BasicNumbers.h"
#include "CardCanvas.h"
#include "CardCommand.h"
#include "CardPages.h"
#include "CardRenderer.h"
#include "PainterSurface.h"
#include "PendingFiles.h"
#include "PictureFiles.h"
#include "PrintDocument.h"
#include "PrintOptionsModel.h"

#include <QPrinter>
#include <functional>

namespace cw {

namespace {

std::string LowerExtension(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    for (char& c : ext)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

// The output is written only when drawnWhole() says the drawing trapped no error.
bool WritePicture(AppContext& ctx, const RenderOptions& options,
                  const std::function<bool()>& drawnWhole, std::ostream& err) {
    CardCanvas canvas;
    canvas.Fit(ctx.View, ctx.TwipsPerPixel);
    CardRenderer screen(ctx.errorTrap);
    RenderRequest request = ctx.RequestForOpenPage(RenderTarget::Screen);
    request.options.ownCard = !options.partner;
    screen.Render(request, canvas.Surface());
    for (const DrawingNotice& notice : screen.TakeNotices())
        err << notice.text << '\n';
    if (!drawnWhole())
        return false;
    // The same picture files as "Save Card as" writes (GIF through giflib).
    std::string ext = LowerExtension(options.out);
    PictureType type = ext == ".png"   ? PictureType::Png
                       : ext == ".bmp" ? PictureType::Bmp
                       : ext == ".gif" ? PictureType::Gif
                                       : PictureType::Jpeg;
    try {
        WritePictureFile(ctx.fileSystem, options.out, canvas.Picture(), type);
    } catch (const std::exception& error) {
        err << "Cannot write " << options.out.string() << ": " << error.what() << '\n';
        return false;
    }
    return true;
}

// The page as the print job prints it on the format's paper, with the format's saved print
// settings.
bool WritePdf(AppContext& ctx, const RenderOptions& options,
              const std::function<bool()>& drawnWhole, std::ostream& err) {
    NamedCardPages pages(ctx, options.card);
    PendingFiles pending;
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdfPrinter(ctx, printer, pending.Add(options.out));
    PrintOptionsModel model(ctx);
    model.Choices().side = options.back ? PrintSide::Back : PrintSide::Front;
    PrintDocument document(ctx, printer, model);
    if (!document.Start())
        return false;
    document.PrintCard(pages, options.partner ? PrintCardChoice::Partner : PrintCardChoice::Mine);
    if (!document.Finish() || !drawnWhole())
        return false;
    if (document.FieldTooFarDown())
        err << "At least one field at the bottom of the page is too far down to print.\n";
    try {
        pending.Commit(ctx.fileSystem);
    } catch (const std::exception& error) {
        err << error.what() << '\n';
        return false;
    }
    return true;
}

} // namespace

bool ParseRenderOptions(const CommandLine& line, RenderOptions& options, std::string& problem) {
    options.card = line.Value("--card").value_or("");
    if (options.card.empty()) {
        problem = "render: --card NAME is required";
        return false;
    }
    std::string out = line.Value("--out").value_or("");
    if (out.empty()) {
        problem = "render: --out FILE is required";
        return false;
    }
    // Relative to the folder the command was started in, whatever start-up makes current.
    options.out = fs::absolute(out);
    std::string ext = LowerExtension(options.out);
    if (ext != ".png" && ext != ".jpg" && ext != ".jpeg" && ext != ".bmp" && ext != ".gif" &&
        ext != ".pdf") {
        problem = "render: the output file must end in .png, .jpg, .bmp, .gif or .pdf: " + out;
        return false;
    }
    options.format = line.Value("--format");
    std::string side = line.Value("--side").value_or("front");
    if (side != "front" && side != "back") {
        problem = "render: --side is front or back, not " + side;
        return false;
    }
    options.back = side == "back";
    options.partner = line.Has("--partner");
    if (auto zoom = line.Value("--zoom")) {
        double scale = IsWholeNumber(*zoom) ? Val(*zoom) : 0;
        if (scale < 0.2 || scale > 8) {
            problem = "render: --zoom takes a scale from 0.2 to 8, not " + *zoom;
            return false;
        }
        options.zoom = scale;
    }
    return true;
}

int RunRenderCommand(Application& app, const RenderOptions& options, std::ostream& err) {
    auto started = StartCardCommand(app, options.format, err);
    if (!started || !OutputFileWritable(options.out, err))
        return 1;
    AppContext& ctx = app.Context();
    int16_t slot = *started;
    if (options.back && !ctx.Format.Catalogue().HasBackPage(slot)) {
        err << "Card format " << ctx.Format.Catalogue().Code(slot) << " has no back page.\n";
        return 1;
    }
    ctx.Card.SetBackSide(options.back);
    if (options.zoom) {
        ctx.View.SetUserScale(float(*options.zoom));
    }
    const int trapsBefore = app.Trap().TrapCount();
    NoCardFormatView noView;
    if (!ctx.SetupCardFormat(slot, noView))
        return 1;

    ctx.Card.SetCardName(options.card);
    if (!CardFound(ctx, options.card, err))
        return 1;
    if (options.back) {
        ctx.Card.SetCardName(options.card + "_");
        if (!ExistsAnyCase(ctx.Card.Location().PagePath()) &&
            !ctx.Format.BackTemplateForMissingPage()) {
            err << "Card " << options.card
                << " has no back page: " << ctx.Card.Location().PagePath().string() << '\n';
            return 1;
        }
    }
    if (!ctx.LoadCard())
        return 1;

    // Errors trapped while drawing were reported; nothing is written then.
    auto drawnWhole = [&] {
        return app.Trap().TrapCount() == trapsBefore;
    };
    const bool written = LowerExtension(options.out) == ".pdf"
                             ? WritePdf(ctx, options, drawnWhole, err)
                             : WritePicture(ctx, options, drawnWhole, err);
    return written ? 0 : 1;
}

} // namespace cw
