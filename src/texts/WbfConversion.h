#pragma once

#include <string>

namespace cw {

class AppContext;

// Cards of the older WBF format (files "*.06w" in the folder wbfeb) become cards of the new
// WBF format (folder wbfb): each file is copied under the name "_" + its name with "05w" in
// place of "06w". The contents are not changed; the sample cards ("testcrd...") and cards
// converted before are left alone.
class WbfConversion {
public:
    explicit WbfConversion(AppContext& context) : context_(context) {}

    // The new card file name of an old one: smith.06w becomes _smith.05w.
    static std::string TargetName(const std::string& sourceName);
    static bool Excluded(const std::string& sourceName);
    // What the user is told: the number of cards (two files each, so 3 files are 1.5 cards).
    static std::string Message(int convertedFiles);

    // Converts every card not converted yet, then beeps and tells how many. An error stops
    // the conversion (files converted so far stay) and is reported through the error trap.
    // Returns the number of files converted.
    int ConvertWbfCards();

private:
    AppContext& context_;
};

} // namespace cw
