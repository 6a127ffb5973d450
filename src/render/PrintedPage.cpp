#include "PrintedPage.h"

#include "AppContext.h"
#include "BasicNumbers.h"

namespace cw {

double PrintedPage::Extent(double defaultMillimetres, double enteredMillimetres, double natural) {
    if (defaultMillimetres <= 0)
        return natural;
    double entered = enteredMillimetres > 0 ? enteredMillimetres : defaultMillimetres;
    double extent = (2 * defaultMillimetres - entered) * TwipsPerMillimetre;
    return extent > 0 ? extent : natural;
}

PrintedPage PrintedPage::ForFormat(const AppContext& ctx, bool backSide) {
    PrintedPage page;
    const FormatDefaults& d = ctx.Defaults;
    const FormatCatalogue& catalogue = ctx.Catalogue;
    page.width = Extent(catalogue.Number(ctx.CurrentFormat, ColPrintWidth), d.PrintWidthSetting,
                        d.NaturalWidth);
    page.height = Extent(catalogue.Number(ctx.CurrentFormat, ColPrintHeight), d.PrintHeightSetting,
                         d.NaturalHeight + BottomReserve);
    double margin = backSide ? d.BackMarginSetting : d.FrontMarginSetting;
    page.marginX = ToInt32(margin * TwipsPerMillimetre);
    page.textOffsetY = ToInt32(d.TextAlignSetting * ctx.TwipsPerPixel);
    return page;
}

} // namespace cw
