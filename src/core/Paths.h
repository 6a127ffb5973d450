#pragma once

#include "FileOps.h"

namespace cw {

// The folders of a data root (the program folder).
struct Paths {
    fs::path ProgramFolder;
    fs::path DataDir;      // layout files and reference texts
    fs::path DataSysDir;   // per-format defaults files
    fs::path BmpsDir;      // pictures on cards and format pictures
    fs::path SuppNotesDir; // supplemental notes
    fs::path TempBmpsDir;  // scratch folder of image export
    fs::path FontsDir;     // the program's own fonts

    static Paths ForRoot(const fs::path& root) {
        Paths paths;
        paths.ProgramFolder = root;
        paths.DataSysDir = root / "datasys";
        paths.SuppNotesDir = root / "suppnote";
        paths.BmpsDir = root / "bmps";
        paths.DataDir = root / "data";
        paths.TempBmpsDir = root / "TempBmps";
        paths.FontsDir = root / "fontsdir";
        return paths;
    }

    // Program folder + a catalogue path such as "/data/acbl1.dat".
    fs::path InProgramFolder(const std::string& relative) const {
        return ProgramFolder.string() + relative;
    }
};

} // namespace cw
