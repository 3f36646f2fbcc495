// Method dispatch: argument checking, session check, result framing.
#pragma once

#include "core.h"

namespace kestro::server {

struct Answer
{
    int status = 200;
    QByteArray body;
};

Answer dispatchCall(const Methods &methods, const Settings &settings, const QString &method,
                    const QByteArray &body);
QByteArray errorBody(const QString &text);

} // namespace kestro::server
