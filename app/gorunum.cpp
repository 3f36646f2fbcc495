#include "gorunum.h"

#include <QLineEdit>
#include <QMovie>

// The pictures live in this static library; their initialiser must be pulled in by a call.
static void kaynaklariYukle() { Q_INIT_RESOURCE(app); }

namespace kestro {

void UygulamaResimleriniYukle()
{
    static const bool yuklendi = (kaynaklariYukle(), true);
    Q_UNUSED(yuklendi);
}

QFont TahomaYazi(int pixelSize, bool bold)
{
    QFont f;
    f.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

void BuyukHarfZorla(QLineEdit *edit)
{
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString &text) {
        // Locale-free upper case: "i" becomes "I", as user names are stored.
        const QString upper = text.toUpper();
        if (upper == text)
            return;
        const int pos = edit->cursorPosition();
        edit->setText(upper);
        edit->setCursorPosition(qMin(pos, int(upper.size())));
    });
}

MesgulResmi::MesgulResmi(QWidget *parent) : QLabel(parent), m_movie((UygulamaResimleriniYukle(), new QMovie(QStringLiteral(":/app/mesgul.gif"), {}, this)))
{
    setMovie(m_movie);
    setFixedSize(24, 24);
}

bool MesgulResmi::oynuyor() const { return m_movie->state() == QMovie::Running; }

void MesgulResmi::showEvent(QShowEvent *e)
{
    QLabel::showEvent(e);
    m_movie->start();
}

void MesgulResmi::hideEvent(QHideEvent *e)
{
    m_movie->stop();
    QLabel::hideEvent(e);
}

} // namespace kestro
