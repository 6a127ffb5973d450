// Kills the save loop (SIGKILL) at random moments; after every kill each file it saves must
// be a whole version: the last one it said it saved, or the one it was saving.
#include "CrashVersions.h"
#include "TestFiles.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <iostream>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace cw::test;

namespace {

// A run of the loop: started on root, first version given; the versions it said it saved.
struct LoopRun {
    pid_t pid = -1;
    int out = -1;
    std::string said;

    void Start(const fs::path& root, long first) {
        int pipeFds[2];
        ASSERT_EQ(::pipe(pipeFds), 0);
        pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::dup2(pipeFds[1], STDOUT_FILENO);
            ::close(pipeFds[0]);
            ::close(pipeFds[1]);
            std::string firstText = std::to_string(first);
            ::execl(CW_CRASH_SAVE_LOOP, CW_CRASH_SAVE_LOOP, root.c_str(), firstText.c_str(),
                    nullptr);
            std::_Exit(127);
        }
        ::close(pipeFds[1]);
        out = pipeFds[0];
    }
    // Reads what the loop says until it has said line (or ended).
    bool WaitFor(const std::string& line) {
        char buffer[256];
        while (said.find(line + "\n") == std::string::npos) {
            ssize_t n = ::read(out, buffer, sizeof buffer);
            if (n <= 0)
                return false;
            said.append(buffer, size_t(n));
        }
        return true;
    }
    // Kills the loop and reads the rest of what it said. Returns its wait status.
    int Kill() {
        ::kill(pid, SIGKILL);
        char buffer[4096];
        for (ssize_t n; (n = ::read(out, buffer, sizeof buffer)) > 0;)
            said.append(buffer, size_t(n));
        ::close(out);
        int status = 0;
        ::waitpid(pid, &status, 0);
        return status;
    }
    // The last version of each file it said it saved (-1 for none).
    std::array<long, kSavedFiles> LastSaved() const {
        std::array<long, kSavedFiles> last{-1, -1, -1};
        size_t at = 0;
        for (size_t end; (end = said.find('\n', at)) != std::string::npos; at = end + 1) {
            std::string line = said.substr(at, end - at);
            if (line == "ready")
                continue;
            long version = std::stol(line);
            last[size_t(FileOf(version))] = version;
        }
        return last;
    }
};

long EnvNumber(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text ? std::atol(text) : fallback;
}

} // namespace

TEST(CrashSafety, KilledAtRandomMomentsEveryFileIsAWholeVersionOldOrNew) {
    const long wantedSaves = EnvNumber("CW_CRASH_SAVES", 120);
    const long wantedKills = EnvNumber("CW_CRASH_KILLS", 30);
    TempDir dir;
    SaveSession::Prepare(dir.Path());
    std::array<long, kSavedFiles> saved{0, 1, 2};
    std::mt19937 random(unsigned(EnvNumber("CW_CRASH_SEED", 20261208)));
    long saves = 0, kills = 0, killedMidSave = 0;
    long next = 3;
    while (saves < wantedSaves || kills < wantedKills) {
        LoopRun run;
        run.Start(dir.Path(), next);
        ASSERT_TRUE(run.WaitFor("ready")) << "the loop did not start";
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 15000));
        int status = run.Kill();
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "the loop ended by itself: " << status;
        ++kills;
        auto last = run.LastSaved();
        long highest = next - 1;
        for (int file = 0; file < kSavedFiles; ++file) {
            if (last[size_t(file)] >= 0) {
                saved[size_t(file)] = last[size_t(file)];
                highest = std::max(highest, last[size_t(file)]);
            }
        }
        // The version it was saving when it was killed, if any.
        const long inFlight = highest + 1;
        auto version = [&](int file) -> std::optional<long> {
            switch (Saved(file)) {
            case Saved::Front:
                return SaveSession::CardVersion(dir.Path(), false);
            case Saved::Back:
                return SaveSession::CardVersion(dir.Path(), true);
            case Saved::Notes:
                return SaveSession::NotesVersion(dir.Path());
            }
            return std::nullopt;
        };
        for (int file = 0; file < kSavedFiles; ++file) {
            std::optional<long> now = version(file);
            ASSERT_TRUE(now) << "file " << file << " is torn after kill " << kills;
            bool old = *now == saved[size_t(file)];
            bool fresh = *now == inFlight && int(FileOf(inFlight)) == file;
            ASSERT_TRUE(old || fresh) << "file " << file << " holds version " << *now << ", saved "
                                      << saved[size_t(file)] << ", in flight " << inFlight;
            if (fresh) {
                saved[size_t(file)] = inFlight;
                ++killedMidSave;
            }
        }
        saves += highest - (next - 1);
        // Numbers are never used twice, even for a save that landed unannounced.
        next = inFlight + 1;
    }
    std::cout << "Crash safety: " << saves << " saves, " << kills << " kills (" << killedMidSave
              << " after a save landed but before it was announced); every "
              << "file a whole version\n";
}
