// Mails and requests are stored in an outbox, not sent.
#pragma once

#include <QString>
#include <QStringList>

namespace kestro::server {

// Stores one message; answers its number.
int storeOutbox(const QString &kind, const QString &machineId, const QString &subject, const QString &firm,
                const QString &recipient, const QString &content);

// The stored messages, oldest first, as printable text.
QString outboxListing();

} // namespace kestro::server
