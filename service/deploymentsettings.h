// Deployment values at run time: built in from CMake, replaceable by tests
// (a test server on a free port, its echo and download addresses).
#pragma once

#include <QString>

namespace kestro {

struct DeploymentSettings
{
    QString serverHost;   // application server host (SunucuAdi)
    QString serverPort;   // application server port
    QString webAddress;   // distributor's web site, with a trailing "/"
    QString paymentHost;  // virtual POS host, "http://host[:port]"
    QString downloadHost; // program update host, "http://host[:port]"
    QString echoUrl;      // external address echo service
    int clientVersion = 2;

    // The values the program runs with; starts from the built-in ones.
    static DeploymentSettings &current();
    static DeploymentSettings builtIn();
    // Points every address at one server, as the local server serves them all.
    static DeploymentSettings forLocalServer(const QString &host, int port);
};

} // namespace kestro
