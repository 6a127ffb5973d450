#pragma once

#include "PrintJob.h"
#include "PrintOptionsModel.h"

#include <QPrinter>
#include <filesystem>
#include <functional>
#include <string>

namespace cw::test {

// Answers a print job's questions from the test: the printer is a PDF file, and the options
// are what choose makes of them.
struct ScriptedPrintQuestions : PrintQuestions {
    std::filesystem::path pdf;
    PrinterAnswer printerAnswer = PrinterAnswer::Chosen;
    std::string printerProblem;
    bool ok = true;
    std::function<void(PrintOptionsModel&)> choose;
    int printerAsked = 0;
    int optionsAsked = 0;
    // The file the print dialog was opened with.
    std::string proposed;

    PrinterAnswer ChoosePrinter(QPrinter& printer, std::string& problem) override {
        ++printerAsked;
        proposed = printer.outputFileName().toStdString();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf.string()));
        problem = printerProblem;
        return printerAnswer;
    }
    bool AskPrintOptions(PrintOptionsModel& model) override {
        ++optionsAsked;
        if (choose)
            choose(model);
        return ok;
    }
};

} // namespace cw::test
