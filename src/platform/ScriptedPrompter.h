#pragma once

#include "Prompter.h"

#include <deque>
#include <string>
#include <vector>

namespace cw {

// A Prompter for tests and headless runs: records everything it is asked and answers from a
// script. With an empty script a message gets its first button's answer, and an input box
// and a choice are cancelled.
class ScriptedPrompter : public Prompter {
public:
    struct Asked {
        enum class Kind { Message, Input, Beep, Choice } kind;
        std::string text;
        std::string title;
        Buttons buttons = Buttons::Ok;
        DefaultButton defaultButton = DefaultButton::First;
    };

    void QueueAnswer(Answer answer) { answers_.push_back(answer); }
    void QueueInput(std::optional<std::string> text) { inputs_.push_back(std::move(text)); }
    // nullopt answers Cancel.
    void QueueChoice(std::optional<size_t> choice) { choices_.push_back(choice); }
    // Drops the answers queued for questions that were not asked.
    void ForgetQueued() {
        answers_.clear();
        inputs_.clear();
        choices_.clear();
    }

    Answer Message(const std::string& text, const std::string& title, Buttons buttons, Icon icon,
                   DefaultButton defaultButton) override;
    std::optional<std::string> Input(const std::string& prompt, const std::string& title,
                                     const std::string& initial) override;
    std::optional<size_t> Choose(const std::string& text, const std::string& title,
                                 const std::vector<std::string>& choices) override;
    void Beep() override;
    void SetBusy(bool busy) override {
        if (busy)
            ++busyDepth_;
        else if (busyDepth_ > 0)
            --busyDepth_;
    }
    void ResetBusy() override { busyDepth_ = 0; }

    const std::vector<Asked>& Log() const { return log_; }
    std::vector<std::string> MessageTexts() const;
    int BeepCount() const;
    int BusyDepth() const { return busyDepth_; }
    size_t UnusedAnswers() const { return answers_.size() + inputs_.size() + choices_.size(); }

private:
    std::deque<Answer> answers_;
    std::deque<std::optional<std::string>> inputs_;
    std::deque<std::optional<size_t>> choices_;
    std::vector<Asked> log_;
    int busyDepth_ = 0;
};

} // namespace cw
