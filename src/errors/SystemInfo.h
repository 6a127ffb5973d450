#pragma once

#include "SystemProbe.h"

#include <string>
#include <vector>

namespace cw {

// What the error log's header says about the machine.
struct SystemInfo {
    // The operating system, the value of the "Platform:" line.
    std::string Platform;
    // Screen size in pixels.
    int ScreenWidth = 0;
    int ScreenHeight = 0;
    int TwipsPerPixel = 15;
    // One line each, in this order.
    std::vector<ComponentFile> Components;
};

// The probed platform and run-time libraries of this process with the screen the caller
// measured.
inline SystemInfo CurrentSystemInfo(int screenWidth, int screenHeight, int twipsPerPixel) {
    ProbedSystem probed = ProbeSystem();
    return {std::move(probed.Platform), screenWidth, screenHeight, twipsPerPixel,
            std::move(probed.Components)};
}

} // namespace cw
