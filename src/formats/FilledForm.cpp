#include "FilledForm.h"

#include "FieldRecords.h"
#include "FontPrefix.h"
#include "FormatCatalogue.h"
#include "SuitTyping.h"
#include "TextCodec.h"

#include <QBuffer>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <poppler-form.h>
#include <poppler-qt6.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace cw {

namespace {

// A filled form is a copy of the blank one; anything far larger is no such copy.
constexpr std::uintmax_t kMaxFilledFormBytes = 60ull * 1024 * 1024;

std::string FieldNameOf(const FormFieldBinding& binding) {
    return binding.widgetName.toStdString();
}

// The widgets of a form's pages by their fully qualified names. The fields stay valid while
// the document lives; widgets of one name share the field's value.
class FormWidgets {
public:
    explicit FormWidgets(Poppler::Document& document) {
        for (int number = 0; number < document.numPages(); ++number) {
            std::unique_ptr<Poppler::Page> page = document.page(number);
            if (!page)
                continue;
            for (std::unique_ptr<Poppler::FormField>& field : page->formFields())
                byName_[field->fullyQualifiedName()].push_back(std::move(field));
            pages_.push_back(std::move(page));
        }
    }

    template <typename Visit> void ForEach(Visit visit) const {
        for (const auto& [name, fields] : byName_)
            for (const auto& field : fields)
                visit(*field);
    }

    // The widgets a binding stands for: a check box's or radio button's own widget (the one
    // whose on value is the binding's), every widget of the name for the others.
    std::vector<Poppler::FormField*> Of(const FormFieldBinding& binding) const {
        std::vector<Poppler::FormField*> found;
        auto named = byName_.find(binding.widgetName);
        if (named == byName_.end())
            return found;
        for (const auto& field : named->second) {
            if (!binding.onValue.isEmpty() && field->type() == Poppler::FormField::FormButton &&
                static_cast<const Poppler::FormFieldButton&>(*field).caption() != binding.onValue)
                continue;
            found.push_back(field.get());
        }
        return found;
    }

private:
    std::vector<std::unique_ptr<Poppler::Page>> pages_;
    std::map<QString, std::vector<std::unique_ptr<Poppler::FormField>>> byName_;
};

std::unique_ptr<Poppler::Document> OpenForm(const fs::path& file) {
    const std::string name = file.filename().string();
    std::error_code error;
    if (!fs::is_regular_file(file, error))
        throw FilledFormError("There is no file " + file.string() + ".");
    const std::uintmax_t size = fs::file_size(file, error);
    if (error || size == 0)
        throw FilledFormError("The form " + name + " is empty.");
    if (size > kMaxFilledFormBytes)
        throw FilledFormError("The form " + name + " is larger than 60 MB: it is no card's form.");
    std::unique_ptr<Poppler::Document> document =
        Poppler::Document::load(QString::fromStdString(file.string()));
    if (!document)
        throw FilledFormError("The form " + name +
                              " cannot be read: it is not a PDF file, or it is damaged.");
    if (document->isLocked())
        throw FilledFormError("The form " + name + " is locked with a password.");
    return document;
}

// The document with the changes made to its fields, as the bytes of a PDF file.
std::string SavedWithChanges(Poppler::Document& document, const fs::path& source) {
    std::unique_ptr<Poppler::PDFConverter> converter = document.pdfConverter();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    converter->setOutputDevice(&buffer);
    converter->setPDFOptions(converter->pdfOptions() | Poppler::PDFConverter::WithChanges);
    if (!converter->convert())
        throw FilledFormError("The form " + source.filename().string() +
                              " could not be written with its fields changed.");
    return bytes.toStdString();
}

// The page a binding belongs to; null when the card has no such page.
template <typename Page> Page* PageOf(const FormFieldBinding& binding, Page& front, Page* back) {
    return binding.backPage ? back : &front;
}

bool HasRecord(const CardPage& page, const FormFieldBinding& binding) {
    return (binding.kind == TextField || binding.kind == CheckBox) && binding.index >= 0 &&
           binding.index < page.Count(binding.kind);
}

void SetText(Poppler::FormField& field, const QString& text, const FormFieldBinding& binding,
             FormTransfer& transfer) {
    if (field.type() == Poppler::FormField::FormText) {
        static_cast<Poppler::FormFieldText&>(field).setText(text);
        return;
    }
    if (field.type() != Poppler::FormField::FormChoice)
        return;
    auto& choice = static_cast<Poppler::FormFieldChoice&>(field);
    const qsizetype index = choice.choices().indexOf(text);
    if (text.isEmpty())
        choice.setCurrentChoices({});
    else if (index >= 0)
        choice.setCurrentChoices({int(index)});
    else if (choice.isEditable())
        choice.setEditChoice(text);
    else
        transfer.notTransferred.push_back("\"" + text.toStdString() + "\" is not one of the " +
                                          "choices of the form's field " + FieldNameOf(binding) +
                                          ".");
}

// The value a text or choice widget holds; nullopt for other widgets.
std::optional<QString> TextOf(const Poppler::FormField& field) {
    if (field.type() == Poppler::FormField::FormText)
        return static_cast<const Poppler::FormFieldText&>(field).text();
    if (field.type() != Poppler::FormField::FormChoice)
        return std::nullopt;
    const auto& choice = static_cast<const Poppler::FormFieldChoice&>(field);
    if (choice.isEditable() && !choice.editChoice().isEmpty())
        return choice.editChoice();
    const QList<int> current = choice.currentChoices();
    return current.isEmpty() ? QString() : choice.choices().value(current.first());
}

} // namespace

