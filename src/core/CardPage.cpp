#include "CardPage.h"

#include "FieldRecords.h"
#include "RuntimeError.h"

namespace cw {

namespace {

const std::array<KindInfo, CardPage::KindSlots> kKinds = [] {
    std::array<KindInfo, CardPage::KindSlots> kinds{};
    kinds[ClearedArea] = {301, 4, false};
    kinds[TextField] = {501, 6, true};
    kinds[CheckBox] = {301, 6, false};
    kinds[Circle] = {176, 6, false};
    kinds[FrameBox] = {266, 5, false};
    kinds[Rectangle] = {101, 6, false};
    kinds[LabelBox] = {26, 6, true};
    kinds[FixedText] = {17, 6, true};
    kinds[RotatedText] = {11, 6, true};
    kinds[Line] = {201, 6, false};
    kinds[Bitmap] = {26, 5, true};
    kinds[ColourDot] = {2, 6, false};
    kinds[LayoutText] = {51, 6, true};
    kinds[TickMark] = {51, 4, false};
    kinds[PlainCircle] = {4, 3, false};
    kinds[PrintDateFooter] = {1, 6, false};
    kinds[PrintOnlyText] = {3, 6, true};
    kinds[OptionField] = {31, 5, false};
    kinds[CircledItem] = {201, 6, true};
    return kinds;
}();

const KindInfo kNoKind{};

RuntimeError RangeError(int kind) {
    return {RuntimeError::SubscriptOutOfRange,
            "Subscript out of range (kind " + std::to_string(kind) + ")"};
}

} // namespace

const KindInfo& InfoOfKind(int kind) {
    if (kind < 0 || kind >= CardPage::KindSlots)
        return kNoKind;
    return kKinds[size_t(kind)];
}

bool IsCardKind(int kind) {
    return InfoOfKind(kind).capacity > 0;
}

CardPage::CardPage() {
    for (int kind = 0; kind < KindSlots; ++kind)
        tables_[size_t(kind)].reserve(size_t(kKinds[size_t(kind)].capacity));
}

void CardPage::ClearCard() {
    for (auto& table : tables_)
        table.clear();
    // The print date's box goes with the card's contents; its place stays.
    MutablePrintDateRecord footer(footer_.a);
    footer.width() = 0;
    footer.height() = 0;
}

const CardField& CardPage::Field(int kind, int index) const {
    const auto& table = tables_.at(size_t(kind));
    if (index < 0 || index >= int(table.size()))
        throw RangeError(kind);
    return table[size_t(index)];
}

CardField& CardPage::Field(int kind, int index) {
    return const_cast<CardField&>(static_cast<const CardPage&>(*this).Field(kind, index));
}

CardField& CardPage::Add(int kind, CardField field) {
    if (!IsCardKind(kind))
        throw RangeError(kind);
    if (kind == PrintDateFooter) {
        footer_ = std::move(field);
        return footer_;
    }
    auto& table = tables_[size_t(kind)];
    if (int(table.size()) >= kKinds[size_t(kind)].capacity)
        throw RangeError(kind);
    table.push_back(std::move(field));
    return table.back();
}

void CardPage::ReplaceFields(int kind, std::vector<CardField> fields) {
    if (!IsCardKind(kind) || kind == PrintDateFooter ||
        int(fields.size()) > kKinds[size_t(kind)].capacity)
        throw RangeError(kind);
    tables_[size_t(kind)] = std::move(fields);
}

bool CardPage::SameContent(const CardPage& other) const {
    return tables_ == other.tables_ && footer_ == other.footer_ && CardHeader == other.CardHeader &&
           UseAltBaseLayer == other.UseAltBaseLayer;
}

void CardPage::Remove(int kind, int index) {
    auto& table = tables_.at(size_t(kind));
    if (index < 0 || index >= int(table.size()))
        throw RangeError(kind);
    table.erase(table.begin() + index);
}

} // namespace cw
