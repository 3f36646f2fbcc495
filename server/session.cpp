#include "session.h"

#include "database.h"

#include <QDateTime>

namespace kestro::server {

bool mayActFor(const SessionUser &u, int carino)
{
    if (carino <= 0)
        return false;
    if (!u.isRep())
        return carino == u.carino;
    // A representative with price authority serves every account; a plain one
    // serves the accounts assigned to its representative number.
    if (u.tip == 2)
        return scalar(QStringLiteral("SELECT COUNT(*) FROM cariler WHERE carino = ?"), {carino}).toInt() > 0;
    return scalar(QStringLiteral("SELECT COUNT(*) FROM cariler WHERE carino = ? AND satici_no = ?"),
                  {carino, u.saticiNo}).toInt() > 0;
}

SessionUser checkSession(const TSonucBilgisi &k)
{
    QSqlQuery q = run(QStringLiteral("SELECT u.sirano, u.adi, u.tip, u.aktif, u.carino, u.satici_no, u.sifre "
                                     "FROM kullanicilar u JOIN bilgisayarlar b ON b.sirano = u.sirano "
                                     "WHERE u.sirano = ? AND b.bilgisayarid = ?"),
                      {k.Sirano(), k.BILGISAYARID()});
    if (!q.next())
        throw ApiError(401, QStringLiteral("Oturum geçersiz: bu bilgisayar bu kullanıcıya kayıtlı değil"));
    if (q.value(3).toInt() != 1)
        throw ApiError(403, QStringLiteral("Kullanıcı hesabı aktif değil"));
    if (q.value(6).toString() != k.SIFRE() || q.value(1).toString() != k.ADI())
        throw ApiError(401, QStringLiteral("Oturum geçersiz: kullanıcı bilgileri uyuşmuyor"));
    SessionUser u;
    u.sirano = q.value(0).toInt();
    u.adi = q.value(1).toString();
    u.tip = q.value(2).toInt();
    u.carino = q.value(4).toInt();
    u.saticiNo = q.value(5).toInt();
    if (u.isRep()) {
        if (!mayActFor(u, k.CARINO()))
            forbidden(QStringLiteral("Bu cari hesap için işlem yetkiniz yok"));
        u.carino = k.CARINO();
    } else if (k.CARINO() != u.carino) {
        forbidden(QStringLiteral("Bu cari hesap için işlem yetkiniz yok"));
    }
    return u;
}

TSonucBilgisi sessionForMachine(const QString &machineId, int expectedVersion)
{
    TSonucBilgisi r;
    r.setVersion(expectedVersion);
    r.setBILGISAYARID(machineId);
    if (machineId.trimmed().isEmpty())
        return r;
    QSqlQuery q = run(QStringLiteral(
        "SELECT u.sirano, u.adi, u.sifre, u.tip, u.aktif, u.carino, u.mail, c.cariadi, c.carikod, "
        "s.satici_no, s.adi, s.telefon, s.mail FROM bilgisayarlar b JOIN kullanicilar u ON u.sirano = b.sirano "
        "LEFT JOIN cariler c ON c.carino = u.carino "
        "LEFT JOIN saticilar s ON s.satici_no = COALESCE(c.satici_no, u.satici_no) WHERE b.bilgisayarid = ?"),
        {machineId});
    if (!q.next())
        return r;
    r.setVarmi(true);
    r.setSirano(q.value(0).toInt());
    r.setADI(q.value(1).toString());
    r.setSIFRE(q.value(2).toString());
    r.setMusteriTipi(q.value(3).toInt());
    r.setAKTIF(q.value(4).toInt());
    r.setCARINO(q.value(5).toInt());
    r.setKullanicimail(q.value(6).toString());
    r.setCariAdi(q.value(7).toString());
    r.setcarikod(q.value(8).toString());
    r.setSaticiNo(q.value(9).toInt());
    r.setSaticiAdi(q.value(10).toString());
    r.setSaticiTelefon(q.value(11).toString());
    r.setSaticiMail(q.value(12).toString());
    return r;
}

void registerMachine(const QString &machineId, const QString &userName)
{
    if (machineId.trimmed().isEmpty())
        badRequest(QStringLiteral("Bilgisayar kimliği boş olamaz"));
    Transaction t;
    const QVariant sirano = scalar(QStringLiteral("SELECT sirano FROM kullanicilar WHERE adi = ?"), {userName});
    if (!sirano.isValid())
        notFound(QStringLiteral("Kullanıcı bulunamadı: %1").arg(userName));
    run(QStringLiteral("DELETE FROM bilgisayarlar WHERE bilgisayarid = ?"), {machineId});
    run(QStringLiteral("INSERT INTO bilgisayarlar (bilgisayarid, sirano, kayit_tarihi) VALUES (?, ?, ?)"),
        {machineId, sirano, QDateTime::currentDateTime().toString(Qt::ISODate)});
    t.commit();
}

} // namespace kestro::server
