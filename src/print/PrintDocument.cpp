#include "PrintDocument.h"

#include "AppContext.h"
#include "CardPrinter.h"
#include "PrintOptionsModel.h"

#include <QPrinter>

namespace cw {

namespace {

constexpr int kPdfResolution = 600;

} // namespace

PrintDocument::PrintDocument(AppContext& ctx, QPrinter& printer, const PrintOptionsModel& model)
    : ctx_(ctx), printer_(printer), layout_(PrintLayoutFor(ctx, model, PaperIsA5(printer))) {}

PrintDocument::~PrintDocument() = default;

bool PrintDocument::Start() {
    if (printer_.outputFormat() == QPrinter::PdfFormat) {
        printer_.setResolution(kPdfResolution);
        // A file has no paper of its own: it gets the sheet the layout needs.
        OfferFormatPaper(ctx_, printer_, layout_.oneSheet);
    }
    if (!PreparePrinter(ctx_, printer_, layout_))
        return false;
    cardPrinter_ = std::make_unique<CardPrinter>(ctx_, printer_, layout_);
    return true;
}

void PrintDocument::PrintCard(CardPages& pages, PrintCardChoice choice) {
    if (!cardPrinter_)
        return;
    // The sheets InkCut planned for this card are printed as planned.
    if (planned_ && planned_->choice == choice)
        cardPrinter_->PrintSheets(pages, planned_->sheets);
    else
        cardPrinter_->PrintPages(pages, choice);
    planned_.reset();
}

std::optional<std::string> PrintDocument::InkCut(CardPages& pages, PrintCardChoice choice) {
    if (!cardPrinter_)
        return std::nullopt;
    planned_ = Plan{choice, cardPrinter_->PlanSheets(pages, choice)};
    return cardPrinter_->InkCut(planned_->sheets);
}

bool PrintDocument::Finish() {
    return cardPrinter_ && cardPrinter_->End();
}

int PrintDocument::PagesPrinted() const {
    return cardPrinter_ ? cardPrinter_->PagesPrinted() : 0;
}

std::optional<std::string> PrintDocument::InkCutSoFar() const {
    return cardPrinter_ ? cardPrinter_->InkCutSoFar() : std::nullopt;
}

bool PrintDocument::FieldTooFarDown() const {
    return cardPrinter_ && cardPrinter_->FieldTooFarDown();
}

void SetUpPdfPrinter(const AppContext& ctx, QPrinter& printer, const std::filesystem::path& path) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path.string()));
    printer.setCreator(QStringLiteral("Cardwright"));
    printer.setResolution(kPdfResolution);
    OfferFormatPaper(ctx, printer);
}

} // namespace cw
