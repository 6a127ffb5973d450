#pragma once

#include "FileOps.h"

#include <optional>
#include <string>

namespace cw {

// The window steps of selecting a card format; the main window implements them.
class CardFormatView {
public:
    virtual ~CardFormatView() = default;
    virtual void SetSideButtonsEnabled(bool enabled) = 0;
    virtual void SelectFrontSide() = 0;
    virtual void SizeCardPicture() = 0;
    virtual void ShowFormatName(const std::string& displayName) = 0;
    virtual void SetCardListPattern(const std::string& pattern) = 0;
    virtual void ShowFormatPicture(const std::optional<fs::path>& picture) = 0;
    virtual void ShowSpecialNoticeLabel(bool visible) = 0;
    virtual void RefillCardList() = 0;
};

// A view that does nothing: for the command line and for start-up before the window exists.
class NoCardFormatView : public CardFormatView {
public:
    void SetSideButtonsEnabled(bool) override {}
    void SelectFrontSide() override {}
    void SizeCardPicture() override {}
    void ShowFormatName(const std::string&) override {}
    void SetCardListPattern(const std::string&) override {}
    void ShowFormatPicture(const std::optional<fs::path>&) override {}
    void ShowSpecialNoticeLabel(bool) override {}
    void RefillCardList() override {}
};

} // namespace cw
