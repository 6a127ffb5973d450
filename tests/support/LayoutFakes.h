#pragma once

#include "AppContext.h"
#include "LayoutEditSession.h"
#include "MainSession.h"
#include "ScriptedPrompter.h"
#include "SessionFakes.h"
#include "TestFiles.h"
#include "UndoHistory.h"

#include <gtest/gtest.h>

namespace cw::test {

// The window of layout editing as plain state.
struct FakeLayoutView : LayoutEditView {
    unsigned changes = 0;
    int redraws = 0;
    int reloads = 0;
    int done = 0;
    std::string editorText;
    std::optional<FontChoice> fontAnswer;
    std::optional<FontChoice> fontPreset;

    void LayoutChanged(unsigned c) override { changes |= c; }
    void RedrawCard() override { ++redraws; }
    std::string EditorText() const override { return editorText; }
    void SetEditorText(const std::string& text) override { editorText = text; }
    std::optional<FontChoice> ChooseFont(const FontChoice& preset) override {
        fontPreset = preset;
        return fontAnswer;
    }
    void ReloadCard() override { ++reloads; }
    void ShowHelp(int) override {}
    void SaveCardAs() override {}
    void LayoutEditingDone() override { ++done; }
    CardArea VisibleCard() const override { return {0, 0, 11520, 15120}; }
    std::pair<double, double> PanelSize(int) const override { return {5300, 3950}; }
    std::pair<double, double> MarkerOffsetOnPanel() const override { return {2260, 1200}; }
    HitMetrics Metrics() const override { return {120, 240, 15}; }
    // The card's base text is black here.
    int32_t TextColourOfCode(int32_t code) const override { return ShapeColourOfCode(code); }
};

// An open card page of the test format (11520 x 15120 twips, Arial), with its history and
// a layout editing session on it.
class LayoutFixture : public ::testing::Test {
protected:
    // Writes the card TEST/lay.tst with records and opens it.
    void OpenCard(const std::vector<std::string>& records, FormatSpec format = FormatSpec{}) {
        MakeDataRoot(dir.Path(), {format});
        std::vector<std::string> lines = HeaderBlock("Ann", {"1", "", "Bob", "2"});
        lines.insert(lines.end(), records.begin(), records.end());
        WriteLines(dir / "TEST" / "lay.tst", lines);
        WriteLines(dir / "TEST" / "lay_.tst", HeaderBlock("Ann", {}));
        views.library = &main.Library();
        main.Changed().AddView(&views);
        main.Changed().AddView(&history);
        ctx.ReadSystemSettings();
        ASSERT_TRUE(main.Load());
        ASSERT_TRUE(main.Library().OpenCard(0));
        ctx.Format.EditDefaults().BasicFontSize = 10;
    }
    bool Changed() { return main.Changed().CardChanged(); }
    const CardField& Text(int i) { return ctx.Card.Page().Field(TextField, i); }
    // Types text into text field i as one step of the card's history.
    void Type(int i, std::string text) {
        ChangeScope change(&history, "Typing");
        ctx.Card.Edit().Field(TextField, i).text = std::move(text);
    }
    // A drag with the left button from one point to another.
    void Draw(double x1, double y1, double x2, double y2) {
        edit.MouseDown(x1, y1);
        edit.MouseMove((x1 + x2) / 2, (y1 + y2) / 2);
        edit.MouseUp(x2, y2);
    }
    void SaveChange() { edit.ActionButton(PanelButton::SaveChange); }

    TempDir dir;
    ScriptedPrompter prompter;
    TrapRecorder errors;
    ErrorTrap trap{prompter, errors};
    AppContext ctx{dir.Path(), prompter, trap};
    FakeMainViews views;
    FakeFolderChooser chooser;
    MainSession main{ctx, views, views, chooser};
    UndoHistory history{ctx.Card, main.Changed()};
    FakeLayoutView view;
    LayoutEditSession edit{ctx, main.Changed(), &history, view};
};

} // namespace cw::test
