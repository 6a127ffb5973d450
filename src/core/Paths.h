#pragma once

#include "FileOps.h"

namespace cw {

// The folders of a data root (the program folder). A folder that exists in another letter
// case (a root copied from Windows holds "Data", "DATASYS", "Bmps") is used as it is.
struct Paths {
    fs::path ProgramFolder;
    fs::path DataDir;      // layout files and reference texts
    fs::path DataSysDir;   // per-format defaults files
    fs::path BmpsDir;      // pictures on cards and format pictures
    fs::path SuppNotesDir; // supplemental notes
    fs::path FontsDir;     // the program's own fonts

    static Paths ForRoot(const fs::path& root) {
        Paths paths;
        paths.ProgramFolder = root;
        paths.DataSysDir = ResolveForWriting(root / "datasys");
        paths.SuppNotesDir = ResolveForWriting(root / "suppnote");
        paths.BmpsDir = ResolveForWriting(root / "bmps");
        paths.DataDir = ResolveForWriting(root / "data");
        paths.FontsDir = ResolveForWriting(root / "fontsdir");
        return paths;
    }

    // Program folder + a catalogue path such as "/data/acbl1.dat".
    fs::path InProgramFolder(const std::string& relative) const {
        return ProgramFolder.string() + relative;
    }
    // The card folder of a format (catalogue column 0, "/" + folder name), in whatever
    // letter case it exists: a format whose code is written "Tst" keeps its cards in "tst".
    fs::path CardFolder(const std::string& folderColumn) const {
        return ResolveForWriting(InProgramFolder(folderColumn));
    }
};

} // namespace cw
