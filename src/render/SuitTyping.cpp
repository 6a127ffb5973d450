#include "SuitTyping.h"

namespace cw {

namespace {

constexpr char16_t kClub = 0x2663, kDiamond = 0x2666, kHeart = 0x2665, kSpade = 0x2660;

} // namespace

char SuitTagLetter(QChar symbol) {
    switch (symbol.unicode()) {
    case kClub:
    case 0x2667:
        return 'c';
    case kDiamond:
    case 0x2662:
        return 'd';
    case kHeart:
    case 0x2661:
        return 'h';
    case kSpade:
    case 0x2664:
        return 's';
    default:
        return 0;
    }
}

QChar SuitSymbol(QChar letter) {
    switch (letter.toLower().unicode()) {
    case 'c':
        return QChar(kClub);
    case 'd':
        return QChar(kDiamond);
    case 'h':
        return QChar(kHeart);
    case 's':
        return QChar(kSpade);
    default:
        return QChar();
    }
}

QString MarkupToSymbols(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        // Only the lower-case tags are suits; "<C>" and the digit tags stay as they are.
        if (text[i] == u'<' && i + 2 < text.size() && text[i + 2] == u'>' &&
            text[i + 1].isLower()) {
            if (QChar symbol = SuitSymbol(text[i + 1]); !symbol.isNull()) {
                shown += symbol;
                i += 2;
                continue;
            }
        }
        shown += text[i];
    }
    return shown;
}

QString SymbolsToMarkup(const QString& text) {
    QString markup;
    markup.reserve(text.size());
    for (QChar c : text) {
        if (char tag = SuitTagLetter(c.unicode())) {
            markup += u'<';
            markup += QLatin1Char(tag);
            markup += u'>';
        } else {
            markup += c;
        }
    }
    return markup;
}

int BangSuitBefore(const QString& text, int caret) {
    if (caret < 2 || caret > text.size())
        return -1;
    if (text[caret - 2] != u'!' || SuitSymbol(text[caret - 1]).isNull())
        return -1;
    return caret - 2;
}

} // namespace cw
