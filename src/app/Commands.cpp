#include "Commands.h"

#include "Application.h"
#include "CheckCommand.h"
#include "CompareCommand.h"
#include "ExportCommand.h"
#include "FormatCommand.h"
#include "PrintCommand.h"
#include "RenderCommand.h"
#include "TextCodec.h"

#include <algorithm>

namespace cw {

namespace {

int FormatsTool(Application& app, const CommandLine&, std::ostream& out, std::ostream&) {
    return RunFormatsCommand(app, out);
}

int RenderTool(Application& app, const CommandLine& line, std::ostream&, std::ostream& err) {
    RenderOptions options;
    std::string problem;
    if (!ParseRenderOptions(line, options, problem)) {
        err << "cardwright " << problem << '\n';
        return 2;
    }
    return RunRenderCommand(app, options, err);
}

int PrintTool(Application& app, const CommandLine& line, std::ostream& out, std::ostream& err) {
    PrintCommandOptions options;
    std::string problem;
    if (!ParsePrintOptions(line, options, problem)) {
        err << "cardwright " << problem << '\n';
        return 2;
    }
    return RunPrintCommand(app, options, out, err);
}

int ExportTool(Application& app, const CommandLine& line, std::ostream& out, std::ostream& err) {
    ExportCommandOptions options;
    std::string problem;
    if (!ParseExportOptions(line, options, problem)) {
        err << "cardwright " << problem << '\n';
        return 2;
    }
    return RunExportCommand(app, options, out, err);
}

int CheckTool(Application& app, const CommandLine& line, std::ostream& out, std::ostream& err) {
    CheckOptions options;
    std::string problem;
    if (!ParseCheckOptions(line, options, problem)) {
        err << "cardwright " << problem << '\n';
        return 2;
    }
    return RunCheckCommand(app, options, out, err);
}

int CompareTool(Application& app, const CommandLine& line, std::ostream& out, std::ostream& err) {
    CompareOptions options;
    std::string problem;
    if (!ParseCompareOptions(line, options, problem)) {
        err << "cardwright " << problem << '\n';
        return 2;
    }
    return RunCompareCommand(app, options, out, err);
}

} // namespace

const std::vector<CommandEntry>& CommandTable() {
    const OptionSyntax card{"card", "NAME", "The card, by its name in the card list."};
    const OptionSyntax format{"format", "CODE",
                              "The card format, by its code (see 'cardwright formats'); the "
                              "format last used without it."};
    static const std::vector<CommandEntry> table = {
        {"formats",
         "List the installed card formats",
         "formats [OPTIONS]",
         "Writes one line per installed card format: its slot, code, file extension, whether "
         "it has a back page, and its name, separated by tabs.",
         {},
         FormatsTool},
        {"render",
         "Draw one page of a card as a picture or a PDF",
         "render --card NAME --out FILE [OPTIONS]",
         "Draws one page of a card as the screen shows it (PNG, JPEG, BMP, GIF), or as it "
         "prints with the format's print settings (PDF).",
         {card,
          format,
          {"side", "front|back", "The page to draw (default front)."},
          {"partner", "", "Draw the partner's card: the names swapped as on his copy."},
          {"zoom", "N", "The scale of the picture, from 0.2 to 8 (default: the format's)."},
          {"out", "FILE", "The file to write: .png, .jpg, .jpeg, .bmp, .gif or .pdf."}},
         RenderTool},
        {"print",
         "Print cards on a printer or into a PDF file",
         "print --card NAME|'*' [OPTIONS]",
         "Prints a card, or every card of the format with --card '*', with the format's print "
         "settings. The output is written only when every page could be printed.",
         {{"card", "NAME|'*'", "The card to print, or '*' for every card of the format."},
          format,
          {"side", "front|back|both",
           "The pages to print, each on a sheet of its own (default: the format's setting)."},
          {"cards", "mine|partner|both", "Whose copy to print (default mine)."},
          {"black", "", "Print every ink black, for a printer without colour."},
          {"one-sheet", "",
           "Print both sides side by side on one landscape sheet, as the folded printed card "
           "(with --side both, which it implies)."},
          {"pdf", "FILE", "Write the pages into this PDF file."},
          {"printer", "NAME", "Print on this printer (default: the system's default printer)."},
          {"skip-unreadable", "",
           "With --card '*': leave out a card that cannot be read whole and say so, instead of "
           "printing nothing."}},
         PrintTool},
        {"export",
         "Save a card's pages as pictures or as a PDF",
         "export --card NAME --out FILE [OPTIONS]",
         "Saves the card's pages as pictures (the back page's file has '_' added to the name) "
         "or both pages as one PDF file. Nothing is written unless every page could be.",
         {card,
          format,
          {"out", "FILE", "The file to write: .png, .jpg, .jpeg, .bmp, .gif or .pdf."},
          {"dpi", "N", "The pictures' resolution in dots per inch, from 24 to 1200."},
          {"filled-form", "",
           "Write the federation's own PDF form with the card's values in its fields (formats "
           "made from a fillable PDF)."}},
         ExportTool},
        {"check",
         "List the texts that are too long for their fields",
         "check --card NAME [OPTIONS]",
         "Lists every text of the card that is drawn smaller to fit its field or cut off. "
         "Exits 1 when a text is cut off.",
         {card, format},
         CheckTool},
        {"compare",
         "List the differences between two cards",
         "compare --card NAME --with NAME|FILE [OPTIONS]",
         "Lists every field in which two cards of the same format differ.",
         {card, {"with", "NAME|FILE", "The other card: a card name or a card file."}, format},
         CompareTool},
        {"format new",
         "Make a card format from a federation's blank card",
         "format new --from FILE --code CODE --name NAME [OPTIONS]",
         "Makes a card format from a blank card: the first one or two pages of a PDF file, or "
         "one or two pictures, become its front and back. The widgets of a fillable PDF form "
         "become the card's fields. Nothing is written unless the whole format could be.",
         {{"from", "FILE[,FILE]", "The blank card: a PDF file, or a front and a back picture."},
          {"code", "CODE", "The format's code: letters and digits, not one in use."},
          {"name", "NAME", "The format's name in the format list."},
          {"ext", "EXT", "The extension of its card files (default: from the code)."},
          {"pages", "N[,M]", "The PDF's pages for front and back (default 1,2)."}},
         RunFormatNewCommand},
        {"format export",
         "Save a card format as one file to share",
         "format export --format CODE --out FILE [OPTIONS]",
         "Saves a card format as one file (.cwformat): its settings, layouts, blank card and "
         "picture, but none of its cards. 'format import' installs it in another data root.",
         {{"format", "CODE", "The card format, by its code (see 'cardwright formats')."},
          {"out", "FILE", "The file to write, replaced only when the whole file is written."}},
         RunFormatExportCommand},
        {"format import",
         "Install a card format from a file 'format export' wrote",
         "format import --file FILE [OPTIONS]",
         "Installs the card format a .cwformat file holds. The file is refused, with nothing "
         "written, when it holds anything but the format's own files, or when its code, file "
         "extension or files are in use.",
         {{"file", "FILE", "The card format file (.cwformat)."}},
         RunFormatImportCommand},
        {"card new",
         "Make a new blank card of a format",
         "card new --format CODE --card NAME [OPTIONS]",
         "Makes a new card of the format from its blank pages, as 'Create a New Card' does.",
         {{"format", "CODE", "The card format, by its code (see 'cardwright formats')."},
          {"card", "NAME", "The new card's name."},
          {"from-pdf", "FILE", "Fill the card in from a filled copy of the format's PDF form."}},
         RunCardNewCommand},
    };
    return table;
}

const CommandEntry* FindCommand(const std::string& name) {
    for (const CommandEntry& entry : CommandTable())
        if (entry.name == name)
            return &entry;
    // The first word of a command of two words ("format" of "format new") names it while
    // no other command begins with it, so that its help is found by that word too.
    const CommandEntry* found = nullptr;
    for (const CommandEntry& entry : CommandTable())
        if (!name.empty() && entry.name.rfind(name + " ", 0) == 0) {
            if (found)
                return nullptr;
            found = &entry;
        }
    return found;
}

namespace {

constexpr size_t kHelpWidth = 79;

// text broken into lines of at most width characters at its blanks, every line but the first
// indented by indent blanks.
std::string Wrapped(const std::string& text, size_t width, size_t indent) {
    std::string result, line;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(' ', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string word = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.size() + 1 + word.size() > width) {
            result += line + "\n" + std::string(indent, ' ');
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    return result + line;
}

// Options as a help lists them: the option and its value, then the description, in columns.
std::string OptionLines(const std::vector<std::pair<std::string, std::string>>& rows) {
    size_t width = 0;
    for (const auto& row : rows)
        width = std::max(width, row.first.size());
    const size_t column = 2 + width + 3;
    std::string text;
    for (const auto& [left, right] : rows)
        text += "  " + left + std::string(width - left.size() + 3, ' ') +
                Wrapped(right, kHelpWidth - column, column) + "\n";
    return text;
}

std::vector<std::pair<std::string, std::string>> Rows(const std::vector<OptionSyntax>& options) {
    std::vector<std::pair<std::string, std::string>> rows;
    for (const OptionSyntax& option : options)
        rows.emplace_back("--" + option.name +
                              (option.valueName.empty() ? "" : " " + option.valueName),
                          option.description);
    return rows;
}

const std::string kExitStatus = "Exit status: 0 done, 1 failed (one line on standard error), 2 a "
                                "command or option that cannot be used.";

} // namespace

std::string ProgramHelp() {
    std::string text = "Usage: cardwright [--root DIR] [FILE]\n"
                       "       cardwright COMMAND [OPTIONS]\n"
                       "       cardwright help COMMAND\n\n" +
                       Wrapped("Cardwright fills in, lays out and prints bridge convention "
                               "cards. Without a command it opens its window on the data root, "
                               "and FILE, a card file, when one is given.",
                               kHelpWidth, 0) +
                       "\n\nThe commands run without a display:\n";
    std::vector<std::pair<std::string, std::string>> commands;
    for (const CommandEntry& entry : CommandTable())
        commands.emplace_back(entry.name, entry.summary);
    text += OptionLines(commands);
    text += "\nOptions:\n";
    auto rows = Rows(CommonOptions());
    rows.emplace_back("-h, --help", "Show this help; 'cardwright help COMMAND' for a command's.");
    rows.emplace_back("--version", "Show the program's version.");
    text += OptionLines(rows);
    return text + "\n" + Wrapped(kExitStatus, kHelpWidth, 0) + "\n";
}

std::string CommandHelp(const CommandEntry& command) {
    std::string text = "Usage: cardwright " + command.synopsis + "\n\n" +
                       Wrapped(command.description, kHelpWidth, 0) + "\n\nOptions:\n";
    std::vector<OptionSyntax> options = command.options;
    options.insert(options.end(), CommonOptions().begin(), CommonOptions().end());
    auto rows = Rows(options);
    rows.emplace_back("-h, --help", "Show this help.");
    text += OptionLines(rows);
    return text + "\n" + Wrapped(kExitStatus, kHelpWidth, 0) + "\n";
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
    out << FormatsListing(app.Context().Format.Catalogue());
    return 0;
}

} // namespace cw
