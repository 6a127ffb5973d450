#include "Commands.h"

#include "Application.h"
#include "CheckCommand.h"
#include "CompareCommand.h"
#include "ExportCommand.h"
#include "PrintCommand.h"
#include "RenderCommand.h"
#include "TextCodec.h"

namespace cw {

namespace {

int FormatsTool(Application& app, const CommandLine&, std::ostream& out, std::ostream&) {
    return RunFormatsCommand(app, out);
}

int RenderTool(Application& app, const CommandLine& line, std::ostream&, std::ostream& err) {
    RenderOptions options;
    std::string problem;
    if (!ParseRenderOptions(line, options, problem)) {
        err << problem << '\n' << UsageText();
        return 2;
    }
    return RunRenderCommand(app, options, err);
}

int PrintTool(Application& app, const CommandLine& line, std::ostream& out, std::ostream& err) {
    PrintCommandOptions options;
    std::string problem;
    if (!ParsePrintOptions(line, options, problem)) {
        err << problem << '\n' << UsageText();
        return 2;
    }
    return RunPrintCommand(app, options, out, err);
}

int ExportTool(Application& app, const CommandLine& line, std::ostream& out, std::ostream& err) {
    ExportCommandOptions options;
    std::string problem;
    if (!ParseExportOptions(line, options, problem)) {
        err << problem << '\n' << UsageText();
        return 2;
    }
    return RunExportCommand(app, options, out, err);
}

int CheckTool(Application& app, const CommandLine& line, std::ostream& out, std::ostream& err) {
    CheckOptions options;
    std::string problem;
    if (!ParseCheckOptions(line, options, problem)) {
        err << problem << '\n' << UsageText();
        return 2;
    }
    return RunCheckCommand(app, options, out, err);
}

int CompareTool(Application& app, const CommandLine& line, std::ostream& out, std::ostream& err) {
    CompareOptions options;
    std::string problem;
    if (!ParseCompareOptions(line, options, problem)) {
        err << problem << '\n' << UsageText();
        return 2;
    }
    return RunCompareCommand(app, options, out, err);
}

} // namespace

const std::vector<CommandEntry>& CommandTable() {
    static const std::vector<CommandEntry> table = {
        {"formats", "cardwright formats [--root DIR]\n", FormatsTool},
        {"render",
         "cardwright render --root DIR --card NAME [--format CODE]\n"
         "           [--side front|back] [--partner] [--zoom N]\n"
         "           --out FILE.(png|jpg|bmp|gif|pdf)\n",
         RenderTool},
        {"print",
         "cardwright print --root DIR --card NAME|'*' [--format CODE]\n"
         "           [--side front|back|both] [--cards mine|partner|both] [--black]\n"
         "           [--pdf FILE.pdf | --printer NAME]\n",
         PrintTool},
        {"export",
         "cardwright export --root DIR --card NAME [--format CODE]\n"
         "           --out FILE.(bmp|jpg|gif|png|pdf) [--dpi N]\n",
         ExportTool},
        {"check", "cardwright check --root DIR --card NAME [--format CODE]\n", CheckTool},
        {"compare", "cardwright compare --root DIR --card A --with B|FILE [--format CODE]\n",
         CompareTool},
    };
    return table;
}

const CommandEntry* FindCommand(const std::string& name) {
    for (const CommandEntry& entry : CommandTable())
        if (entry.name == name)
            return &entry;
    return nullptr;
}

std::string UsageText() {
    std::string text = "usage: cardwright [--root DIR]\n";
    for (const CommandEntry& entry : CommandTable())
        text += "       " + entry.usage;
    text += "       cardwright --version\n";
    return text;
}

std::string FormatsListing(const FormatCatalogue& catalogue) {
    std::string text;
    for (int slot = 0; slot < catalogue.FormatCount; ++slot) {
        // cwr.sys is in the card code page; a terminal reads UTF-8.
        std::string name =
            TextCodec::Western().Decode(catalogue.Column(slot, ColDisplayName)).toStdString();
        text += std::to_string(slot) + "\t" + catalogue.Code(slot) + "\t" +
                catalogue.Column(slot, ColExtension) + "\t" + catalogue.Column(slot, ColBackPage) +
                "\t" + name + "\n";
    }
    return text;
}

int RunFormatsCommand(Application& app, std::ostream& out) {
    if (!app.RunStartup(Application::StartupMode::Command))
        return 1;
    out << FormatsListing(app.Context().Catalogue);
    return 0;
}

} // namespace cw
