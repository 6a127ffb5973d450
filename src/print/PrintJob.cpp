#include "PrintJob.h"

#include "AppContext.h"
#include "CardPages.h"
#include "ErrorTrap.h"
#include "OpenCardCheck.h"
#include "PrintDocument.h"
#include "PrintLocations.h"
#include "PrintOptionsModel.h"
#include "ProgramTexts.h"

#include <QDir>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <optional>

namespace cw {

namespace {

// Ends a job the same way however it ends: spooling no longer shown, the own card shown.
class JobRestore {
public:
    JobRestore(CardPages& pages, PrintQuestions& questions)
        : pages_(pages), questions_(questions) {}
    ~JobRestore() {
        questions_.ShowSpooling(false);
        // The screen shows the user's own card again. The job chose its printer for itself
        // alone: the system's default printer was never changed, so there is nothing to
        // write back.
        pages_.JobDone();
    }

private:
    CardPages& pages_;
    PrintQuestions& questions_;
};

} // namespace

PrintJob::PrintJob(AppContext& ctx, CardPages& pages, PrintQuestions& questions)
    : ctx_(ctx), pages_(pages), questions_(questions) {}

int PrintJob::PrintCard(PrintCardChoice choice) {
    int printed = 0;
    JobRestore restore(pages_, questions_);
    ctx_.errorTrap.Guard(
        loc::PrintCard, [&] { printed = Print(choice); },
        [choice] { return std::vector<ErrValue>{int(choice)}; });
    return printed;
}

bool PrintJob::PrintDespiteCutOffText() {
    OverflowCheck check(ctx_.errorTrap);
    const std::vector<FieldOverflow> found = CheckOpenCard(ctx_, check);
    const auto cut = std::count_if(found.begin(), found.end(), IsCutOff);
    if (cut == 0)
        return true;
    const std::string fields =
        cut == 1 ? std::string("One field has text") : std::to_string(cut) + " fields have text";
    std::optional<size_t> choice = ctx_.prompter.Choose(
        fields + " too long to show whole even in smaller letters: it is cut off at the "
                 "field's edge on paper too.\n\nPrint the card anyway, or show the fields "
                 "to shorten their text?",
        GetProgramText(TextId::ProgramName), {"Print Anyway", "Show Them"});
    if (choice == size_t(0))
        return true;
    cutOffTextAsked_ = choice.has_value();
    return false;
}

int PrintJob::Print(PrintCardChoice choice) {
    Prompter& prompter = ctx_.prompter;
    if (!pages_.CardOpen()) {
        prompter.Beep();
        prompter.Message(GetProgramText(TextId::NoCardOpened), GetProgramText(TextId::ProgramName),
                         Buttons::Ok, Icon::Information);
        return 0;
    }
    // Cancel to the save question cancels the print command.
    if (pages_.AskSaveChanges() == Answer::Cancel)
        return 0;
    if (!PrintDespiteCutOffText())
        return 0;

    QPrinter printer(QPrinter::HighResolution);
    OfferFormatPaper(ctx_, printer);
    // Without a printer the dialog can only print to a file: it proposes one of the card's
    // name in the home folder.
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        std::string name = ctx_.Card.Location().CurrentCardName;
        if (ctx_.Card.BackSide() && !name.empty() && name.back() == '_')
            name.pop_back();
        printer.setOutputFileName(proposedFile_.empty()
                                      ? QDir::home().filePath(QString::fromStdString(name) + ".pdf")
                                      : QString::fromStdString(proposedFile_.string()));
    }
    std::string problem;
    switch (questions_.ChoosePrinter(printer, problem)) {
    case PrintQuestions::PrinterAnswer::Cancelled:
        return 0;
    case PrintQuestions::PrinterAnswer::Failed:
        prompter.Message("Printer selection error: " + problem, GetProgramText(TextId::ProgramName),
                         Buttons::Ok, Icon::Warning);
        return 0;
    case PrintQuestions::PrinterAnswer::Chosen:
        break;
    }
    PrintOptionsModel model(ctx_);
    if (!questions_.AskPrintOptions(model))
        return 0;

    int printed = 0;
    bool tooFarDown = false;
    {
        BusyScope busy(prompter);
        questions_.ShowSpooling(true);
        PrintDocument document(ctx_, printer, model);
        if (!document.Start())
            return 0;
        if (auto cut = document.InkCut(pages_, choice)) {
            questions_.ShowSpooling(false);
            const std::optional<size_t> answer = prompter.Choose(
                "The card does not fit on this paper at its print size: " + *cut +
                    " of it would be cut off.\n\nChoose a smaller Print Width and Height or "
                    "larger paper, or print it as it is.",
                GetProgramText(TextId::ProgramName), {"Print Anyway", "Cancel"});
            if (answer != size_t(0))
                return 0;
            questions_.ShowSpooling(true);
        }
        document.PrintCard(pages_, choice);
        document.Finish();
        printed = document.PagesPrinted();
        if (printed > 0 && printer.outputFormat() == QPrinter::PdfFormat)
            printedFile_ = printer.outputFileName().toStdString();
        tooFarDown = document.FieldTooFarDown();
        questions_.ShowSpooling(false);
    }
    if (tooFarDown)
        prompter.Message("At least one field at the bottom of the page is too far down to print.",
                         GetProgramText(TextId::ProgramName), Buttons::Ok, Icon::Warning);
    return printed;
}

} // namespace cw
