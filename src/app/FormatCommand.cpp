#include "FormatCommand.h"

#include "Application.h"
#include "CardCommand.h"
#include "FilledCard.h"
#include "FormatArchive.h"
#include "FormatMaker.h"
#include "TextCodec.h"

#include <QString>
#include <QStringList>

namespace cw {

namespace {

// "N" or "N,M", pages counted from 1 as the user sees them; false when not so.
bool ParsePages(const std::string& text, std::vector<int>& pages) {
    const QStringList items = QString::fromStdString(text).split(',');
    if (items.size() > 2)
        return false;
    for (const QString& item : items) {
        bool ok = false;
        const int page = item.trimmed().toInt(&ok);
        if (!ok || page < 1)
            return false;
        pages.push_back(page - 1);
    }
    return true;
}

bool ParseFormatNew(const CommandLine& line, NewFormatRequest& request, std::string& problem) {
    for (const char* needed : {"--from", "--code", "--name"})
        if (!line.Has(needed)) {
            problem = std::string("format new: ") + needed + " is needed";
            return false;
        }
    for (const QString& file : QString::fromStdString(*line.Value("--from")).split(','))
        request.sources.emplace_back(file.toStdString());
    request.code = *line.Value("--code");
    request.name = *line.Value("--name");
    request.extension = line.Value("--ext").value_or("");
    if (line.Has("--pages") && !ParsePages(*line.Value("--pages"), request.pages)) {
        problem = "format new: --pages takes N or N,M (pages counted from 1)";
        return false;
    }
    return true;
}

bool IsUsableCardName(const std::string& name) {
    return !name.empty() && name.find_first_of("/\\:*?\"<>|") == std::string::npos &&
           name.front() != '.';
}

} // namespace

int RunFormatNewCommand(Application& app, const CommandLine& line, std::ostream& out,
                        std::ostream& err) {
    NewFormatRequest request;
    std::string problem;
    if (!ParseFormatNew(line, request, problem)) {
        err << "cardwright " << problem << '\n';
        return 2;
    }
    request.root = app.Context().paths.ProgramFolder;
    try {
        const FormatMaker maker(request);
        maker.Write();
        out << "Made card format " << maker.Record().code << " (" << maker.Record().name << "), "
            << maker.PageCount() << (maker.PageCount() == 1 ? " page, " : " pages, ")
            << maker.Bindings().size() << " form fields\n";
        return 0;
    } catch (const FormatMakerError& error) {
        err << error.what() << '\n';
        return 1;
    }
}

int RunFormatExportCommand(Application& app, const CommandLine& line, std::ostream& out,
                           std::ostream& err) {
    if (!line.Has("--format") || !line.Has("--out")) {
        err << "cardwright format export: --format and --out are needed\n";
        return 2;
    }
    const fs::path file = *line.Value("--out");
    try {
        const FormatRecordLines record =
            ExportFormat(app.Context().paths.ProgramFolder, *line.Value("--format"), file);
        out << "Exported card format " << record.code << " to " << file.string() << '\n';
        return 0;
    } catch (const FormatArchiveError& error) {
        err << error.what() << '\n';
        return 1;
    }
}

int RunFormatImportCommand(Application& app, const CommandLine& line, std::ostream& out,
                           std::ostream& err) {
    if (!line.Has("--file")) {
        err << "cardwright format import: --file is needed\n";
        return 2;
    }
    try {
        const FormatRecordLines record =
            ImportFormat(app.Context().paths.ProgramFolder, *line.Value("--file"));
        // The settings file is in the card code page; a terminal reads UTF-8.
        out << "Imported card format " << record.code << " ("
            << TextCodec::Western().Decode(record.name).toStdString() << ")\n";
        return 0;
    } catch (const FormatArchiveError& error) {
        err << error.what() << '\n';
        return 1;
    }
}

int RunCardNewCommand(Application& app, const CommandLine& line, std::ostream& out,
                      std::ostream& err) {
    if (!line.Has("--format") || !line.Has("--card")) {
        err << "cardwright card new: --format and --card are needed\n";
        return 2;
    }
    const std::string name = *line.Value("--card");
    if (!IsUsableCardName(name)) {
        err << "cardwright card new: '" << name << "' cannot be a card's file name\n";
        return 2;
    }
    if (!SetUpCardCommand(app, line.Value("--format"), err))
        return 1;
    AppContext& ctx = app.Context();
    const int slot = ctx.Format.Current();
    const FormatCatalogue& catalogue = ctx.Format.Catalogue();
    const fs::path& dir = ctx.Card.Location().CardDir;
    const std::string& ext = ctx.Card.Location().CardExt;
    const fs::path front = dir / (name + ext);
    const fs::path back = dir / (name + "_" + ext);
    if (ExistsAnyCase(front)) {
        err << "There is a card " << name << " already.\n";
        return 1;
    }
    try {
        const std::optional<std::string> filled = line.Value("--from-pdf");
        const FilledCardPages pages =
            filled ? NewCardPagesFromForm(ctx, fs::absolute(*filled)) : NewCardPages(ctx);
        for (const std::string& problem : pages.transfer.notTransferred)
            err << "Not read: " << problem << '\n';
        const std::string filledFrom = filled ? ", " + std::to_string(pages.transfer.fieldsSet) +
                                                    " fields from " +
                                                    fs::path(*filled).filename().string()
                                              : std::string();
        CreateFolderQuietly(dir);
        // The back page first: a card is listed by its front page, so a card that could not
        // be made whole does not appear.
        if (pages.back)
            WriteFileOver(ctx.fileSystem, back, *pages.back);
        WriteFileOver(ctx.fileSystem, front, pages.front);
        out << "Made card " << name << " of format " << catalogue.Code(slot) << filledFrom << '\n';
        return 0;
    } catch (const FilledFormError& error) {
        err << "The card was not made: " << error.what() << '\n';
    } catch (const RuntimeError& error) {
        err << "The card was not made: " << error.what() << '\n';
    }
    return 1;
}

} // namespace cw
