#include "ScriptedPrompter.h"

namespace cw {

namespace {
Answer FirstButtonAnswer(Buttons buttons) {
    switch (buttons) {
    case Buttons::Ok:
    case Buttons::OkCancel:
        return Answer::Ok;
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
        return Answer::Yes;
    }
    return Answer::Ok;
}
} // namespace

Answer ScriptedPrompter::Message(const std::string& text, const std::string& title, Buttons buttons,
                                 Icon, DefaultButton defaultButton) {
    log_.push_back({Asked::Kind::Message, text, title, buttons, defaultButton});
    if (answers_.empty())
        return FirstButtonAnswer(buttons);
    Answer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::optional<std::string> ScriptedPrompter::Input(const std::string& prompt,
                                                   const std::string& title, const std::string&) {
    log_.push_back({Asked::Kind::Input, prompt, title});
    if (inputs_.empty())
        return std::nullopt;
    auto text = inputs_.front();
    inputs_.pop_front();
    return text;
}

std::optional<size_t> ScriptedPrompter::Choose(const std::string& text, const std::string& title,
                                               const std::vector<std::string>&) {
    log_.push_back({Asked::Kind::Choice, text, title});
    if (choices_.empty())
        return std::nullopt;
    auto choice = choices_.front();
    choices_.pop_front();
    return choice;
}

void ScriptedPrompter::Beep() {
    log_.push_back({Asked::Kind::Beep, {}, {}});
}

std::vector<std::string> ScriptedPrompter::MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& asked : log_)
        if (asked.kind == Asked::Kind::Message)
            texts.push_back(asked.text);
    return texts;
}

int ScriptedPrompter::BeepCount() const {
    int count = 0;
    for (const auto& asked : log_)
        count += asked.kind == Asked::Kind::Beep;
    return count;
}

} // namespace cw
