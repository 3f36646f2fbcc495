// The HTTP front: routes method calls and web pages on one port.
#pragma once

#include "core.h"

#include <QString>

namespace kestro::server {

struct ListenOptions
{
    QString address = QStringLiteral("127.0.0.1");
    int port = 9090;
    int threads = 8;
    size_t maxBody = 4 * 1024 * 1024;
};

// Serves until the process ends; answers a non-zero exit code when it cannot listen.
int serveHttp(const ListenOptions &opt, const Methods &methods, const Settings &settings);

} // namespace kestro::server
