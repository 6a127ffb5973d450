#pragma once

#include "BaseLayerFile.h"
#include "FileOps.h"
#include "FormatDefaults.h"
#include "FormatTraits.h"

#include <cstdint>
#include <memory>
#include <string>

namespace cw {

// What a drawing needs to know of a card format, settled when the format is chosen (and
// when its defaults are saved): the catalogue's drawing columns, its traits and its defaults
// as loaded. A drawing reads it and nothing else of the format.
struct FormatProfile {
    int16_t slot = -1;
    std::string code;
    FormatTraits traits;
    // Every font block; a drawing puts the block it needs in force on its own copy.
    FormatDefaults defaults;
    int fieldTint = 0;
    int colourScheme = 0;
    int namesMode = 0;
    // The scale at which the format's text is laid out for the screen at zoom 0.
    double referenceScale = 1;
    bool hasBackPage = false;
    fs::path bmpsDir;

    bool Valid() const { return slot >= 0; }
};

// The printed base layer of one side of a format, as read from its file.
struct BaseLayer {
    fs::path path;
    // Changes whenever the file does: kept pictures of the layer are told apart by it.
    std::string stamp;
    std::shared_ptr<const BaseLayerFile> file;
};

} // namespace cw
