#include "aramametni.h"

#include <QKeyEvent>

namespace kestro {

QChar AramaHarfiDonustur(QChar c)
{
    switch (c.unicode()) {
    case u'ğ': return u'g';
    case u'ü': return u'u';
    case u'ş': return u's';
    case u'ö': return u'o';
    case u'ç': return u'c';
    case u'ı': return u'I';
    case u'Ğ': return u'G';
    case u'Ü': return u'U';
    case u'Ş': return u'S';
    case u'İ': return u'I';
    case u'Ö': return u'O';
    case u'Ç': return u'C';
    default: return c;
    }
}

// Upper case of plain Latin letters only: "i" must become "I", not the Turkish dotted "İ".
static QString latinUpper(const QString &s)
{
    QString out = s;
    for (QChar &c : out)
        c = AramaHarfiDonustur(c).toUpper();
    return out;
}

AramaKutusu::AramaKutusu(QWidget *parent) : QLineEdit(parent)
{
    // Pasted text is kept in upper case too (plain upper case: no letter replacement).
    connect(this, &QLineEdit::textEdited, this, [this](const QString &t) {
        const QString upper = t.toUpper();
        if (upper != t) {
            const int pos = cursorPosition();
            setText(upper);
            setCursorPosition(pos);
        }
    });
}

void AramaKutusu::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        emit enterBasildi();
        return;
    }
    const QString t = e->text();
    if (!t.isEmpty() && t.at(0).isPrint() && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        insert(latinUpper(t));
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void AramaKutusu::inputMethodEvent(QInputMethodEvent *e)
{
    if (!e->commitString().isEmpty()) {
        QInputMethodEvent replaced(e->preeditString(), e->attributes());
        replaced.setCommitString(latinUpper(e->commitString()), e->replacementStart(), e->replacementLength());
        QLineEdit::inputMethodEvent(&replaced);
        return;
    }
    QLineEdit::inputMethodEvent(e);
}

} // namespace kestro
