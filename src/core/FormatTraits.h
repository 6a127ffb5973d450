#pragma once

#include <cstdint>

namespace cw {

struct FormatCodeSlots;

// How a format's paper is turned for printing.
enum class PaperTurn {
    ByCatalogue,  // as the catalogue's orientation column says
    Chosen,       // the user chooses portrait or landscape
    SidewaysOnA5, // landscape on A5 paper, portrait on any other
    UprightOnA5,  // portrait on A5 paper, landscape on any other
};

// How a checked box of a format is shaded.
enum class CheckBoxShade { None, StepsBelow, StepsAbove };

// Where the ring round a circled item of a format sits, against the common one (twips).
struct RingShift {
    int32_t radius = 0;
    int32_t dx = 0;
    int32_t dy = 0;
    int32_t tenDx = 0; // more across for a two-letter label ("10")
};

// What a card format does differently from the others, settled from its catalogue code.
// The formats are known by code; a format the catalogue does not name behaves as most do.
struct FormatTraits {
    // Reading and filling in.
    bool cyrillicText = false;         // its texts are in the Cyrillic code page
    bool backPageFromTemplate = false; // a missing back page is the blank template
    int backPageFirstTextField = 0;    // where typing starts on the back page (the
                                       // fields before it repeat the front's names)
    bool redFieldsStayRed = false;     // "Set Font" on all fields keeps red ones red
    // Drawing.
    bool circlesNudged = false;       // rings moved a pixel for its thin lines
    bool printDateFooter = false;     // the print-date footer is drawn
    bool circleLabelsInArial = false; // circled items' labels in Arial
    RingShift ring;
    bool checkBoxesRaisedOnPaper = false; // check boxes two pixels higher on paper
    CheckBoxShade checkBoxShade = CheckBoxShade::None;
    bool colourBarsBehindText = false; // coloured bars behind texts of some colours
    // Printing.
    PaperTurn paperTurn = PaperTurn::ByCatalogue;
    double marginsOnA5 = 0;              // millimetres forced on A5 paper; 0 for none
    bool backPageLeftOnOneSheet = false; // as the folded printed card has it

    // The traits of the format in slot; those of most formats when slot is no known code.
    static FormatTraits Of(const FormatCodeSlots& codes, int16_t slot);
};

} // namespace cw
