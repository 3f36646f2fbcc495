// The per-call pattern every server call follows: open the connection with
// BaglantiKontrol, run the call on a proxy, free the proxy, close the
// connection — also when the call raises, so no call leaves it open.
#pragma once

#include "connection.h"
#include "connectioncheck.h"
#include "proxy.h"

#include <utility>

namespace kestro {

// On `connection` itself (direct actions use the window's `bagc`). Answers
// false when the connection could not be opened; the call's errors pass on.
template <typename Call>
bool SunucuCagir(ServerConnection &connection, int mode, Call &&call)
{
    if (!BaglantiKontrol(connection, mode))
        return false;
    struct Closer
    {
        ServerConnection &c;
        ~Closer() { c.close(); }
    } closer{connection};
    TServerMethods1Client proxy(connection);
    std::forward<Call>(call)(proxy);
    return true;
}

// On a fresh clone of `connection` (background loads and dialogs that own a clone).
template <typename Call>
bool KlonlaCagir(const ServerConnection &connection, int mode, Call &&call)
{
    const auto clone = connection.clone();
    return SunucuCagir(*clone, mode, std::forward<Call>(call));
}

} // namespace kestro
