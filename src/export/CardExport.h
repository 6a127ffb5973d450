#pragma once

#include "FileOps.h"
#include "PictureFiles.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace cw {

class AppContext;
class CardPages;

// The file types of "Save Card as": the card format's own files, the three picture types
// of old, PNG and PDF, and for a format made from a federation's fillable form that form
// filled in with the card (a PDF file too).
enum class ExportFilter {
    CardFile = 1,
    Gif = 2,
    Jpeg = 3,
    Bitmap = 4,
    Png = 5,
    Pdf = 6,
    FilledForm = 7
};

// The filter of a file by its extension (the card format's extension for a card file); nullopt
// for any other. A ".pdf" file is a printed card's PDF: the filled form is only ever chosen.
std::optional<ExportFilter> ExportFilterOf(const fs::path& file, const std::string& cardExt);

// What the user chose in the save dialog.
struct ExportRequest {
    fs::path file; // the chosen file, with or without its extension
    ExportFilter filter = ExportFilter::Bitmap;
    // Pictures: dots per inch; 0 for the screen's at zoom 1.
    int dpi = 0;
};

// Who asks the user for the file (the save dialog in the program, a script in tests).
class ExportFileChooser {
public:
    virtual ~ExportFileChooser() = default;
    // folder and name to start from; nullopt when the user cancels.
    virtual std::optional<ExportRequest> ChooseExportFile(const fs::path& folder,
                                                          const std::string& name,
                                                          const std::string& cardExt) = 0;
};

// Saving the open card under another name: as a card file of its format, or as pictures
// of its pages (the back page's picture has "_" added to the name), or as a PDF file that
// prints like the paper card.
class CardExport {
public:
    CardExport(AppContext& ctx, CardPages& pages);

    // How a card file of another name is made (the card library's copy under a new name).
    void SetCopyCard(std::function<bool(const std::string& newName)> copyCard) {
        copyCard_ = std::move(copyCard);
    }

    // SaveCardAs, once the file is chosen: saves the card, then writes what the filter says.
    // False when something failed (reported to the error trap); files already written stay.
    bool SaveCardAs(const ExportRequest& request);

    // ExportCardImage: draws the front page and saves it as base + extension (the type's own
    // when empty), and for a two-page card the back page as base + "_" + extension; both
    // files are written or neither, and older files of those names stay when they are not.
    // The pictures carry the export's resolution. Each page is drawn and written in bands of
    // rows, one page after the other, so that neither page is ever whole in memory. The files
    // written. Throws RuntimeError when
    // a page cannot be read or a file cannot be written.
    std::vector<fs::path> ExportCardImage(const fs::path& base, PictureType type,
                                          const std::string& extension = {});

    // The files the last SaveCardAs wrote, in order.
    const std::vector<fs::path>& Written() const { return written_; }

    // The chosen path: the file without the extension its filter gives it.
    static fs::path ChosenPath(const fs::path& file, ExportFilter filter,
                               const std::string& cardExt);
    // The extension the files get: the one the user gave when it is the filter's (".jpeg"
    // stays ".jpeg"), the filter's own otherwise.
    static std::string ChosenExtension(const fs::path& file, ExportFilter filter,
                                       const std::string& cardExt);

    // Pictures: dots per inch; 0 for the screen's at zoom 1.
    int Dpi = 0;
    // Pictures: the rows of the bands a page is drawn and written in; 0 for as many as 24
    // megabytes of pixels hold.
    int BandRows = 0;

private:
    // What the filter says, once the card is saved; saved becomes false when a copy of the
    // card file fails (and was reported).
    void WriteChosenFiles(const ExportRequest& request, const fs::path& chosen, bool& saved);
    void SaveAsPdf(const fs::path& target);
    // The format's federation form with the card's values in its fields.
    void SaveAsFilledForm(const fs::path& target);
    double ViewScaleForDpi() const;
    // The resolution the pictures are drawn at and say they have.
    int PictureDpi() const;

    AppContext& ctx_;
    CardPages& pages_;
    std::function<bool(const std::string&)> copyCard_;
    std::vector<fs::path> written_;
};

} // namespace cw
