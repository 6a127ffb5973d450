#include "FormFieldMap.h"

#include <QStringList>

namespace cw {

std::string FormFieldMap::Compose(const std::vector<FormFieldBinding>& bindings) {
    QString text;
    for (const FormFieldBinding& binding : bindings)
        text += QStringLiteral("%1\t%2\t%3\t%4\t%5\n")
                    .arg(binding.backPage ? 3 : 1)
                    .arg(binding.kind)
                    .arg(binding.index)
                    .arg(binding.widgetName, binding.onValue);
    return text.toStdString();
}

std::vector<FormFieldBinding> FormFieldMap::Parse(const std::string& bytes) {
    std::vector<FormFieldBinding> bindings;
    const QStringList lines = QString::fromStdString(bytes).split('\n', Qt::SkipEmptyParts);
    int number = 0;
    for (QString line : lines) {
        ++number;
        if (line.endsWith('\r'))
            line.chop(1);
        const QStringList items = line.split('\t');
        bool pageOk = false, kindOk = false, indexOk = false;
        FormFieldBinding binding;
        const int page = items.value(0).toInt(&pageOk);
        binding.kind = items.value(1).toInt(&kindOk);
        binding.index = items.value(2).toInt(&indexOk);
        if (items.size() != 5 || !pageOk || !kindOk || !indexOk || (page != 1 && page != 3) ||
            binding.index < 0)
            throw RuntimeError(RuntimeError::TypeMismatch,
                               "Form field line " + std::to_string(number) + " is not a binding");
        binding.backPage = page == 3;
        binding.widgetName = items[3];
        binding.onValue = items[4];
        bindings.push_back(binding);
    }
    return bindings;
}

std::vector<FormFieldBinding> FormFieldMap::Read(const fs::path& file) {
    return Parse(ReadExistingFile(file));
}

} // namespace cw
