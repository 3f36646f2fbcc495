#include "formistekyeni.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace kestro {

Tformistekyeni::Tformistekyeni(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("formistekyeni"));
    resize(780, 555);

    bilgi = new QLabel(this);
    bilgi->setObjectName(QStringLiteral("sitem"));
    bilgi->setAlignment(Qt::AlignCenter);
    bilgi->setWordWrap(true);
    bilgi->setTextFormat(Qt::RichText);
    bilgi->setOpenExternalLinks(true);
    bilgi->setTextInteractionFlags(Qt::TextBrowserInteraction);

    Button1 = new QPushButton(QStringLiteral("Kapat"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    connect(Button1, &QPushButton::clicked, this, &Tformistekyeni::Button1Click);

    auto *bar = new QHBoxLayout;
    bar->addStretch();
    bar->addWidget(Button1);
    auto *lay = new QVBoxLayout(this);
    lay->addWidget(bilgi, 1);
    lay->addLayout(bar);

    if (QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
}

void Tformistekyeni::Navigate(const QUrl &url)
{
    m_adres = url;
    const QString link = url.toString(QUrl::FullyEncoded).toHtmlEscaped();
    bilgi->setText(QStringLiteral("<p>Bu kurulumda gömülü web tarayıcısı yok.</p>"
                                  "<p>Form sayfası sistemin web tarayıcısında açıldı:</p>"
                                  "<p><a href=\"%1\">%1</a></p>"
                                  "<p>Formu doldurup gönderdikten sonra bu pencereyi kapatabilirsiniz.</p>")
                       .arg(link));
}

void Tformistekyeni::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    // Once per window: showing it again must not open a second browser tab.
    if (!m_acildi && m_adres.isValid()) {
        m_acildi = true;
        QDesktopServices::openUrl(m_adres);
    }
}

void Tformistekyeni::Button1Click() { reject(); }

} // namespace kestro
