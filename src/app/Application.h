#pragma once

#include "AppContext.h"
#include "ErrorLog.h"
#include "ErrorTrap.h"
#include "FontRegistry.h"

#include <memory>

namespace cw {

class Prompter;

// The objects of one run, wired together: the error log and trap, the application context
// on a data root, and the program's fonts. Needs a Qt GUI application object.
class Application {
public:
    Application(const fs::path& root, Prompter& prompter);
    ~Application();

    AppContext& Context() { return *context_; }
    ErrorLog& Log() { return *log_; }
    ErrorTrap& Trap() { return trap_; }

    // Where errors are shown: the error dialog in the program, the console in commands.
    void SetErrorPresenter(ErrorPresenter* presenter) { forward_.target = presenter; }

    enum class StartupMode {
        Program, // the desktop program
        Command, // a command-line tool: settings are read, never written, and the one-time
                 // notice is left pending for the program
    };

    // Start-up up to the point where the main window is shown. False when it failed and the
    // program must end.
    bool RunStartup(StartupMode mode = StartupMode::Program);

    // The program's fonts: the built-in ones and those of the root's fontsdir.
    const FontRegistry& Fonts() const { return fonts_; }

    // Takes the program's fonts out again.
    void UnregisterFonts();

    // The screen's twips per pixel: 1440 over its logical dots per inch, 15 without a screen.
    static int16_t ScreenTwipsPerPixel();

private:
    struct ForwardingPresenter : ErrorPresenter {
        ErrorPresenter* target = nullptr;
        void ShowError(const ErrorState& state) override {
            if (target)
                target->ShowError(state);
        }
    };

    Prompter& prompter_;
    ForwardingPresenter forward_;
    ErrorTrap trap_;
    std::unique_ptr<ErrorLog> log_;
    std::unique_ptr<AppContext> context_;
    FontRegistry fonts_;
};

} // namespace cw
