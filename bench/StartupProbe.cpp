// Start-up and memory, measured the way a user meets them: from the moment the process is
// started to the main window's first painted frame (offscreen platform), the resident
// memory with a card open, and its growth after every card of every format was opened many
// times. Not a test: it prints the figures (medians of several starts) and says whether the
// memory grew by more than 5 MB.
//
//   build/bench/bench_startup [--runs N] [--rounds N]
//
// The probe starts itself again for each run; the child does what the program's main does,
// on a copy of the shipped data.
#include "AppContext.h"
#include "Application.h"
#include "CardLibrary.h"
#include "DataRoot.h"
#include "ErrorDialog.h"
#include "MainWindow.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iostream>
#include <malloc.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

double Now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Resident memory in megabytes. Memory freed but kept by the allocator goes back first: what
// counts is what the program still holds.
double ResidentMb() {
    malloc_trim(0);
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atof(line.c_str() + 6) / 1024.0;
    return 0;
}

// Lets the window's first frame go out, then notes the time.
class FirstFrame : public QObject {
public:
    double at = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && at == 0)
            QTimer::singleShot(0, [this] {
                at = Now();
                QApplication::exit(0);
            });
        return false;
    }
};

struct Figures {
    double startup = 0, firstFrameMb = 0, cardOpenMb = 0, afterFirstRoundMb = 0, afterAllMb = 0;
};

// The child: the program's start-up, then the cards.
int Child(int argc, char** argv, const std::filesystem::path& root, int rounds, int out) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qtApp(argc, argv);
    std::string problem;
    if (!cw::PrepareDataRoot(root, problem))
        return 2;
    cw::ScriptedPrompter prompter;
    cw::Application app(root, prompter);
    cw::ErrorDialog errorDialog(prompter, app.Log(), app.Context());
    app.SetErrorPresenter(&errorDialog);
    if (!app.RunStartup())
        return 3;
    Figures figures;
    {
        cw::MainWindow window(app.Context());
        FirstFrame frame;
        window.installEventFilter(&frame);
        window.show();
        qtApp.exec();
        figures.startup = frame.at;
        figures.firstFrameMb = ResidentMb();

        cw::MainSession& session = window.Session();
        cw::CardLibrary& library = session.Library();
        library.OpenCard(0);
        window.ShowCardFace();
        QApplication::processEvents();
        figures.cardOpenMb = ResidentMb();

        cw::AppContext& ctx = app.Context();
        for (int round = 0; round < rounds; ++round) {
            for (int16_t slot = 0; slot < ctx.Format.Catalogue().FormatCount; ++slot) {
                window.ReturnToStartFace();
                session.ChooseFormat(slot);
                for (int entry = 0; entry < int(library.Entries().size()); ++entry)
                    for (bool back : {false, true}) {
                        if (back && !ctx.Format.Catalogue().HasBackPage(slot))
                            continue;
                        library.SwitchSide(back);
                        library.OpenCard(entry);
                        window.ShowCardFace();
                        QApplication::processEvents();
                    }
            }
            if (round == 0)
                figures.afterFirstRoundMb = ResidentMb();
        }
        figures.afterAllMb = ResidentMb();
        window.ReturnToStartFace();
    }
    app.UnregisterFonts();
    if (write(out, &figures, sizeof figures) != ssize_t(sizeof figures))
        return 4;
    return 0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    int runs = 5, rounds = 100;
    std::string childRoot;
    int childFd = -1;
    for (int i = 1; i + 1 < argc; ++i) {
        std::string option = argv[i];
        if (option == "--runs")
            runs = std::atoi(argv[++i]);
        else if (option == "--rounds")
            rounds = std::atoi(argv[++i]);
        else if (option == "--child-root")
            childRoot = argv[++i];
        else if (option == "--child-fd")
            childFd = std::atoi(argv[++i]);
    }
    if (!childRoot.empty())
        return Child(argc, argv, childRoot, rounds, childFd);

    std::vector<double> startup, firstFrame, cardOpen;
    Figures last;
    for (int run = 0; run < runs; ++run) {
        cw::test::TempDir root;
        int fds[2];
        if (pipe(fds) != 0)
            return 1;
        // Only the last run opens the cards again and again.
        const std::string roundsText = std::to_string(run + 1 == runs ? rounds : 0);
        const std::string fdText = std::to_string(fds[1]);
        const double started = Now();
        pid_t pid = fork();
        if (pid == 0) {
            close(fds[0]);
            execl("/proc/self/exe", argv[0], "--child-root", root.Path().c_str(), "--rounds",
                  roundsText.c_str(), "--child-fd", fdText.c_str(), nullptr);
            _exit(127);
        }
        close(fds[1]);
        Figures figures;
        ssize_t got = read(fds[0], &figures, sizeof figures);
        close(fds[0]);
        int status = 0;
        waitpid(pid, &status, 0);
        if (got != ssize_t(sizeof figures) || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::cerr << "run " << run << " failed (status " << status << ")\n";
            return 1;
        }
        startup.push_back(figures.startup - started);
        firstFrame.push_back(figures.firstFrameMb);
        cardOpen.push_back(figures.cardOpenMb);
        last = figures;
    }
    const double growth = last.afterAllMb - last.afterFirstRoundMb;
    std::printf("start-up to the first painted frame: median %.1f ms of %d runs (min %.1f, max "
                "%.1f)\n",
                Median(startup), runs, *std::min_element(startup.begin(), startup.end()),
                *std::max_element(startup.begin(), startup.end()));
    std::printf("resident memory: %.1f MB at the first frame, %.1f MB with a card open\n",
                Median(firstFrame), Median(cardOpen));
    std::printf("every card of every format opened %d times: %.1f MB after the first round, "
                "%.1f MB after the last (growth %.1f MB, allowed 5 MB): %s\n",
                rounds, last.afterFirstRoundMb, last.afterAllMb, growth,
                growth <= 5.0 ? "ok" : "TOO MUCH");
    return growth <= 5.0 ? 0 : 1;
}
