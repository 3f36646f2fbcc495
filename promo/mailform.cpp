#include "mailform.h"

#include "background.h"
#include "connection.h"
#include "connectioncheck.h"
#include "identity.h"
#include "messages.h"
#include "proxy.h"
#include "servercall.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

namespace kestro {

QString VirgulluMetin(const QStringList &lines)
{
    QStringList parts;
    parts.reserve(lines.size());
    for (const QString &line : lines) {
        bool quote = false;
        for (QChar ch : line)
            if (ch == QLatin1Char('"') || ch == QLatin1Char(',') || (ch.unicode() >= 1 && ch.unicode() <= 32)) {
                quote = true;
                break;
            }
        if (!quote) {
            parts << line;
            continue;
        }
        QString q = line;
        q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        parts << QLatin1Char('"') + q + QLatin1Char('"');
    }
    return parts.join(QLatin1Char(','));
}

QStringList MetinSatirlari(const QString &text)
{
    if (text.isEmpty())
        return {};
    QString t = text;
    if (t.endsWith(QLatin1Char('\n')))
        t.chop(1);
    return t.split(QLatin1Char('\n'));
}

Tmailform::Tmailform(QWidget *owner, const ServerConnection &connection)
    : QDialog(owner), con(connection.clone())
{
    setObjectName(QStringLiteral("mailform"));
    setWindowTitle(QStringLiteral("Mail Gönder"));
    resize(671, 451);

    Label1 = new QLabel(QStringLiteral("Konu:"), this);
    baslik = new QLineEdit(this);
    baslik->setObjectName(QStringLiteral("baslik"));
    Label2 = new QLabel(QStringLiteral("Mail:"), this);
    konu = new QPlainTextEdit(this);
    konu->setObjectName(QStringLiteral("konu"));
    konu->setLineWrapMode(QPlainTextEdit::NoWrap);
    konu->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    konu->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Button2 = new QPushButton(QStringLiteral("Gönder"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button1 = new QPushButton(QStringLiteral("Kapat"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    for (QPushButton *b : {Button1, Button2})
        b->setAutoDefault(false);

    auto *grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(baslik, 0, 1);
    grid->addWidget(Label2, 1, 0, Qt::AlignTop);
    grid->addWidget(konu, 1, 1);
    auto *bar = new QHBoxLayout;
    bar->addStretch();
    bar->addWidget(Button2);
    bar->addWidget(Button1);
    grid->addLayout(bar, 2, 0, 1, 2);

    connect(Button2, &QPushButton::clicked, this, &Tmailform::Button2Click);
    connect(Button1, &QPushButton::clicked, this, &Tmailform::Button1Click);
    baslik->setFocus();
}

Tmailform::~Tmailform() = default;

void Tmailform::Button2Click()
{
    if (baslik->text().trimmed().isEmpty()) {
        baslik->selectAll();
        baslik->setFocus();
        UyariVer(QStringLiteral("Lütfen Başlık Giriniz !"));
        return;
    }
    if (konu->toPlainText().trimmed().isEmpty()) {
        konu->selectAll();
        konu->setFocus();
        UyariVer(QStringLiteral("Lütfen Konu Giriniz !"));
        return;
    }
    Button2->setEnabled(false);

    const QString konusu = baslik->text();
    const QString metin = VirgulluMetin(MetinSatirlari(konu->toPlainText()));
    auto basarili = std::make_shared<bool>(false);
    std::shared_ptr<ServerConnection> c = con;
    QPointer<Tmailform> self(this);
    ArkaPlanda([c, konusu, metin, basarili] {
        try {
            SunucuCagir(*c, 1, [&](TServerMethods1Client &proxy) {
                const QString id = BilgisayarIdAl();
                const TMobilCariBilgisi *kart = proxy.MobilCariBilgisiGetir(0, id);
                if (kart) {
                    proxy.MailGonserCariNormal(id, konusu, kart->CARIADI(), kart->ADRES1(), kart->ADRES2(),
                        kart->ILCE(), kart->SEHIR(), kart->TEL1(), kart->FAX1(), kart->VERGIDAIRESI(), kart->VERGINO(),
                        kart->YETKILI(), kart->KULLANICIADI(), kart->SIFRE(), kart->MAIL(), QString(), metin);
                    *basarili = true;
                }
            });
        } catch (...) {
            // The send failed; the message says so.
        }
    })->Await([self, basarili] {
        if (*basarili)
            BilgiVer(QStringLiteral("Mail Gönderildi !"));
        else
            HataVer(QStringLiteral("Mail Göndermede Hata\nLütfen Tekrar Deneyin !"));
        if (!self)
            return;
        self->Button2->setEnabled(true);
        emit self->gonderimBitti(*basarili);
    });
}

void Tmailform::Button1Click()
{
    if (Button2->isEnabled())
        QDialog::reject();
}

// Escape and the window's close button follow the same rule as "Kapat".
void Tmailform::reject()
{
    if (Button2->isEnabled())
        QDialog::reject();
}

void Tmailform::closeEvent(QCloseEvent *e)
{
    if (Button2->isEnabled())
        QDialog::closeEvent(e);
    else
        e->ignore();
}

} // namespace kestro
