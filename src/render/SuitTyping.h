#pragma once

#include <QString>

namespace cw {

// Suit symbols where the user types or searches text. The card keeps the suit markup ("<c>", "<d>",
// "<h>",
// "<s>"); the editor shows the symbols the card will show, and what is typed or pasted into
// it becomes markup again.

// The editor's text for a field's text: each suit tag becomes its symbol.
QString MarkupToSymbols(const QString& text);
// The field's text for the editor's text: each suit symbol (♣ ♦ ♥ ♠, also the white ones)
// becomes its tag.
QString SymbolsToMarkup(const QString& text);
// The tag letter of a suit symbol (the white ones count as their suits), or 0.
char SuitTagLetter(QChar symbol);
// The symbol of a suit letter (c, d, h, s in either case); a null QChar for any other.
QChar SuitSymbol(QChar letter);
// "!c", "!d", "!h", "!s" (as players type them online) just before caret become the suit's
// symbol: the position where the two characters start, or -1 when they are not there.
int BangSuitBefore(const QString& text, int caret);

} // namespace cw
