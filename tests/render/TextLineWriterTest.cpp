#include "TextLineWriter.h"

#include "DrawingContext.h"
#include "RecordingSurface.h"
#include "ScriptedPrompter.h"
#include "SessionFakes.h"
#include "TestFiles.h"
#include "TextDrawer.h"

#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

// Plain text on paper, on the recorder (characters 100 twips wide, lines 200 high) acting as
// a printer whose page holds five lines.
TEST(TextLineWriter, PaperBreaksLongLinesAtBlanksAndStartsNewPagesAtTheBottom) {
    ScriptedPrompter prompter;
    TrapRecorder errors;
    ErrorTrap trap{prompter, errors};
    DrawingContext drawing;
    RenderState state;
    TextDrawer drawer(trap, drawing, state);
    RecordingSurface paper(100, 200);
    paper.ActAsPrinter(1, 1000);
    int newPages = 0;
    TextLineWriter writer(drawer, paper, {});
    writer.SetPaper(1000, [&] { ++newPages; });

    writer.Write("ab\tcd");
    writer.Write("one two three four");
    writer.Write("abcdefghijklmno");
    writer.WriteEmpty();
    writer.Write("last <s>");

    std::vector<std::string> texts;
    std::vector<double> ys;
    for (const auto& call : paper.CallsOf(RecordingSurface::Op::Text)) {
        texts.push_back(call.text);
        ys.push_back(call.y1);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"ab      cd", "one two", "three four", "abcdefghij",
                                               "klmno", "last ", "\u2660"}));
    // Five lines fill the first page; the rest start again at its top.
    EXPECT_EQ(ys, (std::vector<double>{0, 200, 400, 600, 800, 200, 200}));
    EXPECT_EQ(newPages, 1);
    EXPECT_EQ(writer.PageCount(), 2);
    EXPECT_TRUE(errors.shown.empty());
}

} // namespace
