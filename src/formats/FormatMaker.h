#pragma once

#include "BaseLayerFile.h"
#include "BlankPageRecord.h"
#include "FileOps.h"
#include "FormFieldMap.h"
#include "FormatRegistration.h"

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace cw {

// A new card format cannot be made; the message says why in the user's words.
class FormatMakerError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the user asks for: a format made from a federation's blank card.
struct NewFormatRequest {
    fs::path root;
    // One PDF file, or one or two pictures (PNG, JPEG): front and back.
    std::vector<fs::path> sources;
    // The PDF's pages for front and back, counted from 0; empty: its first one or two.
    std::vector<int> pages;
    std::string code;
    std::string name;
    std::string extension; // empty: made from the code
};

// Plans a new format from a blank card (every file it needs, in memory) and writes it all
// or nothing. Planning reads the source and refuses bad input; writing changes the data root
// only when every file and the settings record could be written.
class FormatMaker {
public:
    // Throws FormatMakerError for an illegal or taken code or extension, an empty name, or a
    // source that cannot serve as a blank card.
    explicit FormatMaker(NewFormatRequest request);

    const FormatRecordLines& Record() const { return record_; }
    int PageCount() const { return record_.backPage ? 2 : 1; }
    const std::vector<FormFieldBinding>& Bindings() const { return bindings_; }
    // The files to write, by their path inside the data root.
    const std::map<fs::path, std::string>& Files() const { return files_; }

    // Writes the files through a staging folder inside the root, renames them into place and
    // adds the format to the settings file last. On failure removes what it wrote and throws
    // FormatMakerError; the catalogue is then unchanged.
    void Write(FileSystem& fileSystem = FileSystem::Default()) const;

    // A code the catalogue can hold: letters and digits, 1 to 16 of them.
    static bool IsLegalCode(const std::string& code);
    // The card-file extension a code gets when none is given: its first three characters in
    // lower case.
    static std::string DefaultExtension(const std::string& code);

private:
    void PlanFromPdf(const fs::path& file);
    void PlanFromPictures();
    void AddPage(int page, double widthTwips, double heightTwips, int sourcePage,
                 const std::string& sourceName, const std::string& templateRecords);
    std::string ChooseBase() const;

    NewFormatRequest request_;
    FormatRecordLines record_;
    std::vector<FormFieldBinding> bindings_;
    std::map<fs::path, std::string> files_;
};

} // namespace cw
