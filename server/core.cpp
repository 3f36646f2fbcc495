#include "core.h"

#include "bytestream.h"
#include "numberformat.h"
#include "tablecodec.h"

#include <QJsonDocument>
#include <QSqlRecord>

namespace kestro::server {

qint32 Call::int32(int i) const { return qint32(m_args.at(i).toDouble()); }
double Call::dbl(int i) const { return m_args.at(i).toDouble(); }
QString Call::text(int i) const { return m_args.at(i).toString(); }

const TSonucBilgisi &Call::record(int i) const
{
    Q_ASSERT(i == recordIndex && parsedRecord);
    Q_UNUSED(i);
    return *parsedRecord;
}

void Call::sep()
{
    if (m_count++ > 0)
        m_result.append(',');
}

void Call::addInt(qint64 v) { sep(); m_result.append(QByteArray::number(v)); }
void Call::addDouble(double v) { sep(); appendJsonNumber(m_result, v); }
void Call::addBool(bool v) { sep(); m_result.append(v ? "true" : "false"); }
void Call::addText(const QString &v) { sep(); appendJsonString(m_result, v); }
void Call::addTable(const DataSet &t) { sep(); encodeTable(t, m_result); }
void Call::addJson(const QByteArray &json) { sep(); m_result.append(json); }

void Call::addStream(const QByteArray &bytes)
{
    addInt(bytes.size());
    sep();
    // Written directly: a PDF of some hundred kilobytes as a QJsonArray costs far more.
    m_result.reserve(m_result.size() + bytes.size() * 4 + 2);
    m_result.append('[');
    for (int i = 0; i < bytes.size(); ++i) {
        if (i)
            m_result.append(',');
        m_result.append(QByteArray::number(uchar(bytes.at(i))));
    }
    m_result.append(']');
}

void Methods::add(const QString &name, std::vector<ArgKind> args, Handler h)
{
    m_defs.push_back({name, std::move(args), std::move(h)});
}

const MethodDef *Methods::find(const QString &name) const
{
    for (const MethodDef &d : m_defs)
        if (d.name == name)
            return &d;
    return nullptr;
}

DataSet emptyTable(const std::vector<Col> &cols)
{
    DataSet t;
    for (const Col &c : cols)
        t.addField(QString::fromUtf8(c.name), c.type);
    t.setOpen(true);
    return t;
}

DataSet tableFromQuery(QSqlQuery &q, const std::vector<Col> &cols)
{
    DataSet t = emptyTable(cols);
    const int n = int(cols.size());
    while (q.next()) {
        const int row = t.appendRow();
        for (int c = 0; c < n; ++c)
            t.setValue(row, c, q.value(c));
    }
    t.first();
    return t;
}

QString paraYazi(double v) { return FormatFloat(QString::fromLatin1(ParaBicimi), v); }

} // namespace kestro::server
