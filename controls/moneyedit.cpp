#include "moneyedit.h"

#include "numberformat.h"

#include <QKeyEvent>

namespace kestro {

ParaEdit::ParaEdit(QWidget *parent) : QLineEdit(parent), m_format(QString::fromLatin1(ParaBicimi))
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setValue(0.0);
}

double ParaEdit::value() const
{
    if (isReadOnly())
        return m_value;
    // A typed value: accept "1.234,50", "1234,5" and "1234.5".
    QString t = text().trimmed();
    bool ok = false;
    double v = turkishLocale().toDouble(t, &ok);
    if (!ok) {
        t.remove(turkishLocale().groupSeparator());
        v = turkishLocale().toDouble(t, &ok);
    }
    if (!ok)
        v = QLocale::c().toDouble(t, &ok);
    return ok ? v : m_value;
}

void ParaEdit::setValue(double v)
{
    m_value = v;
    setText(FormatFloat(m_format, v));
}

void ParaEdit::setDisplayFormat(const QString &f)
{
    m_format = f;
    setValue(m_value);
}

void ParaEdit::keyReleaseEvent(QKeyEvent *e)
{
    QLineEdit::keyReleaseEvent(e);
    if (!isReadOnly())
        m_value = value();
    emit keyReleased(e->key());
}

void ParaEdit::focusOutEvent(QFocusEvent *e)
{
    if (!isReadOnly())
        setValue(value());
    QLineEdit::focusOutEvent(e);
}

} // namespace kestro
