// The mail dialog: a subject and a message, sent by the server together with
// the customer details it holds for this computer.
#pragma once

#include <QDialog>
#include <QStringList>

#include <memory>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kestro {

class ServerConnection;

// The lines joined with commas; a line holding a double quote, a comma or a
// character from code 1 to the blank is quoted, its double quotes doubled.
QString VirgulluMetin(const QStringList &lines);

// A memo's text as its lines: a final line break does not start another line.
QStringList MetinSatirlari(const QString &text);

class Tmailform : public QDialog
{
    Q_OBJECT
public:
    // Ac: clones the connection for the dialog's own sends.
    Tmailform(QWidget *owner, const ServerConnection &connection);
    ~Tmailform() override;

    QLabel *Label1 = nullptr;
    QLineEdit *baslik = nullptr;
    QLabel *Label2 = nullptr;
    QPlainTextEdit *konu = nullptr;
    QPushButton *Button2 = nullptr; // "Gönder"
    QPushButton *Button1 = nullptr; // "Kapat"

    void Button2Click();
    void Button1Click();

signals:
    // After the result of a send has been shown.
    void gonderimBitti(bool basarili);

protected:
    void closeEvent(QCloseEvent *e) override;
    void reject() override;

private:
    // Shared with the worker, so a send never outlives its connection.
    std::shared_ptr<ServerConnection> con;
};

} // namespace kestro
