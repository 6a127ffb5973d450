#pragma once

#include "CardFormatView.h"
#include "CardLibrary.h"
#include "ChangedState.h"
#include "ErrorTrap.h"

#include <optional>
#include <string>
#include <vector>

namespace cw::test {

// Records the errors the trap would show.
struct TrapRecorder : ErrorPresenter {
    std::vector<ErrorState> shown;
    void ShowError(const ErrorState& state) override { shown.push_back(state); }
};

// The main window's views as plain state, for the logic tests.
struct FakeMainViews : CardFormatView, CardLibraryView, ChangedStateView {
    std::vector<std::string> list;
    int selected = -1;
    bool firstCardHint = false;
    std::string selectionPrompt;
    bool cancelVisible = false;
    std::string status;
    bool backSide = false;
    bool sideButtonsEnabled = true;
    int cardFaceShown = 0;
    bool saveEnabled = false;
    bool cardCommandsEnabled = false;
    bool namesEditable = false;
    std::string formatName;
    CardLibrary* library = nullptr; // refilled by RefillCardList when set

    void SetSideButtonsEnabled(bool enabled) override { sideButtonsEnabled = enabled; }
    void SelectFrontSide() override { backSide = false; }
    void SizeCardPicture() override {}
    void ShowFormatName(const std::string& name) override { formatName = name; }
    void SetCardListPattern(const std::string&) override {}
    void ShowFormatPicture(const std::optional<fs::path>&) override {}
    void ShowSpecialNoticeLabel(bool) override {}
    void RefillCardList() override {
        if (library)
            library->FillCardList();
    }

    void ShowCardList(const std::vector<std::string>& entries) override { list = entries; }
    void SelectCardInList(int index) override { selected = index; }
    void ShowFirstCardHint(bool visible) override { firstCardHint = visible; }
    void ShowSelectionPrompt(const std::string& text, bool cancel) override {
        selectionPrompt = text;
        cancelVisible = cancel;
    }
    void ShowCardStatus(const std::string& text) override { status = text; }
    void ShowSide(bool back) override { backSide = back; }
    void ShowCardFace() override { ++cardFaceShown; }

    void EnableSaveCommands(bool enabled) override { saveEnabled = enabled; }
    void EnableCardCommands(bool enabled, bool names) override {
        cardCommandsEnabled = enabled;
        namesEditable = names;
    }
};

// A transfer folder picker that answers from the test.
struct FakeFolderChooser : TransferFolderChooser {
    std::optional<fs::path> folder;
    int asked = 0;
    std::optional<fs::path> ChooseTransferFolder(const std::string&) override {
        ++asked;
        return folder;
    }
};

} // namespace cw::test
