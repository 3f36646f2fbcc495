// Shared set-up of the shell tests: a real server, the client pointed at it,
// no waiting between connection attempts, and the process end recorded.
#pragma once

#include "connectioncheck.h"
#include "deploymentsettings.h"
#include "surec.h"
#include "testserver.h"

#include <QProcess>
#include <QStandardPaths>

inline void istemciyiYonlendir(const kestro::test::TestServer &server)
{
    kestro::DeploymentSettings::current() = kestro::DeploymentSettings::forLocalServer(server.host(), server.port());
}

// The server's outbox listing: the request mails it has stored.
inline QString gidenKutusu(const kestro::test::TestServer &server)
{
    QProcess p;
    p.start(kestro::test::TestServer::serverBinary(),
            {QStringLiteral("outbox"), QStringLiteral("--database"), server.databasePath()});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Counts the ends of the process instead of ending it.
struct SurecSonuSayaci
{
    int sayi = 0;
    SurecSonuSayaci() { kestro::setSurecSonlandirmaKancasi([this] { ++sayi; }); }
    ~SurecSonuSayaci() { kestro::setSurecSonlandirmaKancasi(nullptr); }
};
