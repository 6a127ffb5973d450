#pragma once

#include "PrintLayout.h"
#include "PrintSettings.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QPrinter;

namespace cw {

class AppContext;
class CardPages;
class CardPrinter;
struct PlannedSheet;
class PrintOptionsModel;

// One printed document: a printer set up for the chosen options, and the cards printed
// into it one after the other.
class PrintDocument {
public:
    PrintDocument(AppContext& ctx, QPrinter& printer, const PrintOptionsModel& model);
    ~PrintDocument();

    // Sets the printer up; false when it refuses (reported to the error trap).
    bool Start();
    // Prints the open card of pages (Start first).
    void PrintCard(CardPages& pages, PrintCardChoice choice);
    // What of the open card's ink would fall off the paper ("4 mm at the right"); nullopt
    // when all of it is on the paper (Start first). The next PrintCard of the same card
    // prints the sheets planned here.
    std::optional<std::string> InkCut(CardPages& pages, PrintCardChoice choice);
    // Ends the document; false when the printer failed (reported to the error trap).
    bool Finish();

    const PrintLayout& Layout() const { return layout_; }
    int PagesPrinted() const;
    // What of the printed sheets' ink fell off the paper; nullopt when none did.
    std::optional<std::string> InkCutSoFar() const;
    bool FieldTooFarDown() const;

private:
    AppContext& ctx_;
    QPrinter& printer_;
    PrintLayout layout_;
    std::unique_ptr<CardPrinter> cardPrinter_;
    struct Plan {
        PrintCardChoice choice;
        std::vector<PlannedSheet> sheets;
    };
    std::optional<Plan> planned_;
};

// Makes printer write a PDF file at path, on the current format's own paper, at the
// resolution of a fine printer (so that lines keep their weight).
void SetUpPdfPrinter(const AppContext& ctx, QPrinter& printer, const std::filesystem::path& path);

} // namespace cw
