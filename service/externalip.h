// The computer's external address, as the IP echo service sees it.
#pragma once

#include <QString>

namespace kestro {

struct DisIpAyarlari
{
    QString url;              // plain-HTTP address answering the caller's address
    int attempts = 3;         // bounded; afterwards the address is empty
    int retryDelayMs = 1000;
    int readTimeoutMs = 1500;
    int connectTimeoutMs = 15000;
    static DisIpAyarlari deployed();
};

// Blocks; answers the trimmed body, or empty after the last failed attempt.
QString DisIpAl(const DisIpAyarlari &settings = DisIpAyarlari::deployed());

} // namespace kestro
