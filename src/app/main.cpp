// The program's entry: the desktop program, or one of its command-line tools.
#include "Application.h"
#include "CommandLine.h"
#include "Commands.h"
#include "ConsoleErrorPresenter.h"
#include "DataRoot.h"
#include "DataRootLock.h"
#include "ErrorDialog.h"
#include "HelpTopics.h"
#include "HelpWindow.h"
#include "MainWindow.h"
#include "PendingFiles.h"
#include "QtPrompter.h"
#include "ScriptedPrompter.h"

#include <QApplication>
#include <QGuiApplication>
#include <iostream>

namespace {

int RunCommand(const cw::CommandEntry& tool, const cw::CommandLine& line,
               const std::filesystem::path& root) {
    cw::ScriptedPrompter prompter; // commands never wait for an answer
    cw::Application app(root, prompter);
    cw::ConsoleErrorPresenter presenter(app.Log(), app.Context());
    app.SetErrorPresenter(&presenter);
    // Whatever a tool does, the data root's settings stay as the program left them.
    app.Context().OnlyReadsDataRoot = true;
    int code = tool.run(app, line, std::cout, std::cerr);
    for (const std::string& text : prompter.MessageTexts())
        std::cerr << text << '\n';
    app.UnregisterFonts();
    return code;
}

void KeepQtQuiet(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << "cardwright: " << message.toStdString() << '\n';
}

} // namespace

int main(int argc, char** argv) {
    const cw::CommandLine line = cw::CommandLine::Parse({argv + 1, argv + argc});
    switch (line.request) {
    case cw::CommandLine::Request::UsageError:
        std::cerr << line.error << '\n';
        return 2;
    case cw::CommandLine::Request::Version:
        std::cout << "Cardwright " << cw::kAppVersion << '\n';
        return 0;
    case cw::CommandLine::Request::ProgramHelp:
        std::cout << cw::ProgramHelp();
        return 0;
    case cw::CommandLine::Request::CommandHelp:
        std::cout << cw::CommandHelp(*cw::FindCommand(line.command));
        return 0;
    case cw::CommandLine::Request::Command:
    case cw::CommandLine::Request::Program:
        break;
    }
    // `cardwright FILE` (a double click in the file manager) opens that card file.
    std::optional<std::filesystem::path> cardFile;
    if (line.file) {
        if (!std::filesystem::is_regular_file(*line.file)) {
            std::cerr << "cardwright: no such card file: " << *line.file << '\n';
            return 1;
        }
        cardFile = std::filesystem::absolute(*line.file);
    }
    const cw::CommandEntry* tool = cw::FindCommand(line.command);
    std::filesystem::path root = line.Value("--root").value_or(cw::DefaultDataRoot().string());
    root = std::filesystem::absolute(root);

    if (tool) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
            qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // A command says what went wrong in one line of its own; Qt's warnings on the way
        // (a painter that could not start, a font it substituted) would only bury it.
        qInstallMessageHandler(KeepQtQuiet);
        cw::PendingFiles::RemoveScratchFilesOnSignals();
        QGuiApplication qtApp(argc, argv);
        std::string problem;
        if (!cw::PrepareDataRoot(root, problem)) {
            std::cerr << problem << '\n';
            return 1;
        }
        return RunCommand(*tool, line, root);
    }

    QApplication qtApp(argc, argv);
    QApplication::setApplicationName("Cardwright");
    cw::QtPrompter prompter;
    std::string problem;
    if (!cw::PrepareDataRoot(root, problem)) {
        static_cast<cw::Prompter&>(prompter).Message(problem, "Cardwright", cw::Buttons::Ok,
                                                     cw::Icon::Critical);
        return 1;
    }
    cw::DataRootLock rootLock(root);
    if (rootLock.TryTake() == cw::DataRootLock::Outcome::HeldByOther) {
        static_cast<cw::Prompter&>(prompter).Message(rootLock.Problem(), "Cardwright",
                                                     cw::Buttons::Ok, cw::Icon::Warning);
        return 1;
    }
    cw::Application app(root, prompter);
    cw::ErrorDialog errorDialog(prompter, app.Log(), app.Context());
    app.SetErrorPresenter(&errorDialog);
    cw::AddHelpKey(errorDialog, cw::HelpTroubleshooting);
    if (!app.RunStartup()) {
        app.UnregisterFonts();
        return 1;
    }
    int code = 0;
    {
        cw::MainWindow window(app.Context());
        prompter.SetParent(&window);
        window.show();
        if (cardFile)
            window.OpenCardFile(*cardFile);
        code = qtApp.exec();
        prompter.SetParent(nullptr);
    }
    app.UnregisterFonts();
    return code;
}
