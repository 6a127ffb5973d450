#include "HelpTopics.h"

namespace cw {

std::string HelpPageForTopic(int topic) {
    switch (topic) {
    case HelpCardFace:
        return "filling-in.html";
    case HelpCardOptions:
        return "options.html";
    case HelpSupplementalNotes:
        return "notes.html";
    case HelpCardList:
        return "card-list.html";
    case HelpPrinting:
        return "printing.html";
    case HelpReferenceTexts:
        return "reference-texts.html";
    case HelpTroubleshooting:
        return "troubleshooting.html";
    default:
        return "index.html";
    }
}

const std::vector<std::string>& HelpPages() {
    static const std::vector<std::string> pages = {
        "index.html",    "getting-started.html", "card-list.html",    "filling-in.html",
        "layout.html",   "printing.html",        "notes.html",        "reference-texts.html",
        "options.html",  "checking.html",        "command-line.html", "troubleshooting.html",
        "licences.html",
    };
    return pages;
}

} // namespace cw
