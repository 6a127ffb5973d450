#include "PendingFiles.h"

#include "RuntimeError.h"

#include <array>
#include <atomic>
#include <csignal>
#include <cstring>
#include <mutex>
#include <unistd.h>

namespace cw {

namespace {

// The scratch files in use, where a signal handler can reach them: fixed storage and plain
// unlink() only, as nothing else is safe inside a handler. Jobs on several threads take the
// lock to change the slots; a slot is marked in use only once its path is whole.
constexpr size_t kSlots = 64;
constexpr size_t kPathBytes = 4096;
std::array<std::array<char, kPathBytes>, kSlots> gScratchPaths{};
std::array<std::atomic<bool>, kSlots> gSlotUsed{};
std::mutex gSlotsLock;

void Register(const fs::path& path) {
    const std::string text = path.string();
    if (text.size() >= kPathBytes)
        return; // too long to keep for the handler; the destructor still removes it
    std::lock_guard<std::mutex> lock(gSlotsLock);
    for (size_t i = 0; i < kSlots; ++i)
        if (!gSlotUsed[i].load(std::memory_order_relaxed)) {
            std::memcpy(gScratchPaths[i].data(), text.c_str(), text.size() + 1);
            gSlotUsed[i].store(true, std::memory_order_release);
            return;
        }
}

void Unregister(const fs::path& path) {
    const std::string text = path.string();
    std::lock_guard<std::mutex> lock(gSlotsLock);
    for (size_t i = 0; i < kSlots; ++i)
        if (gSlotUsed[i].load(std::memory_order_relaxed) && text == gScratchPaths[i].data()) {
            gSlotUsed[i].store(false, std::memory_order_release);
            return;
        }
}

extern "C" void RemoveScratchFilesAndStop(int signalNumber) {
    for (size_t i = 0; i < kSlots; ++i)
        if (gSlotUsed[i].load(std::memory_order_acquire))
            ::unlink(gScratchPaths[i].data());
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

} // namespace

PendingFiles::~PendingFiles() {
    Discard();
}

fs::path PendingFiles::Add(const fs::path& target) {
    fs::path scratch = target.parent_path() / ("." + target.filename().string() + "." +
                                               std::to_string(::getpid()) + ".part");
    Register(scratch);
    targets_.push_back(target);
    scratch_.push_back(scratch);
    return scratch;
}

void PendingFiles::Commit(FileSystem& fileSystem) {
    for (size_t i = 0; i < scratch_.size(); ++i) {
        try {
            fileSystem.RenameOver(scratch_[i], targets_[i]);
        } catch (const RuntimeError&) {
            scratch_.erase(scratch_.begin(), scratch_.begin() + long(i));
            Discard();
            throw;
        }
        Unregister(scratch_[i]);
    }
    scratch_.clear();
}

void PendingFiles::Discard() {
    std::error_code ec;
    for (const fs::path& scratch : scratch_) {
        fs::remove(scratch, ec);
        Unregister(scratch);
    }
    scratch_.clear();
}

void PendingFiles::RemoveScratchFilesOnSignals() {
    static std::atomic<bool> installed{false};
    if (installed.exchange(true))
        return;
    struct sigaction action {};
    action.sa_handler = RemoveScratchFilesAndStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

} // namespace cw
