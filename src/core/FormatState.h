#pragma once

#include "FileOps.h"
#include "FormatCatalogue.h"
#include "FormatDefaults.h"
#include "FormatProfile.h"
#include "FormatTraits.h"
#include "Paths.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace cw {

// The card formats as this run knows them: the catalogue of installed formats, which one is
// current, its defaults as loaded for the side shown, and the printed base layers read for it.
// It reads and writes the format's own files and throws on failure; the procedures that trap
// errors and tell the user stay with the program's context.
class FormatState {
public:
    FormatState(const Paths& paths, FileSystem& fileSystem)
        : paths_(paths), fileSystem_(fileSystem) {}
    FormatState(const FormatState&) = delete;
    FormatState& operator=(const FormatState&) = delete;

    const FormatCatalogue& Catalogue() const { return catalogue_; }
    // The catalogue as the settings file and the format editors fill it in.
    FormatCatalogue& EditCatalogue() { return catalogue_; }

    // The catalogue slot of the current format.
    int16_t Current() const { return current_; }
    // Makes slot current; its defaults are the loaded ones only after LoadDefaults.
    void MakeCurrent(int16_t slot) { current_ = slot; }
    bool HasFormat() const { return catalogue_.IsValidSlot(current_); }

    const FormatDefaults& Defaults() const { return defaults_; }
    // The defaults as the options windows and the zoom change them; ApplyDefaults and
    // SaveDefaults put the change in force.
    FormatDefaults& EditDefaults() { return defaults_; }

    // What the current format does differently from the others.
    FormatTraits Traits() const {
        return FormatTraits::Of(catalogue_.Codes, HasFormat() ? current_ : int16_t(-1));
    }
    // The current format as a drawing sees it (its defaults as loaded, not read again).
    FormatProfile Profile() const;
    // The current format's catalogue row: a column, a column read as a number, its code and
    // whether its cards have a back page.
    const std::string& Column(int column) const { return catalogue_.Column(current_, column); }
    double Number(int column) const { return catalogue_.Number(current_, column); }
    std::string Code() const { return catalogue_.Code(current_); }
    bool HasBackPage() const { return catalogue_.HasBackPage(current_); }
    // The scale at which the format lays out its text on the screen at zoom 0 (1 when unset).
    double ViewScale() const {
        const double scale = Number(ColViewScale);
        return scale > 0 ? scale : 1;
    }

    FormatDefaultsFile DefaultsFile() const;
    // Reads the current format's defaults for a side (making the file again from the
    // format's layout files when it is damaged, and writing it only when mayWrite).
    std::optional<DefaultsRebuilt> LoadDefaults(bool backSide, bool mayWrite);
    // Puts the defaults as changed in force for a side.
    void ApplyDefaults(bool backSide) { defaults_.Apply(backSide, false); }
    // Takes the defaults in force for a side into the format's file (or, when write is false,
    // only into force).
    void SaveDefaults(bool backSide, bool write);

    // Where the printed base layer of a side of the current format is for a page (its
    // alternative layer when the page asks for it), with the layer as read before when its
    // file has not changed since; file is empty when it must be read.
    BaseLayer LocateBaseLayer(bool backSide, bool useAlternative) const;
    // Reads the layer located and keeps it until its file changes. Throws when it cannot.
    std::shared_ptr<const BaseLayerFile> ReadBaseLayer(const BaseLayer& located);

    // The format's back-page template when cards of this format get a blank back page
    // created on first opening.
    std::optional<fs::path> BackTemplateForMissingPage() const;

private:
    const Paths& paths_;
    FileSystem& fileSystem_;
    FormatCatalogue catalogue_;
    int16_t current_ = 0;
    FormatDefaults defaults_;
    struct KeptBaseLayer {
        std::string stamp;
        std::shared_ptr<const BaseLayerFile> file;
    };
    std::map<fs::path, KeptBaseLayer> baseLayers_;
};

} // namespace cw
