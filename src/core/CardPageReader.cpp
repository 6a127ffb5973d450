#include "CardPageReader.h"

namespace cw {

std::optional<CardPage> ReadCardPage(const CardLocation& location, bool backSide,
                                     const std::optional<fs::path>& backTemplate) {
    auto path = ResolveExisting(location.PagePath());
    if (!path && backSide && backTemplate)
        path = ResolveExisting(*backTemplate);
    if (!path)
        return std::nullopt;
    CardPage page;
    CardFile::ParsePage(page, ReadFileBytes(*path), backSide);
    return page;
}

std::string CardNameOfPage(const std::string& pageName, bool backSide) {
    if (backSide && !pageName.empty() && pageName.back() == '_')
        return pageName.substr(0, pageName.size() - 1);
    return pageName;
}

} // namespace cw