std::optional<FormatForm> FormatForm::Of(const fs::path& programFolder,
                                         const FormatCatalogue& catalogue, int slot) {
    // The layouts are BASE1.dat ... BASE4.dat; the form and its bindings are BASE.pdf and
    // BASE.form beside them.
    std::string base = catalogue.Column(slot, ColFrontTemplate);
    const std::string suffix = "1.dat";
    if (base.size() <= suffix.size())
        return std::nullopt;
    base.resize(base.size() - suffix.size());
    const fs::path bindings = programFolder / (base.substr(1) + ".form");
    const std::optional<fs::path> found = ResolveExisting(bindings);
    if (!found)
        return std::nullopt;
    FormatForm form;
    try {
        form.bindings = FormFieldMap::Read(*found);
    } catch (const RuntimeError& error) {
        throw FilledFormError("The form fields of the format cannot be read from " +
                              found->string() + ": " + error.what());
    }
    const fs::path pdf = programFolder / (base.substr(1) + ".pdf");
    form.pdf = ResolveExisting(pdf).value_or(pdf);
    return form;
}

QString FormTextOfCardText(const std::string& cardText, const TextCodec& codec) {
    QString text = MarkupToSymbols(codec.Decode(StripFontPrefix(cardText)));
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

std::string CardTextOfFormText(QString formText, const TextCodec& codec) {
    formText.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    formText.replace(QChar('\r'), QChar('\n'));
    formText.replace(QChar('\n'), QStringLiteral("\r\n"));
    formText.replace(QChar('"'), QStringLiteral("''"));
    return codec.Encode(SymbolsToMarkup(formText));
}

namespace {

std::string EmptiedFormHere(const fs::path& formPdf) {
    std::unique_ptr<Poppler::Document> document = OpenForm(formPdf);
    const FormWidgets widgets(*document);
    widgets.ForEach([](Poppler::FormField& field) {
        switch (field.type()) {
        case Poppler::FormField::FormText:
            static_cast<Poppler::FormFieldText&>(field).setText(QString());
            break;
        case Poppler::FormField::FormButton: {
            auto& button = static_cast<Poppler::FormFieldButton&>(field);
            button.setState(false);
            // A radio group that must keep one button on keeps it: that button is hidden
            // instead (the card draws its own box there, and filling the form shows it again).
            if (button.state())
                button.setVisible(false);
            break;
        }
        case Poppler::FormField::FormChoice: {
            auto& choice = static_cast<Poppler::FormFieldChoice&>(field);
            choice.setCurrentChoices({});
            if (choice.isEditable())
                choice.setEditChoice(QString());
            break;
        }
        default:
            break;
        }
    });
    return SavedWithChanges(*document, formPdf);
}

std::string FillFormHere(const FormatForm& form, const CardPage& front, const CardPage* back,
                         const TextCodec& codec, FormTransfer& transfer) {
    std::unique_ptr<Poppler::Document> document = OpenForm(form.pdf);
    const FormWidgets widgets(*document);
    for (const FormFieldBinding& binding : form.bindings) {
        const CardPage* page = PageOf(binding, front, back);
        if (!page || !HasRecord(*page, binding))
            continue;
        const CardField& record = page->Field(binding.kind, binding.index);
        const std::vector<Poppler::FormField*> targets = widgets.Of(binding);
        if (targets.empty()) {
            transfer.notTransferred.push_back("The form has no field " + FieldNameOf(binding) +
                                              ".");
            continue;
        }
        for (Poppler::FormField* field : targets) {
            if (binding.kind == TextField)
                SetText(*field, FormTextOfCardText(record.text, codec), binding, transfer);
            else if (field->type() == Poppler::FormField::FormButton) {
                auto& button = static_cast<Poppler::FormFieldButton&>(*field);
                button.setVisible(true);
                button.setState(CheckBoxRecord(record.a).ticked());
            }
        }
        ++transfer.fieldsSet;
    }

    return SavedWithChanges(*document, form.pdf);
}

// Runs work in a child process and returns what it made. Poppler can crash on a damaged form
// while it writes the form's fields; in a child process such a crash costs the user a
// message, not the program and what is unsaved in it.
std::string InChildProcess(const std::function<std::string()>& work, const std::string& failure) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return work();
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        return work();
    }
    if (child == 0) {
        ::close(pipeEnds[0]);
        std::string out;
        try {
            out = "+" + work();
        } catch (const std::exception& error) {
            out = std::string("-") + error.what();
        }
        for (size_t written = 0; written < out.size();) {
            const ssize_t n = ::write(pipeEnds[1], out.data() + written, out.size() - written);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                ::_exit(3);
            written += size_t(n);
        }
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    std::string result;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(pipeEnds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        result.append(buffer, size_t(n));
    }
    ::close(pipeEnds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || result.empty())
        throw FilledFormError(failure);
    if (result.front() == '-')
        throw FilledFormError(result.substr(1));
    return result.substr(1);
}

} // namespace

