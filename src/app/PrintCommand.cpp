#include "PrintCommand.h"

#include "AppContext.h"
#include "Application.h"
#include "CardCommand.h"
#include "CardPageReader.h"
#include "CardPages.h"
#include "PendingFiles.h"
#include "PictureFiles.h"
#include "PrintDocument.h"
#include "PrintOptionsModel.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace cw {

namespace {

// The cards of the current format by their names (no back pages), as the card list has them.
std::vector<std::string> AllCards(const AppContext& ctx) {
    const std::string& ext = ctx.Card.Location().CardExt;
    const bool backPages = ctx.Format.HasBackPage();
    std::vector<std::string> names;
    for (const std::string& file : ListFolder(ctx.Card.Location().CardDir, "*" + ext)) {
        std::string name = file.substr(0, file.size() - ext.size());
        if (name.empty() || (backPages && name.back() == '_'))
            continue;
        names.push_back(name);
    }
    return names;
}

// Why the pages of the card that a print of side needs cannot be read whole; nullopt when
// they can. Reads without opening the card and without creating anything.
std::optional<std::string> UnreadableCard(const AppContext& ctx, const std::string& name,
                                          PrintSide side) {
    std::vector<bool> sides;
    if (side != PrintSide::Back)
        sides.push_back(false);
    if (side != PrintSide::Front && ctx.Format.HasBackPage())
        sides.push_back(true);
    for (bool back : sides) {
        CardLocation location = ctx.Card.Location();
        location.CurrentCardName = name + (back ? "_" : "");
        const std::string file = location.PagePath().string();
        try {
            auto page = ReadCardPage(location, back, ctx.Format.BackTemplateForMissingPage());
            if (!page)
                return "The card " + name + " has no " + (back ? "back" : "front") +
                       " page: " + file + " is missing.";
            if (page->ReadIncompletely)
                return "The card file " + file + " is not a card file or is damaged.";
        } catch (const std::exception& error) {
            return "The card file " + file + " cannot be read: " + error.what();
        }
    }
    return std::nullopt;
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
    options.oneSheet = line.Has("--one-sheet");
    if (options.oneSheet && options.side && *options.side != PrintSide::Both) {
        problem = "print: --one-sheet puts both sides on one sheet; it goes with --side both";
        return false;
    }
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
    options.skipUnreadable = line.Has("--skip-unreadable");
    return true;
}

int RunPrintCommand(Application& app, const PrintCommandOptions& options, std::ostream& out,
                    std::ostream& err) {
    if (!SetUpCardCommand(app, options.format, err))
        return 1;
    AppContext& ctx = app.Context();
    const std::string code = ctx.Format.Code();

    // Everything is checked before anything is written.
    std::vector<std::string> cards;
    if (options.card == "*") {
        cards = AllCards(ctx);
        if (cards.empty()) {
            err << "There are no cards of format " << code << " in "
                << ctx.Card.Location().CardDir.string() << '\n';
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
        // The sides given on the command line stand for themselves: one sheet only when asked.
        model.Choices().oneSheet = false;
    }
    if (options.black)
        model.Choices().blackOnly = true;
    if (options.oneSheet) {
        if (!model.HasBackPage()) {
            err << "Card format " << code << " has no back page to print beside its front.\n";
            return 1;
        }
        model.Choices().side = PrintSide::Both;
        model.Choices().oneSheet = true;
    }
    if (auto problem = model.Problem()) {
        err << "The saved print settings of format " << code << " cannot be used: " << *problem
            << '\n';
        return 1;
    }
    // A card that cannot be read whole would print without a page and put every later card
    // on the wrong side of the sheet: the job stops, or leaves the card out when asked to.
    std::vector<std::string> printable;
    for (const std::string& name : cards) {
        const auto problem = UnreadableCard(ctx, name, model.Choices().side);
        if (!problem) {
            printable.push_back(name);
        } else if (options.skipUnreadable) {
            err << "Left out: " << *problem << '\n';
        } else {
            err << *problem
                << (cards.size() > 1 ? " Nothing was printed (--skip-unreadable "
                                       "prints the other cards)."
                                     : "")
                << '\n';
            return 1;
        }
    }
    if (printable.empty()) {
        err << "No card could be read; nothing was printed.\n";
        return 1;
    }

    PendingFiles pending;
    std::unique_ptr<QPrinter> printer;
    if (options.pdf) {
        if (!OutputFileWritable(*options.pdf, err))
            return 1;
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        SetUpPdfPrinter(ctx, *printer, pending.Add(*options.pdf));
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
        OfferFormatPaper(ctx, *printer,
                         model.Choices().side == PrintSide::Both && model.Choices().oneSheet);
    }

    const int trapsBefore = app.Trap().TrapCount();
    PrintDocument document(ctx, *printer, model);
    if (!document.Start()) {
        if (options.pdf)
            err << "Cannot write " << options.pdf->string() << ".\n";
        return 1;
    }
    for (const std::string& name : printable) {
        NamedCardPages pages(ctx, name);
        document.PrintCard(pages, options.cards);
    }
    const bool finished = document.Finish();
    // Errors trapped on the way were reported, one line each; the job is then given up whole.
    if (!finished || app.Trap().TrapCount() != trapsBefore || document.PagesPrinted() == 0)
        return 1;
    if (options.pdf) {
        try {
            pending.Commit(ctx.fileSystem);
        } catch (const std::exception& error) {
            err << error.what() << '\n';
            return 1;
        }
    }
    if (document.FieldTooFarDown())
        err << "At least one field at the bottom of the page is too far down to print.\n";
    if (auto cut = document.InkCutSoFar())
        err << "The card does not fit on the paper at its print size; cut off: " << *cut << ".\n";
    out << document.PagesPrinted() << (document.PagesPrinted() == 1 ? " page" : " pages") << " of "
        << printable.size() << (printable.size() == 1 ? " card" : " cards") << " printed to "
        << (options.pdf ? options.pdf->string() : printer->printerName().toStdString()) << '\n';
    return 0;
}

} // namespace cw
