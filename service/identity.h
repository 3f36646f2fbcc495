// The computer's identity and the per-user data folder.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace kestro {

// What the identity routines ask the operating system. Tests replace it.
class SystemInfo
{
public:
    struct Adapter
    {
        bool answered = false; // false: the status query failed
        QByteArray address;    // six bytes when answered
    };

    virtual ~SystemInfo() = default;
    virtual QString computerName() const = 0;   // empty on failure
    virtual QString userName() const = 0;       // empty on failure
    virtual QString localIPv4() const = 0;      // empty when none
    virtual QString systemDiskSerial() const = 0; // raises Error when unavailable
    virtual QList<Adapter> adapters() const = 0;

    // The real system: gethostname, passwd, interfaces, sysfs/udev.
    static const SystemInfo &host();
};

QString BilgisayarAdiAl(const SystemInfo &sys = SystemInfo::host());
QString KullaniciAdiAl(const SystemInfo &sys = SystemInfo::host());
QString IcIpAl(const SystemInfo &sys = SystemInfo::host());
QString MacAdresiAl(const SystemInfo &sys = SystemInfo::host());
QString DiskSeriNoAl(const SystemInfo &sys = SystemInfo::host());
QString BilgisayarIdAl(const SystemInfo &sys = SystemInfo::host());

// Drive serials that several computers share, and the identity they map to.
struct SharedIdentityTable
{
    QStringList serials;
    QString identity;
    static SharedIdentityTable deployed();
};
QString BilgisayarIdAl(const SystemInfo &sys, const SharedIdentityTable &shared);

// The per-user data folder ("kestro" under the roaming data location), created if missing.
QString VeriKlasoruAl();

} // namespace kestro
