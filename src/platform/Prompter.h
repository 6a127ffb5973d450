#pragma once

#include <optional>
#include <string>
#include <vector>

namespace cw {

// Answers of message boxes, with the numeric values the program has always used.
enum class Answer : int { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };

enum class Icon { None, Information, Question, Warning, Critical };

// Which button is the default one: the first, second or third.
enum class DefaultButton { First, Second, Third };

// Every message, question, input box and beep of the program goes through this interface, so
// that logic never talks to a dialog directly and flows can be scripted in tests.
// Texts are UTF-8.
class Prompter {
public:
    virtual ~Prompter() = default;

    virtual Answer Message(const std::string& text, const std::string& title, Buttons buttons,
                           Icon icon = Icon::None,
                           DefaultButton defaultButton = DefaultButton::First) = 0;

    // An input box; nullopt when the user cancels.
    virtual std::optional<std::string> Input(const std::string& prompt, const std::string& title,
                                             const std::string& initial) = 0;

    // A password box: what is typed is not shown. nullopt when the user cancels.
    virtual std::optional<std::string> Password(const std::string& prompt,
                                                const std::string& title) {
        return Input(prompt, title, {});
    }

    // A question whose answers are the given choices, with a Cancel beside them: the index of
    // the choice taken, nullopt for Cancel.
    virtual std::optional<size_t> Choose(const std::string& text, const std::string& title,
                                         const std::vector<std::string>& choices) {
        return std::nullopt;
    }

    virtual void Beep() = 0;

    // The busy pointer for long work; calls nest, and an unmatched "false" is ignored.
    virtual void SetBusy(bool busy) = 0;
    // Back to the normal pointer whatever the nesting (before an error dialog).
    virtual void ResetBusy() = 0;
};

// Sets the busy pointer for the lifetime of a scope.
class BusyScope {
public:
    explicit BusyScope(Prompter& prompter) : prompter_(prompter) { prompter_.SetBusy(true); }
    ~BusyScope() { prompter_.SetBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    Prompter& prompter_;
};

} // namespace cw
