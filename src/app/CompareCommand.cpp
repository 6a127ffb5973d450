#include "CompareCommand.h"

#include "Application.h"
#include "CardCommand.h"
#include "CardComparison.h"
#include "CardPages.h"
#include "CardToolLocations.h"
#include "PartnerCard.h"
#include "RenderState.h"
#include "TextDrawer.h"

namespace cw {

namespace {

// The second card names a file when it holds a folder or ends in a card-file extension.
bool NamesFile(const AppContext& ctx, const std::string& with) {
    if (with.find('/') != std::string::npos)
        return true;
    const std::string extension = fs::path(with).extension().string();
    for (int slot = 0; slot < ctx.Format.Catalogue().FormatCount; ++slot)
        if (!extension.empty() &&
            EqualsIgnoreCase(ctx.Format.Catalogue().Column(slot, ColExtension), extension))
            return true;
    return false;
}

std::string ConsoleValue(const TextCodec& codec, int kind, const std::string& value) {
    return codec.Decode(CardComparison::ShownValue(kind, value)).toStdString();
}

} // namespace

bool ParseCompareOptions(const CommandLine& line, CompareOptions& options, std::string& problem) {
    options.card = line.Value("--card").value_or("");
    options.with = line.Value("--with").value_or("");
    if (options.card.empty() || options.with.empty()) {
        problem = "compare: --card NAME and --with NAME|FILE are required";
        return false;
    }
    options.format = line.Value("--format");
    return true;
}

int RunCompareCommand(Application& app, const CompareOptions& options, std::ostream& out,
                      std::ostream& err) {
    if (!SetUpForCard(app, options.format, options.card, err))
        return 1;
    AppContext& ctx = app.Context();
    NamedCardPages pages(ctx, options.card);
    const int trapsBefore = app.Trap().TrapCount();
    std::optional<SavedCardPages> mine;
    std::optional<PartnerCard> theirs;
    std::string problem;
    bool read = ctx.errorTrap.Guard(loc::CompareWithCard, [&] {
        mine = ReadCardPages(ctx, options.card);
        fs::path file =
            NamesFile(ctx, options.with)
                ? fs::absolute(options.with)
                : ctx.Card.Location().CardDir / (options.with + ctx.Card.Location().CardExt);
        if (!NamesFile(ctx, options.with) && !ExistsAnyCase(file))
            problem = "Card " + options.with + " not found: " + file.string();
        else
            theirs = PartnerCard::Read(ctx, file, problem);
    });
    if (!read || !mine)
        return 1;
    if (!theirs) {
        err << problem << '\n';
        return 1;
    }
    // A file read only in part would be listed as a card that differs everywhere.
    for (const auto& [pages, name] :
         {std::pair{&*mine, options.card}, std::pair{&theirs->pages, options.with}})
        for (bool back : {false, true})
            if (const CardPage* page = pages->Page(back); page && page->ReadIncompletely) {
                err << "The card file " << name << (back ? " (back page)" : "")
                    << " is not a card file or is damaged.\n";
                return 1;
            }
    const TextCodec& codec = TextCodec::Of(ctx.Format.Traits());
    const int nameFields = NameFieldCount(ctx);
    int count = 0;
    for (bool back : {false, true}) {
        const CardPage* my = mine->Page(back);
        const CardPage* their = theirs->pages.Page(back);
        if (!my || !their)
            continue;
        for (const FieldDifference& d :
             CardComparison::ComparePages(*my, *their, back, nameFields)) {
            out << (back ? "back" : "front") << '\t' << CardComparison::FieldName(d) << '\t'
                << ConsoleValue(codec, d.kind, d.myValue) << '\t'
                << ConsoleValue(codec, d.kind, d.theirValue) << '\n';
            ++count;
        }
    }
    if (app.Trap().TrapCount() != trapsBefore)
        return 1;
    return count == 0 ? 0 : 1;
}

} // namespace cw
