#include "gridicons.h"

#include <QPainter>
#include <QPainterPath>

namespace kestro {

namespace {

constexpr int kSize = 16;

QPixmap canvas()
{
    QPixmap p(kSize, kSize);
    p.fill(Qt::transparent);
    return p;
}

QPixmap dot(const QColor &fill, const QString &letter = {})
{
    QPixmap p = canvas();
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(fill.darker(140));
    g.setBrush(fill);
    g.drawEllipse(QRectF(1.5, 1.5, kSize - 3, kSize - 3));
    if (!letter.isEmpty()) {
        QFont f = g.font();
        f.setPixelSize(10);
        f.setBold(true);
        g.setFont(f);
        g.setPen(Qt::white);
        g.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, letter);
    }
    return p;
}

QPixmap tick()
{
    QPixmap p = canvas();
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(0x2e, 0x8b, 0x3a), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath path;
    path.moveTo(3, 8.5);
    path.lineTo(6.5, 12);
    path.lineTo(13, 4);
    g.drawPath(path);
    return p;
}

QPixmap cross()
{
    QPixmap p = canvas();
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(0xc0, 0x39, 0x2b), 2.5, Qt::SolidLine, Qt::RoundCap));
    g.drawLine(QPointF(4, 4), QPointF(12, 12));
    g.drawLine(QPointF(12, 4), QPointF(4, 12));
    return p;
}

QPixmap camera()
{
    QPixmap p = canvas();
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QColor(0x34, 0x49, 0x5e));
    g.setBrush(QColor(0x5d, 0x6d, 0x7e));
    g.drawRoundedRect(QRectF(1.5, 4.5, 13, 9), 2, 2);
    g.drawRect(QRectF(5.5, 2.5, 5, 2));
    g.setBrush(Qt::white);
    g.drawEllipse(QRectF(5, 6, 6, 6));
    return p;
}

} // namespace

const IconMap &StokDurumIkonlari()
{
    static const IconMap m = {
        {0, {dot(QColor(0xc0, 0x39, 0x2b)), QStringLiteral("Yok")}},
        {1, {dot(QColor(0x27, 0xae, 0x60)), QStringLiteral("Var")}},
        {2, {dot(QColor(0xe6, 0x7e, 0x22), QStringLiteral("T")), QStringLiteral("Telefon Açınız")}},
        {3, {dot(QColor(0x29, 0x80, 0xb9), QStringLiteral("Y")), QStringLiteral("Yolda")}},
        {4, {dot(QColor(0x8e, 0x44, 0xad), QStringLiteral("Ö")), QStringLiteral("Özel Sipariş")}},
        {5, {dot(QColor(0xf1, 0xc4, 0x0f), QStringLiteral("S")), QStringLiteral("Tedarik Sürecinde")}},
    };
    return m;
}

const IconMap &EvetHayirIkonlari(bool hayirDa)
{
    static const IconMap both = {{1, {tick(), QStringLiteral("Evet")}}, {0, {cross(), QStringLiteral("Hayır")}}};
    static const IconMap yesOnly = {{1, {tick(), QStringLiteral("Evet")}}, {0, {QPixmap(), QStringLiteral("Hayır")}}};
    return hayirDa ? both : yesOnly;
}

const IconMap &ResimIkonlari()
{
    static const IconMap m = {{1, {camera(), QStringLiteral("Var")}}, {0, {QPixmap(), QStringLiteral("Yok")}}};
    return m;
}

} // namespace kestro
