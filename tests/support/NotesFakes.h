#pragma once

#include "NotesSession.h"

#include <string>
#include <vector>

namespace cw::test {

// The notes window as plain state: the edit box holds what the last block put there until a
// test types into it.
struct FakeNotesView : NotesView {
    bool listShown = false;
    std::vector<std::string> list;
    std::string notice;
    std::vector<std::string> block;
    int firstLine = -1;
    bool editing = false;
    bool saveEnabled = false;
    std::string editBox;
    // What UnwritableCharacters answers.
    std::string unwritable;

    void ShowFileList(const std::vector<std::string>& names, const std::string& text) override {
        listShown = true;
        list = names;
        notice = text;
    }
    void ShowBlock(const std::string&, const std::vector<std::string>& lines, int first,
                   int) override {
        listShown = false;
        block = lines;
        firstLine = first;
        editBox.clear();
        for (size_t i = 0; i < lines.size(); ++i)
            editBox += (i ? "\n" : "") + lines[i];
    }
    void ShowScrollPosition(int first) override { firstLine = first; }
    void ShowEditing(bool on) override { editing = on; }
    void EnableSave(bool on) override { saveEnabled = on; }
    std::string EditedText() const override { return editBox; }
    std::string UnwritableCharacters() const override { return unwritable; }
};

} // namespace cw::test
