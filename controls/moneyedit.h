// A money edit: shows its value as "#,###,##0.00" under Turkish settings;
// when editable, the typed text is read back with the same settings.
#pragma once

#include <QLineEdit>

namespace kestro {

class ParaEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit ParaEdit(QWidget *parent = nullptr);

    double value() const;
    void setValue(double v);
    QString displayFormat() const { return m_format; }
    void setDisplayFormat(const QString &f);

signals:
    void keyReleased(int key);

protected:
    void keyReleaseEvent(QKeyEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

private:
    double m_value = 0.0;
    QString m_format;
};

} // namespace kestro
