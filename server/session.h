// Checks the session record that a call carries.
#pragma once

#include "core.h"

namespace kestro::server {

// The user behind `k`: exists, is active, the record's machine identity is
// registered to that user, and the record's account is one the user may act
// for. Raises ApiError otherwise.
SessionUser checkSession(const TSonucBilgisi &k);

// Whether a representative (or the account's own user) may act for `carino`.
bool mayActFor(const SessionUser &u, int carino);

// The full session record of the user registered to a machine identity; Varmi false when none.
TSonucBilgisi sessionForMachine(const QString &machineId, int expectedVersion);

// SQL condition over cariler c limiting to the accounts the user serves; appends its binds.
QString customerScope(const SessionUser &u, QVariantList &binds);

// Binds a machine identity to a user; raises ApiError when the user is unknown.
void registerMachine(const QString &machineId, const QString &userName);

} // namespace kestro::server
