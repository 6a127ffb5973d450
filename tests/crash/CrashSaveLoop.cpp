// Saves the card's pages and the notes file in turn, for ever, through the program's own
// code, and says each version saved on stdout ("k\n", written straight to the pipe), so that
// the test killing it knows which versions were done. Usage: crash_save_loop ROOT FIRST
#include "CrashVersions.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

void Say(const std::string& line) {
    std::string text = line + "\n";
    if (::write(STDOUT_FILENO, text.data(), text.size()) != ssize_t(text.size()))
        std::_Exit(4);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s ROOT FIRST\n", argv[0]);
        return 2;
    }
    cw::test::SaveSession session(argv[1]);
    Say("ready");
    for (long version = std::atol(argv[2]);; ++version) {
        if (!session.Save(version)) {
            std::fprintf(stderr, "version %ld was not saved\n", version);
            return 3;
        }
        Say(std::to_string(version));
    }
}
