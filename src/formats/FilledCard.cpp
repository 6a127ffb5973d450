#include "FilledCard.h"

#include "AppContext.h"
#include "CardFile.h"
#include "TextCodec.h"

namespace cw {

bool CurrentFormatHasForm(const AppContext& ctx) {
    if (!ctx.HasFormat())
        return false;
    try {
        return FormatForm::Of(ctx.paths.ProgramFolder, ctx.Format.Catalogue(), ctx.Format.Current())
            .has_value();
    } catch (const FilledFormError&) {
        return true;
    }
}

FormTransfer FillInFromForm(const AppContext& ctx, const fs::path& filled, std::string& frontBytes,
                            std::optional<std::string>& backBytes) {
    const std::optional<FormatForm> form =
        FormatForm::Of(ctx.paths.ProgramFolder, ctx.Format.Catalogue(), ctx.Format.Current());
    if (!form)
        throw FilledFormError("The card format " + ctx.Format.Column(ColDisplayName) +
                              " was not made from a fillable PDF form: it has no form to read.");
    CardPage front;
    CardPage back;
    CardFile::ParsePage(front, frontBytes, false);
    if (backBytes)
        CardFile::ParsePage(back, *backBytes, true);
    const FormTransfer transfer = ReadFilledForm(filled, *form, front, backBytes ? &back : nullptr,
                                                 TextCodec::Of(ctx.Format.Traits()));
    frontBytes = CardFile::ComposePage(front, frontBytes, ctx.AppVersion);
    if (backBytes)
        backBytes = CardFile::ComposePage(back, *backBytes, ctx.AppVersion);
    return transfer;
}

FilledCardPages NewCardPages(const AppContext& ctx) {
    const FormatCatalogue& catalogue = ctx.Format.Catalogue();
    const int slot = ctx.Format.Current();
    FilledCardPages pages;
    pages.front =
        ReadExistingFile(ctx.paths.InProgramFolder(catalogue.Column(slot, ColFrontTemplate)));
    if (catalogue.HasBackPage(slot))
        pages.back =
            ReadExistingFile(ctx.paths.InProgramFolder(catalogue.Column(slot, ColBackTemplate)));
    return pages;
}

FilledCardPages NewCardPagesFromForm(const AppContext& ctx, const fs::path& filled) {
    FilledCardPages pages = NewCardPages(ctx);
    pages.transfer = FillInFromForm(ctx, filled, pages.front, pages.back);
    return pages;
}

FormTransfer FillInCardFromForm(AppContext& ctx, const std::string& cardName,
                                const fs::path& filled) {
    const fs::path& dir = ctx.Card.Location().CardDir;
    const std::string& ext = ctx.Card.Location().CardExt;
    const fs::path front = ResolveExisting(dir / (cardName + ext)).value_or(dir / (cardName + ext));
    const fs::path back =
        ResolveExisting(dir / (cardName + "_" + ext)).value_or(dir / (cardName + "_" + ext));
    std::string frontBytes = ReadExistingFile(front);
    std::optional<std::string> backBytes;
    if (ctx.Format.HasBackPage())
        backBytes = ReadExistingFile(back);
    const FormTransfer transfer = FillInFromForm(ctx, filled, frontBytes, backBytes);
    if (backBytes)
        WriteFileOver(ctx.fileSystem, back, *backBytes);
    WriteFileOver(ctx.fileSystem, front, frontBytes);
    return transfer;
}

} // namespace cw
