#include "ExportCommand.h"

#include "AppContext.h"
#include "Application.h"
#include "BasicNumbers.h"
#include "CardCommand.h"
#include "CardExport.h"
#include "CardPages.h"

namespace cw {

namespace {

constexpr int kLowestDpi = 24;
constexpr int kHighestDpi = 1200;

} // namespace

bool ParseExportOptions(const CommandLine& line, ExportCommandOptions& options,
                        std::string& problem) {
    options.card = line.Value("--card").value_or("");
    if (options.card.empty()) {
        problem = "export: --card NAME is required";
        return false;
    }
    const std::string out = line.Value("--out").value_or("");
    if (out.empty()) {
        problem = "export: --out FILE is required";
        return false;
    }
    // Relative to the folder the command was started in.
    options.out = std::filesystem::absolute(out);
    auto filter = ExportFilterOf(options.out, {});
    if (!filter) {
        problem = "export: the output file must end in .bmp, .jpg, .gif, .png or .pdf: " + out;
        return false;
    }
    options.filledForm = line.Has("--filled-form");
    if (options.filledForm && filter != ExportFilter::Pdf) {
        problem = "export: --filled-form writes a PDF form: --out must end in .pdf";
        return false;
    }
    options.format = line.Value("--format");
    if (auto dpi = line.Value("--dpi")) {
        const double value = IsWholeNumber(*dpi) ? Val(*dpi) : 0;
        if (value < kLowestDpi || value > kHighestDpi || value != double(int(value))) {
            problem = "export: --dpi takes a whole number from " + std::to_string(kLowestDpi) +
                      " to " + std::to_string(kHighestDpi) + ", not " + *dpi;
            return false;
        }
        options.dpi = int(value);
    }
    return true;
}

int RunExportCommand(Application& app, const ExportCommandOptions& options, std::ostream& out,
                     std::ostream& err) {
    if (!SetUpForCard(app, options.format, options.card, err))
        return 1;
    AppContext& ctx = app.Context();
    NamedCardPages pages(ctx, options.card);
    if (!OutputFileWritable(options.out, err))
        return 1;
    const int trapsBefore = app.Trap().TrapCount();
    if (!pages.Open())
        return 1;
    CardExport exporter(ctx, pages);
    const ExportFilter filter =
        options.filledForm ? ExportFilter::FilledForm : *ExportFilterOf(options.out, {});
    const bool saved = exporter.SaveCardAs({options.out, filter, options.dpi});
    for (const fs::path& file : exporter.Written())
        out << file.string() << '\n';
    return saved && app.Trap().TrapCount() == trapsBefore ? 0 : 1;
}

} // namespace cw
