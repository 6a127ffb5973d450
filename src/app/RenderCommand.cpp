#include "RenderCommand.h"

#include "Application.h"
#include "BasicNumbers.h"
#include "CardCanvas.h"
#include "CardRenderer.h"
#include "CommandFormat.h"
#include "PainterSurface.h"
#include "PrintedPage.h"

#include <QImageWriter>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <cmath>

namespace cw {

namespace {

constexpr int kPdfResolution = 600;

std::string LowerExtension(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    for (char& c : ext)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return ext;
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
    const PrintedPage printed = PrintedPage::ForFormat(ctx, ctx.BackSideSelected);
    QSizeF extent(printed.width, printed.height);
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
    paper.State.UserTextPrintOffset = printed.textOffsetY;
    ctx.PageOffsetX = printed.marginX;
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
    auto chosen = ChooseCommandFormat(ctx, options.format, err);
    if (!chosen)
        return 1;
    int16_t slot = *chosen;
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
    if (!CommandCardExists(ctx, options.card, err))
        return 1;
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