std::string EmptiedForm(const fs::path& formPdf) {
    return InChildProcess([&] { return EmptiedFormHere(formPdf); },
                          "The form " + formPdf.filename().string() +
                              " is damaged: its fields cannot be emptied.");
}

std::string FillForm(const FormatForm& form, const CardPage& front, const CardPage* back,
                     const TextCodec& codec, FormTransfer& transfer) {
    // The child hands back what it could not fill in, one line each, before the PDF.
    const std::string made = InChildProcess(
        [&] {
            FormTransfer filled;
            std::string pdf = FillFormHere(form, front, back, codec, filled);
            std::string head = std::to_string(filled.fieldsSet) + "\n";
            for (std::string line : filled.notTransferred) {
                std::replace(line.begin(), line.end(), '\n', ' ');
                head += line + "\n";
            }
            return head + "\n" + pdf;
        },
        "The form " + form.pdf.filename().string() + " is damaged: it cannot be filled in.");
    const size_t end = made.find("\n\n");
    if (end == std::string::npos)
        throw FilledFormError("The filled form could not be made.");
    std::istringstream head(made.substr(0, end + 1));
    std::string line;
    std::getline(head, line);
    transfer.fieldsSet += std::atoi(line.c_str());
    while (std::getline(head, line))
        transfer.notTransferred.push_back(line);
    return made.substr(end + 2);
}

FormTransfer ReadFilledForm(const fs::path& filledPdf, const FormatForm& form, CardPage& front,
                            CardPage* back, const TextCodec& codec) {
    std::unique_ptr<Poppler::Document> document = OpenForm(filledPdf);
    const FormWidgets widgets(*document);
    FormTransfer transfer;
    bool anyFound = false;
    for (const FormFieldBinding& binding : form.bindings) {
        CardPage* page = PageOf(binding, front, back);
        const std::vector<Poppler::FormField*> sources = widgets.Of(binding);
        anyFound = anyFound || !sources.empty();
        if (!page || !HasRecord(*page, binding) || sources.empty())
            continue;
        CardField& record = page->Field(binding.kind, binding.index);
        const Poppler::FormField& source = *sources.front();
        if (binding.kind == TextField) {
            const std::optional<QString> text = TextOf(source);
            if (!text)
                continue;
            record.text = GetFontPrefix(record.text) + CardTextOfFormText(*text, codec);
        } else if (source.type() == Poppler::FormField::FormButton) {
            MutableCheckBoxRecord(record.a).tickState() =
                static_cast<const Poppler::FormFieldButton&>(source).state() ? 1 : 0;
        } else {
            continue;
        }
        ++transfer.fieldsSet;
    }
    if (!anyFound)
        throw FilledFormError(filledPdf.filename().string() +
                              " is not a filled copy of this format's form: none of its fields "
                              "is there.");
    return transfer;
}

} // namespace cw
