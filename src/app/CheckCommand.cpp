#include "CheckCommand.h"

#include "Application.h"
#include "CardCommand.h"
#include "CardPages.h"
#include "OpenCardCheck.h"
#include "PrintedArea.h"
#include "TextDrawer.h"

#include <algorithm>

namespace cw {

namespace {

// A card text on one line of the console: decoded, line breaks as " / ".
std::string ConsoleText(const TextCodec& codec, const std::string& bytes) {
    QString text = codec.Decode(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" / "));
    return text.toStdString();
}

} // namespace

bool ParseCheckOptions(const CommandLine& line, CheckOptions& options, std::string& problem) {
    options.card = line.Value("--card").value_or("");
    if (options.card.empty()) {
        problem = "check: --card NAME is required";
        return false;
    }
    options.format = line.Value("--format");
    return true;
}

int RunCheckCommand(Application& app, const CheckOptions& options, std::ostream& out,
                    std::ostream& err) {
    if (!SetUpForCard(app, options.format, options.card, err))
        return 1;
    AppContext& ctx = app.Context();
    NamedCardPages pages(ctx, options.card);
    const int trapsBefore = app.Trap().TrapCount();
    if (!pages.Open())
        return 1;
    OverflowCheck check(ctx.errorTrap,
                        [&ctx](bool backSide) { return PrintedPageOf(ctx, backSide); });
    std::vector<FieldOverflow> found = CheckOpenCard(ctx, check);
    const TextCodec& codec = TextCodec::Of(ctx.Format.Traits());
    for (const FieldOverflow& overflow : found)
        out << (overflow.backPage ? "back" : "front") << '\t' << overflow.field + 1 << '\t'
            << DescribeOverflow(overflow) << '\t' << ConsoleText(codec, overflow.text) << '\n';
    if (app.Trap().TrapCount() != trapsBefore)
        return 1;
    // Text drawn smaller is whole on the card; only text cut off fails the check.
    return std::any_of(found.begin(), found.end(), IsCutOff) ? 1 : 0;
}

} // namespace cw
