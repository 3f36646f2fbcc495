// Account statement, documents, balance texts and the account card.
#pragma once

#include "core.h"

namespace kestro::server {

// Debit minus credit of an account's statement.
double accountBalance(int carino);
bool accountExists(int carino);

} // namespace kestro::server
