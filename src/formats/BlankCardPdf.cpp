#include "BlankCardPdf.h"

#include <cmath>
#include <poppler-form.h>
#include <poppler-qt6.h>
#include <system_error>

namespace cw {

namespace {

constexpr double kTwipsPerPoint = 20;
constexpr double kPointsPerMillimetre = 72 / 25.4;

int AlignmentOf(Qt::Alignment alignment) {
    if (alignment & Qt::AlignHCenter)
        return 2;
    if (alignment & Qt::AlignRight)
        return 1;
    return 0;
}

} // namespace

BlankCardPdf::BlankCardPdf(const std::filesystem::path& file) : file_(file) {
    const std::string name = file.filename().string();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        throw BlankCardError("The blank card " + file.string() + " cannot be found.");
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec || size == 0)
        throw BlankCardError("The blank card " + name + " is empty.");
    if (size > MaxFileBytes)
        throw BlankCardError("The blank card " + name +
                             " is larger than 50 MB: no card's "
                             "page is that large. Please pick the federation's blank card.");
    document_ = Poppler::Document::load(QString::fromStdString(file.string()));
    if (!document_)
        throw BlankCardError("The blank card " + name +
                             " cannot be read: it is not a PDF file, or it is damaged.");
    if (document_->isLocked() || document_->isEncrypted())
        throw BlankCardError("The blank card " + name +
                             " is encrypted. Please pick a copy that opens without a password "
                             "and may be changed.");
    if (document_->numPages() <= 0)
        throw BlankCardError("The blank card " + name + " has no pages.");
    const double limit = MaxPageMillimetres * kPointsPerMillimetre;
    for (int page = 0; page < document_->numPages(); ++page) {
        std::unique_ptr<Poppler::Page> p = document_->page(page);
        const QSizeF points = p ? p->pageSizeF() : QSizeF();
        if (!p || points.width() <= 0 || points.height() <= 0)
            throw BlankCardError("Page " + std::to_string(page + 1) + " of the blank card " + name +
                                 " cannot be read.");
        if (points.width() > limit || points.height() > limit)
            throw BlankCardError("Page " + std::to_string(page + 1) + " of the blank card " + name +
                                 " is more than a metre across: no card is that large.");
    }
}

BlankCardPdf::~BlankCardPdf() = default;
BlankCardPdf::BlankCardPdf(BlankCardPdf&&) noexcept = default;
BlankCardPdf& BlankCardPdf::operator=(BlankCardPdf&&) noexcept = default;

int BlankCardPdf::PageCount() const {
    return document_->numPages();
}

QSizeF BlankCardPdf::PageSizeTwips(int page) const {
    std::unique_ptr<Poppler::Page> p = document_->page(page);
    return p ? p->pageSizeF() * kTwipsPerPoint : QSizeF();
}

bool BlankCardPdf::HasForm() const {
    return document_->formType() != Poppler::Document::NoForm;
}

std::vector<FormWidget> BlankCardPdf::Widgets(int page) const {
    std::vector<FormWidget> widgets;
    std::unique_ptr<Poppler::Page> p = document_->page(page);
    if (!p)
        return widgets;
    const QSizeF twips = p->pageSizeF() * kTwipsPerPoint;
    std::vector<std::unique_ptr<Poppler::FormField>> fields = p->formFields();
    if (int(fields.size()) > MaxWidgetsPerPage)
        throw BlankCardError("Page " + std::to_string(page + 1) + " of the blank card " +
                             file_.filename().string() + " has " + std::to_string(fields.size()) +
                             " form fields, more than the " + std::to_string(MaxWidgetsPerPage) +
                             " a card's page can hold.");
    for (const auto& field : fields) {
        FormWidget widget;
        widget.name = field->fullyQualifiedName();
        // The widget's rectangle comes as parts of the page, from its top left corner.
        const QRectF part = field->rect().normalized();
        widget.rect = {
            std::round(part.left() * twips.width()), std::round(part.top() * twips.height()),
            std::round(part.width() * twips.width()), std::round(part.height() * twips.height())};
        switch (field->type()) {
        case Poppler::FormField::FormText: {
            const auto& text = static_cast<const Poppler::FormFieldText&>(*field);
            if (text.textType() == Poppler::FormFieldText::FileSelect)
                continue;
            widget.kind = FormWidget::Kind::Text;
            widget.multiLine = text.textType() == Poppler::FormFieldText::Multiline;
            widget.alignment = AlignmentOf(text.textAlignment());
            widget.fontSize = std::max(0.0, text.getFontSize());
            break;
        }
        case Poppler::FormField::FormButton: {
            const auto& button = static_cast<const Poppler::FormFieldButton&>(*field);
            if (button.buttonType() == Poppler::FormFieldButton::Push)
                continue;
            widget.kind = button.buttonType() == Poppler::FormFieldButton::Radio
                              ? FormWidget::Kind::RadioButton
                              : FormWidget::Kind::CheckBox;
            // Poppler gives a check box's or radio button's on-state name as its caption.
            widget.onValue = button.caption();
            break;
        }
        case Poppler::FormField::FormChoice: {
            const auto& choice = static_cast<const Poppler::FormFieldChoice&>(*field);
            widget.kind = FormWidget::Kind::Choice;
            widget.choices = choice.choices();
            widget.alignment = AlignmentOf(choice.textAlignment());
            break;
        }
        default:
            continue;
        }
        if (widget.rect.Empty())
            continue;
        widgets.push_back(std::move(widget));
    }
    return widgets;
}

} // namespace cw
