// Shared pieces of the application server: call errors, the call context,
// method registration and table building from queries.
#pragma once

#include "dataset.h"
#include "sonucbilgisi.h"

#include <QByteArray>
#include <QJsonArray>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

namespace kestro::server {

// A refused or failed call: HTTP status and a clear text for the user.
class ApiError : public std::runtime_error
{
public:
    ApiError(int status, const QString &text) : std::runtime_error(text.toStdString()), m_status(status) {}
    int status() const { return m_status; }
    QString text() const { return QString::fromStdString(what()); }

private:
    int m_status;
};

[[noreturn]] inline void badRequest(const QString &text) { throw ApiError(400, text); }
[[noreturn]] inline void forbidden(const QString &text) { throw ApiError(403, text); }
[[noreturn]] inline void notFound(const QString &text) { throw ApiError(404, text); }

enum class ArgKind { Int32, Double, Text, Session };

// The signed-in user behind a checked session record.
struct SessionUser
{
    int sirano = 0;
    QString adi;
    int tip = 0;
    int carino = 0;   // the account the call acts for
    int saticiNo = 0; // representative number (own for staff, the account's for dealers)
    bool isRep() const { return tip == 1 || tip == 2; }
};

struct Settings
{
    int expectedVersion = 2;
    QString setupFolder; // folder of KestroSetup.exe, empty: none
};

class Call
{
public:
    Call(const QJsonArray &args, const Settings &settings) : m_args(args), m_settings(settings) {}

    qint32 int32(int i) const;
    double dbl(int i) const;
    QString text(int i) const;
    const TSonucBilgisi &record(int i) const; // parsed by the dispatcher
    const SessionUser &user() const { return m_user; }
    const Settings &settings() const { return m_settings; }

    // Result helpers: each appends one value of the result array.
    void addInt(qint64 v);
    void addDouble(double v);
    void addBool(bool v);
    void addText(const QString &v);
    void addTable(const DataSet &t);
    void addJson(const QByteArray &json); // an already encoded value (record, stream, null)
    void addStream(const QByteArray &bytes); // size then the bytes
    const QByteArray &result() const { return m_result; }

    // Set by the dispatcher.
    std::unique_ptr<TSonucBilgisi> parsedRecord;
    int recordIndex = -1;
    SessionUser m_user;

private:
    void sep();
    const QJsonArray &m_args;
    const Settings &m_settings;
    QByteArray m_result;
    int m_count = 0;
};

using Handler = std::function<void(Call &)>;

struct MethodDef
{
    QString name;
    std::vector<ArgKind> args;
    Handler handler;
};

// Registry of the server methods; filled once at start by the area modules.
class Methods
{
public:
    void add(const QString &name, std::vector<ArgKind> args, Handler h);
    const MethodDef *find(const QString &name) const;
    int count() const { return int(m_defs.size()); }

private:
    std::vector<MethodDef> m_defs;
};

void registerCatalogue(Methods &m);
void registerCart(Methods &m);
void registerOrders(Methods &m);
void registerAccount(Methods &m);
void registerReps(Methods &m);
void registerPromo(Methods &m);
void registerOutbox(Methods &m);
void registerReports(Methods &m);

// Column of a result table.
struct Col
{
    const char *name;
    FieldType type;
};

// Builds a table from a query whose select list is in the order of `cols`.
DataSet tableFromQuery(QSqlQuery &q, const std::vector<Col> &cols);
DataSet emptyTable(const std::vector<Col> &cols);

// Text shown to users for money: Turkish grouping, two decimals.
QString paraYazi(double v);

} // namespace kestro::server
