#include "identity.h"

#include "errors.h"

#include <deployment.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>

namespace kestro {

namespace {

QString readFirstLine(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readLine()).trimmed();
}

// The disk the root file system lives on, as a /sys/block name.
QString systemDiskName()
{
    struct stat st{};
    if (stat("/", &st) == 0) {
        // /sys/dev/block/MAJ:MIN points into the device tree; a partition's parent is the disk.
        const QString link = QFile::symLinkTarget(
            QStringLiteral("/sys/dev/block/%1:%2").arg(major(st.st_dev)).arg(minor(st.st_dev)));
        if (!link.isEmpty()) {
            QDir dir(link);
            if (QFile::exists(dir.filePath(QStringLiteral("partition"))))
                dir.cdUp();
            if (QFile::exists(QStringLiteral("/sys/block/") + dir.dirName()))
                return dir.dirName();
        }
    }
    // Otherwise the first real disk in name order.
    QStringList disks = QDir(QStringLiteral("/sys/block")).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &d : disks)
        if (!d.startsWith(QLatin1String("loop")) && !d.startsWith(QLatin1String("ram"))
            && !d.startsWith(QLatin1String("zram")) && !d.startsWith(QLatin1String("sr"))
            && !d.startsWith(QLatin1String("dm-")))
            return d;
    return {};
}

class HostSystem : public SystemInfo
{
public:
    QString computerName() const override
    {
        char buf[256] = {};
        if (gethostname(buf, sizeof buf - 1) != 0)
            return {};
        return QString::fromLocal8Bit(buf);
    }

    QString userName() const override
    {
        struct passwd pw{};
        struct passwd *res = nullptr;
        char buf[4096];
        if (getpwuid_r(geteuid(), &pw, buf, sizeof buf, &res) != 0 || !res)
            return {};
        return QString::fromLocal8Bit(pw.pw_name);
    }

    QString localIPv4() const override
    {
        ifaddrs *list = nullptr;
        if (getifaddrs(&list) != 0)
            return {};
        QString found;
        for (ifaddrs *a = list; a && found.isEmpty(); a = a->ifa_next) {
            if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET || (a->ifa_flags & IFF_LOOPBACK))
                continue;
            char text[INET_ADDRSTRLEN] = {};
            const auto *in = reinterpret_cast<const sockaddr_in *>(a->ifa_addr);
            if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof text))
                found = QString::fromLatin1(text);
        }
        freeifaddrs(list);
        return found;
    }

    QString systemDiskSerial() const override
    {
        const QString disk = systemDiskName();
        if (disk.isEmpty())
            throw Error(QStringLiteral("Sistem diski bulunamadı"));
        QString serial = readFirstLine(QStringLiteral("/sys/block/%1/device/serial").arg(disk));
        if (serial.isEmpty()) {
            // udev keeps the serial it read from the drive in its database.
            const QString dev = readFirstLine(QStringLiteral("/sys/block/%1/dev").arg(disk));
            QFile db(QStringLiteral("/run/udev/data/b") + dev);
            if (db.open(QIODevice::ReadOnly)) {
                while (!db.atEnd()) {
                    const QString line = QString::fromUtf8(db.readLine()).trimmed();
                    if (line.startsWith(QLatin1String("E:ID_SERIAL_SHORT="))) {
                        serial = line.mid(18);
                        break;
                    }
                }
            }
        }
        if (serial.isEmpty())
            throw Error(QStringLiteral("Disk seri numarası okunamadı"));
        return serial;
    }

    QList<Adapter> adapters() const override
    {
        QList<Adapter> out;
        QStringList names = QDir(QStringLiteral("/sys/class/net")).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
        for (const QString &n : names) {
            if (n == QLatin1String("lo"))
                continue;
            Adapter a;
            const QString text = readFirstLine(QStringLiteral("/sys/class/net/%1/address").arg(n));
            const QByteArray bytes = QByteArray::fromHex(text.toLatin1().replace(':', ""));
            a.answered = bytes.size() == 6;
            if (a.answered)
                a.address = bytes;
            out.append(a);
        }
        return out;
    }
};

} // namespace

const SystemInfo &SystemInfo::host()
{
    static const HostSystem sys;
    return sys;
}

QString BilgisayarAdiAl(const SystemInfo &sys)
{
    return sys.computerName();
}

QString KullaniciAdiAl(const SystemInfo &sys)
{
    // The user name field holds at most 15 characters; a longer name counts as a failure.
    const QString name = sys.userName();
    return name.size() > 15 ? QString() : name;
}

QString IcIpAl(const SystemInfo &sys)
{
    const QString ip = sys.localIPv4();
    return ip.isEmpty() ? QStringLiteral("127.0.0.1") : ip;
}

QString MacAdresiAl(const SystemInfo &sys)
{
    static const QString allZero = QStringLiteral("00-00-00-00-00-00");
    QString text;
    for (const SystemInfo::Adapter &a : sys.adapters()) {
        if (a.answered && a.address.size() >= 6)
            text = QString::fromLatin1(a.address.left(6).toHex('-').toUpper());
        if (text != allZero)
            break;
    }
    return text;
}

QString DiskSeriNoAl(const SystemInfo &sys) { return sys.systemDiskSerial().toUpper(); }

SharedIdentityTable SharedIdentityTable::deployed()
{
    SharedIdentityTable t;
    for (const char *const *s = deployment::sharedSerials; *s; ++s)
        t.serials << QString::fromUtf8(*s);
    t.identity = QString::fromUtf8(deployment::sharedIdentity);
    return t;
}

QString BilgisayarIdAl(const SystemInfo &sys, const SharedIdentityTable &shared)
{
    QString id;
    try {
        id = DiskSeriNoAl(sys).trimmed();
    } catch (...) {
        id.clear();
    }
    if (id.isEmpty()) {
        try {
            id = MacAdresiAl(sys).trimmed();
        } catch (...) {
            id.clear();
        }
    }
    id.remove(QRegularExpression(QStringLiteral("\\s")));
    if (!id.isEmpty() && !shared.identity.isEmpty() && shared.serials.contains(id))
        id = shared.identity;
    return id;
}

QString BilgisayarIdAl(const SystemInfo &sys) { return BilgisayarIdAl(sys, SharedIdentityTable::deployed()); }

QString VeriKlasoruAl()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString dir = base + QStringLiteral("/kestro");
    QDir().mkpath(dir);
    return QDir::cleanPath(dir);
}

} // namespace kestro
