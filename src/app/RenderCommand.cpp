#include "RenderCommand.h"

#include "Application.h"
#include "BasicNumbers.h"
#include "CardCanvas.h"
#include "CardRenderer.h"
#include "PainterSurface.h"

#include <QImageWriter>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <cmath>

namespace cw {

namespace {

constexpr double kTwipsPerMillimetre = 56.7;
constexpr int kPdfResolution = 600;

std::string LowerExtension(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    for (char& c : ext)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

// The slot of a format by its code, compared without regard to case.
std::optional<int16_t> FindFormat(const FormatCatalogue& catalogue, const std::string& code) {
    for (int16_t slot = 0; slot < catalogue.FormatCount; ++slot)
        if (EqualsIgnoreCase(catalogue.Code(slot), code))
            return slot;
    return std::nullopt;
}

// The extent of the printed page (twips) as the print job works it out with the format's
// settings: twice the default less the entered value, in millimetres.
double PrintExtent(double defaultMillimetres, double enteredMillimetres, double natural) {
    if (defaultMillimetres <= 0)
        return natural;
    double entered = enteredMillimetres > 0 ? enteredMillimetres : defaultMillimetres;
    double extent = (2 * defaultMillimetres - entered) * kTwipsPerMillimetre;
    return extent > 0 ? extent : natural;
}

bool WritePicture(AppContext& ctx, const RenderState& state, const RenderOptions& options,
                  std::ostream& err) {
    CardCanvas canvas;
    CanvasCardView view(ctx, canvas);
    canvas.Fit(ctx.View, ctx.TwipsPerPixel);
    CardRenderer screen(ctx, view);
    screen.State = state;
    screen.State.PrintMode = 0;
    screen.SelectSurface(canvas.Surface());
    screen.RenderCard();
    QImageWriter writer(QString::fromStdString(options.out.string()));
    std::string ext = LowerExtension(options.out);
    writer.setFormat(ext == ".png" ? "png" : ext == ".bmp" ? "bmp" : "jpeg");
    if (ext == ".jpg" || ext == ".jpeg")
        writer.setQuality(92);
    if (!writer.write(canvas.Picture())) {
        err << "Cannot write " << options.out.string() << ": " << writer.errorString().toStdString()
            << '\n';
        return false;
    }
    return true;
}

bool WritePdf(AppContext& ctx, const RenderState& state, const RenderOptions& options,
              std::ostream& err) {
    const FormatDefaults& d = ctx.Defaults;
    const FormatCatalogue& catalogue = ctx.Catalogue;
    QSizeF extent(PrintExtent(catalogue.Number(ctx.CurrentFormat, ColPrintWidth),
                              d.PrintWidthSetting, d.NaturalWidth),
                  PrintExtent(catalogue.Number(ctx.CurrentFormat, ColPrintHeight),
                              d.PrintHeightSetting, d.NaturalHeight + 205));
    if (extent.width() <= 0 || extent.height() <= 0) {
        err << "The card format has no page size.\n";
        return false;
    }
    QPdfWriter writer(QString::fromStdString(options.out.string()));
    writer.setResolution(kPdfResolution);
    writer.setCreator(QStringLiteral("Cardwright"));
    // The paper is the printed page's extent at its natural size.
    QPageSize page(QSizeF(extent.width() / 20.0, extent.height() / 20.0), QPageSize::Point,
                   QString(), QPageSize::ExactMatch);
    writer.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    FontBook fonts;
    PainterSurface surface(writer,
                           DeviceMapping::Paper(kPdfResolution, kPdfResolution,
                                                QSizeF(writer.width(), writer.height()), extent),
                           fonts);
    NoCardFormatView view;
    CardRenderer paper(ctx, view);
    paper.State = state;
    paper.State.PrintMode = 1;
    paper.State.FieldTooFarDown = false;
    paper.State.UserTextPrintOffset = ToInt32(d.TextAlignSetting * ctx.TwipsPerPixel);
    double margin = ctx.BackSideSelected ? d.BackMarginSetting : d.FrontMarginSetting;
    ctx.PageOffsetX = ToInt32(margin * kTwipsPerMillimetre);
    paper.SelectSurface(surface);
    paper.RenderCard();
    surface.End();
    ctx.PageOffsetX = 0;
    if (paper.State.FieldTooFarDown)
        err << "At least one field at the bottom of the page is too far down to print.\n";
    if (!std::filesystem::exists(options.out)) {
        err << "Cannot write " << options.out.string() << '\n';
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
    if (ext != ".png" && ext != ".jpg" && ext != ".jpeg" && ext != ".bmp" && ext != ".pdf") {
        problem = "render: the output file must end in .png, .jpg, .bmp or .pdf: " + out;
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
    if (!app.RunStartup(Application::StartupMode::Command))
        return 1;
    AppContext& ctx = app.Context();
    if (ctx.Catalogue.FormatCount == 0) {
        err << "No card format is installed in " << ctx.paths.ProgramFolder.string() << '\n';
        return 1;
    }
    int16_t slot = ctx.CurrentFormat;
    if (options.format) {
        auto found = FindFormat(ctx.Catalogue, *options.format);
        if (!found) {
            err << "Card format " << *options.format << " is not installed. Installed:";
            for (int16_t i = 0; i < ctx.Catalogue.FormatCount; ++i)
                err << ' ' << ctx.Catalogue.Code(i);
            err << '\n';
            return 1;
        }
        slot = *found;
    }
    if (slot < 0 || slot >= ctx.Catalogue.FormatCount)
        slot = int16_t(ctx.Catalogue.FormatCount - 1);
    if (options.back && !ctx.Catalogue.HasBackPage(slot)) {
        err << "Card format " << ctx.Catalogue.Code(slot) << " has no back page.\n";
        return 1;
    }
    ctx.BackSideSelected = options.back;
    if (options.zoom) {
        ctx.View.ViewScale = float(*options.zoom);
        ctx.View.ZoomSetByUser = true;
    }
    const int trapsBefore = app.Trap().TrapCount();
    NoCardFormatView noView;
    if (!ctx.SetupCardFormat(slot, noView))
        return 1;

    ctx.Location.CurrentCardName = options.card;
    fs::path front = ctx.Location.CardDir / (options.card + ctx.Location.CardExt);
    if (!ExistsAnyCase(front)) {
        err << "Card " << options.card << " not found: " << front.string() << '\n';
        return 1;
    }
    if (options.back) {
        ctx.Location.CurrentCardName += "_";
        if (!ExistsAnyCase(ctx.Location.PagePath()) && !ctx.BackTemplateForMissingPage()) {
            err << "Card " << options.card
                << " has no back page: " << ctx.Location.PagePath().string() << '\n';
            return 1;
        }
    }
    if (!ctx.LoadCard())
        return 1;

    RenderState state;
    state.ShowOwnCard = !options.partner;
    bool written = LowerExtension(options.out) == ".pdf" ? WritePdf(ctx, state, options, err)
                                                         : WritePicture(ctx, state, options, err);
    if (!written)
        return 1;
    // Errors trapped while drawing were reported; the picture shows what could be drawn.
    return app.Trap().TrapCount() == trapsBefore ? 0 : 1;
}

} // namespace cw
