#include "PrintCommand.h"

#include "AppContext.h"
#include "Application.h"
#include "CardCommand.h"
#include "CardPages.h"
#include "PictureFiles.h"
#include "PrintDocument.h"
#include "PrintOptionsModel.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace cw {

namespace {

// The cards of the current format by their names (no back pages), as the card list has them.
std::vector<std::string> AllCards(const AppContext& ctx) {
    const std::string& ext = ctx.Location.CardExt;
    const bool backPages = ctx.Catalogue.HasBackPage(ctx.CurrentFormat);
    std::vector<std::string> names;
    for (const std::string& file : ListFolder(ctx.Location.CardDir, "*" + ext)) {
        std::string name = file.substr(0, file.size() - ext.size());
        if (name.empty() || (backPages && name.back() == '_'))
            continue;
        names.push_back(name);
    }
    return names;
}

std::string InstalledPrinters() {
    std::string names;
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        names += " " + name.toStdString();
    return names.empty() ? " none" : names;
}

} // namespace

bool ParsePrintOptions(const CommandLine& line, PrintCommandOptions& options,
                       std::string& problem) {
    options.card = line.Value("--card").value_or("");
    if (options.card.empty()) {
        problem = "print: --card NAME (or '*' for every card) is required";
        return false;
    }
    options.format = line.Value("--format");
    if (auto side = line.Value("--side")) {
        if (*side == "front")
            options.side = PrintSide::Front;
        else if (*side == "back")
            options.side = PrintSide::Back;
        else if (*side == "both")
            options.side = PrintSide::Both;
        else {
            problem = "print: --side is front, back or both, not " + *side;
            return false;
        }
    }
    if (auto cards = line.Value("--cards")) {
        if (*cards == "mine")
            options.cards = PrintCardChoice::Mine;
        else if (*cards == "partner")
            options.cards = PrintCardChoice::Partner;
        else if (*cards == "both")
            options.cards = PrintCardChoice::Both;
        else {
            problem = "print: --cards is mine, partner or both, not " + *cards;
            return false;
        }
    }
    options.black = line.Has("--black");
    if (line.Has("--pdf") && line.Has("--printer")) {
        problem = "print: give --pdf FILE or --printer NAME, not both";
        return false;
    }
    if (auto pdf = line.Value("--pdf")) {
        // Relative to the folder the command was started in.
        options.pdf = std::filesystem::absolute(*pdf);
        if (!EqualsIgnoreCase(options.pdf->extension().string(), ".pdf")) {
            problem = "print: the --pdf file must end in .pdf: " + *pdf;
            return false;
        }
    }
    options.printer = line.Value("--printer");
    return true;
}

int RunPrintCommand(Application& app, const PrintCommandOptions& options, std::ostream& out,
                    std::ostream& err) {
    if (!SetUpCardCommand(app, options.format, err))
        return 1;
    AppContext& ctx = app.Context();
    const std::string code = ctx.Catalogue.Code(ctx.CurrentFormat);

    // Everything is checked before anything is written.
    std::vector<std::string> cards;
    if (options.card == "*") {
        cards = AllCards(ctx);
        if (cards.empty()) {
            err << "There are no cards of format " << code << " in "
                << ctx.Location.CardDir.string() << '\n';
            return 1;
        }
    } else {
        if (!CardFound(ctx, options.card, err))
            return 1;
        cards.push_back(options.card);
    }
    PrintOptionsModel model(ctx);
    if (options.side) {
        if (*options.side != PrintSide::Front && !model.HasBackPage()) {
            err << "Card format " << code << " has no back page.\n";
            return 1;
        }
        model.Choices().side = *options.side;
    }
    if (options.black)
        model.Choices().blackOnly = true;
    if (auto problem = model.Problem()) {
        err << "The saved print settings of format " << code << " cannot be used: " << *problem
            << '\n';
        return 1;
    }

    std::unique_ptr<QPrinter> printer;
    std::filesystem::path scratch;
    if (options.pdf) {
        if (!fs::is_directory(options.pdf->parent_path())) {
            err << "The folder " << options.pdf->parent_path().string() << " does not exist.\n";
            return 1;
        }
        scratch = options.pdf->string() + ".new";
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        SetUpPdfPrinter(ctx, *printer, scratch);
    } else {
        const QPrinterInfo info =
            options.printer ? QPrinterInfo::printerInfo(QString::fromStdString(*options.printer))
                            : QPrinterInfo::defaultPrinter();
        if (info.isNull()) {
            if (options.printer)
                err << "Printer " << *options.printer
                    << " is not installed. Installed:" << InstalledPrinters() << '\n';
            else
                err << "No printer is set up: give --printer NAME or --pdf FILE.\n";
            return 1;
        }
        printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
        OfferFormatPaper(ctx, *printer);
    }

    const int trapsBefore = app.Trap().TrapCount();
    PrintDocument document(ctx, *printer, model);
    if (!document.Start())
        return 1;
    for (const std::string& name : cards) {
        NamedCardPages pages(ctx, name);
        document.PrintCard(pages, options.cards);
    }
    const bool finished = document.Finish();
    std::error_code ec;
    if (options.pdf) {
        if (!finished || document.PagesPrinted() == 0 || !fs::exists(scratch)) {
            fs::remove(scratch, ec);
            err << "Cannot write " << options.pdf->string() << '\n';
            return 1;
        }
        try {
            MoveFileOver(ctx.fileSystem, scratch, *options.pdf);
        } catch (const std::exception& error) {
            fs::remove(scratch, ec);
            err << "Cannot write " << options.pdf->string() << ": " << error.what() << '\n';
            return 1;
        }
    } else if (!finished) {
        return 1;
    }
    if (document.FieldTooFarDown())
        err << "At least one field at the bottom of the page is too far down to print.\n";
    out << document.PagesPrinted() << (document.PagesPrinted() == 1 ? " page" : " pages") << " of "
        << cards.size() << (cards.size() == 1 ? " card" : " cards") << " printed to "
        << (options.pdf ? options.pdf->string() : printer->printerName().toStdString()) << '\n';
    // Errors trapped while printing were reported; the document holds what could be printed.
    return app.Trap().TrapCount() == trapsBefore ? 0 : 1;
}

} // namespace cw
