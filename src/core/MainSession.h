#pragma once

#include "CardLibrary.h"
#include "ChangedState.h"

#include <cstdint>
#include <filesystem>
#include <optional>

namespace cw {

class AppContext;
class CardFormatView;

// The main window's logic without its widgets: loading, closing, the open card's changed
// state, the card library, saving and the choice of another card format.
class MainSession {
public:
    MainSession(AppContext& context, CardFormatView& formatView, CardLibraryView& libraryView,
                TransferFolderChooser& chooser);

    AppContext& Context() { return context_; }
    ChangedState& Changed() { return changed_; }
    CardLibrary& Library() { return library_; }

    // The window's load: settings read again, card folders created, the default format set
    // up, no card open.
    bool Load();

    enum class CloseResult {
        ReturnedToStartFace, // the card face was shown: the window stays, on its start face
        Cancelled,           // the user cancelled the save question
        Closed,              // settings patched and empty card folders removed: end the program
    };
    CloseResult QueryUnload(bool cardFaceShown);

    // "Save Changes" (button, F3, Ctrl+S).
    void SaveChanges();

    // Before the format chooser opens: false when the user cancelled the save question.
    bool PrepareFormatChoice();
    // "Done" of the format chooser: makes selection current when it is another format.
    bool ChooseFormat(int16_t selection);

    // Opens a card file given by its path (`cardwright FILE`, a double click in the file
    // manager): its format is made current; a card from outside the data root is copied into
    // its format's card folder, or opened where it is, as the user chooses. False when
    // nothing opened.
    bool OpenCardFile(const std::filesystem::path& file);

    // Removes the card folder of every format that holds no file (errors ignored).
    void RemoveEmptyCardFolders();

private:
    void ResetZoom();
    // What the user does with a card file outside the data root's card folders.
    enum class OutsideCard { CopyIn, OpenInPlace };
    std::optional<OutsideCard> AskOutsideCard(const std::filesystem::path& file,
                                              const struct CardFileLocation& where);
    bool CopyCardIn(const std::filesystem::path& file, const struct CardFileLocation& where);

    AppContext& context_;
    CardFormatView& formatView_;
    CardLibraryView& libraryView_;
    // The format that was current when the window loaded: the settings file is patched on
    // closing only when the user has changed it.
    int16_t loadedFormat_ = 0;
    ChangedState changed_;
    CardLibrary library_;
};

} // namespace cw
