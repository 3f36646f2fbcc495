#include "deploymentsettings.h"

#include <deployment.h>

namespace kestro {

DeploymentSettings DeploymentSettings::builtIn()
{
    DeploymentSettings s;
    s.serverHost = QString::fromUtf8(deployment::serverHost);
    s.serverPort = QString::number(deployment::serverPort);
    s.webAddress = QString::fromUtf8(deployment::webAddress);
    s.paymentHost = QString::fromUtf8(deployment::paymentHost);
    s.downloadHost = QString::fromUtf8(deployment::downloadHost);
    s.echoUrl = QString::fromUtf8(deployment::echoUrl);
    s.clientVersion = deployment::clientVersion;
    return s;
}

DeploymentSettings &DeploymentSettings::current()
{
    static DeploymentSettings s = builtIn();
    return s;
}

DeploymentSettings DeploymentSettings::forLocalServer(const QString &host, int port)
{
    DeploymentSettings s = builtIn();
    const QString base = QStringLiteral("http://%1:%2").arg(host).arg(port);
    s.serverHost = host;
    s.serverPort = QString::number(port);
    s.webAddress = base + QLatin1Char('/');
    s.paymentHost = base;
    s.downloadHost = base;
    s.echoUrl = base + QStringLiteral("/ip");
    return s;
}

} // namespace kestro
