#include "FormFieldMap.h"

#include <QFile>
#include <QStringList>

namespace cw {

namespace {

QString Escaped(const QString& part) {
    QString out;
    out.reserve(part.size());
    for (const QChar c : part) {
        if (c == u'\\')
            out += u"\\\\";
        else if (c == u'#')
            out += u"\\#";
        else if (c == u'\t')
            out += u"\\t";
        else if (c == u'\n')
            out += u"\\n";
        else
            out += c;
    }
    return out;
}

// Splits the widget column into the name and the export value at the one bare '#', undoing
// the escapes. False when the column is not well formed.
bool SplitWidget(const QString& column, QString& name, QString& value) {
    QString* current = &name;
    bool sawSeparator = false;
    for (qsizetype i = 0; i < column.size(); ++i) {
        const QChar c = column[i];
        if (c == u'#') {
            if (sawSeparator)
                return false;
            sawSeparator = true;
            current = &value;
        } else if (c == u'\\') {
            if (++i == column.size())
                return false;
            const QChar next = column[i];
            if (next == u'\\' || next == u'#')
                *current += next;
            else if (next == u't')
                *current += u'\t';
            else if (next == u'n')
                *current += u'\n';
            else
                return false;
        } else {
            *current += c;
        }
    }
    return !name.isEmpty() && (!sawSeparator || !value.isEmpty());
}

[[noreturn]] void Refuse(int lineNumber, const QString& line) {
    throw FormFieldMapError(
        QStringLiteral("line %1 of the form's field map is not a field binding: \"%2\"")
            .arg(lineNumber)
            .arg(line.left(80))
            .toStdString());
}

} // namespace

QString FormFieldMapText(const std::vector<FormFieldBinding>& bindings) {
    QString text;
    for (const FormFieldBinding& b : bindings) {
        text += QString::number(b.backPage ? 3 : 1) + u'\t' + QString::number(b.kind) + u'\t' +
                QString::number(b.index) + u'\t' + Escaped(b.widgetName);
        if (!b.onValue.isEmpty())
            text += u'#' + Escaped(b.onValue);
        text += u'\n';
    }
    return text;
}

std::vector<FormFieldBinding> ParseFormFieldMap(const QString& text) {
    std::vector<FormFieldBinding> bindings;
    const QStringList lines = text.split(u'\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QString line = lines[n];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(u';'))
            continue;
        const QStringList columns = line.split(u'\t');
        if (columns.size() != 4)
            Refuse(int(n + 1), line);
        bool pageOk = false, kindOk = false, indexOk = false;
        const int page = columns[0].toInt(&pageOk);
        FormFieldBinding b;
        b.kind = columns[1].toInt(&kindOk);
        b.index = columns[2].toInt(&indexOk);
        if (!pageOk || (page != 1 && page != 3) || !kindOk || b.kind <= 0 || !indexOk ||
            b.index < 0 || !SplitWidget(columns[3], b.widgetName, b.onValue))
            Refuse(int(n + 1), line);
        b.backPage = page == 3;
        bindings.push_back(std::move(b));
    }
    return bindings;
}

std::vector<FormFieldBinding> ReadFormFieldMap(const std::filesystem::path& file) {
    QFile in(QString::fromStdString(file.string()));
    if (!in.open(QIODevice::ReadOnly))
        throw FormFieldMapError("cannot read the form's field map " + file.string() + ": " +
                                in.errorString().toStdString());
    return ParseFormFieldMap(QString::fromUtf8(in.readAll()));
}

} // namespace cw
