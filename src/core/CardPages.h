#pragma once

#include "Prompter.h"

#include <string>

namespace cw {

class AppContext;

// The pages of the open card as a print job or a picture export walks through them. The
// program holds one page at a time (the front or the back); a job asks for the page it
// draws next and leaves the last one it drew open, as a user switching sides would.
class CardPages {
public:
    virtual ~CardPages() = default;

    virtual bool CardOpen() const = 0;
    // The save question before a job: Yes saves, No keeps the changes unsaved.
    virtual Answer AskSaveChanges() = 0;
    // Saves the open page.
    virtual bool SaveCard() = 0;
    // Opens the front (false) or the back page; false when it could not be read.
    virtual bool ShowPage(bool back) = 0;
    // The job is over: whatever shows the card draws it again.
    virtual void JobDone() {}
};

// The pages of one card file, found by its name in the current format's folder, for the
// command-line tools: nothing is asked and nothing is saved.
class NamedCardPages : public CardPages {
public:
    NamedCardPages(AppContext& ctx, std::string cardName);

    // Whether the card's front page file exists.
    bool Exists() const;
    // Opens the front page.
    bool Open();

    bool CardOpen() const override { return open_; }
    Answer AskSaveChanges() override { return Answer::No; }
    bool SaveCard() override { return true; }
    bool ShowPage(bool back) override;

private:
    AppContext& ctx_;
    std::string name_;
    bool open_ = false;
};

} // namespace cw
