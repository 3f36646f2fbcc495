// Catalogue search text: Turkish letters folded to Latin upper case, part numbers without punctuation.
#pragma once

#include <QString>
#include <QStringList>

namespace kestro::server {

QString foldTurkish(const QString &s);

// The indexed text of a stock: every word folded, and each word that holds
// punctuation once more with the punctuation removed ("16-07" also as "1607").
QString searchText(const QStringList &fields);

// The words of a search text, folded and stripped to letters and digits.
QStringList searchWords(const QString &text);

// An FTS5 expression matching every word as a prefix; empty when no word.
QString ftsExpression(const QStringList &words);

} // namespace kestro::server
