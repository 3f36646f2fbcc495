// The error raised by the service link: one clear text for the user.
#pragma once

#include <QString>

#include <stdexcept>

namespace kestro {

class Error : public std::runtime_error
{
public:
    explicit Error(const QString &text) : std::runtime_error(text.toStdString()) {}
    QString text() const { return QString::fromStdString(what()); }
};

// A call that failed on the server or on the way to it.
class ServerError : public Error
{
public:
    using Error::Error;
};

} // namespace kestro
