#pragma once

#include "Prompter.h"

class QWidget;

namespace cw {

// Message boxes, input boxes, the beep and the busy pointer through Qt's dialogs.
class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    Answer Message(const std::string& text, const std::string& title, Buttons buttons, Icon icon,
                   DefaultButton defaultButton) override;
    std::optional<std::string> Input(const std::string& prompt, const std::string& title,
                                     const std::string& initial) override;
    std::optional<std::string> Password(const std::string& prompt,
                                        const std::string& title) override;
    std::optional<size_t> Choose(const std::string& text, const std::string& title,
                                 const std::vector<std::string>& choices) override;
    void Beep() override;
    void SetBusy(bool busy) override;
    void ResetBusy() override;

private:
    QWidget* parent_;
    int busyDepth_ = 0;
};

} // namespace cw
