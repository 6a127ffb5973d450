#pragma once

#include "PrintSettings.h"

#include <filesystem>
#include <string>

class QPrinter;

namespace cw {

class AppContext;
class CardPages;
class PrintOptionsModel;

// The questions a print job asks the user: a window answers them with dialogs, tests from a
// script.
class PrintQuestions {
public:
    enum class PrinterAnswer { Chosen, Cancelled, Failed };

    virtual ~PrintQuestions() = default;
    // The system's print dialog: the user picks the printer and its paper on printer. On
    // Failed, problem says why.
    virtual PrinterAnswer ChoosePrinter(QPrinter& printer, std::string& problem) = 0;
    // The print options; true on OK with the user's choices in model, false on Cancel.
    virtual bool AskPrintOptions(PrintOptionsModel& model) = 0;
    // The pages are on their way to the printer (true), or the job is over (false).
    virtual void ShowSpooling(bool spooling) {}
};

// A print command of the program: the user's card, the partner's or both, on the printer
// and with the options the user chooses.
class PrintJob {
public:
    PrintJob(AppContext& ctx, CardPages& pages, PrintQuestions& questions);

    // PrintCard: runs the whole job and returns the number of pages printed (0 when nothing
    // was printed). Whatever happens, the drawing state and the pages are left as the
    // program shows them.
    int PrintCard(PrintCardChoice choice);
    // The PDF file the print dialog proposes where no printer is installed; without one, the
    // card's name in the home folder.
    void ProposeFile(std::filesystem::path file) { proposedFile_ = std::move(file); }
    // After PrintCard: the PDF file the pages went into; empty when they went to a printer
    // or nothing was printed.
    const std::filesystem::path& PrintedFile() const { return printedFile_; }
    // After PrintCard: the user chose to see the fields whose text is cut off instead of
    // printing.
    bool CutOffTextAsked() const { return cutOffTextAsked_; }

private:
    int Print(PrintCardChoice choice);
    // Text cut off at a field's edge is said before anything is printed; false when the user
    // would rather see it (or cancels).
    bool PrintDespiteCutOffText();

    AppContext& ctx_;
    CardPages& pages_;
    PrintQuestions& questions_;
    bool cutOffTextAsked_ = false;
    std::filesystem::path proposedFile_;
    std::filesystem::path printedFile_;
};

} // namespace cw
