// Turkish message dialogs, shown through one seam that tests can script.
#pragma once

#include <QList>
#include <QString>

#include <functional>

class QDialog;
class QMessageBox;
class QWidget;

namespace kestro {

enum class MsgType { Warning, Error, Information, Confirmation, Custom };

// Button kinds; the position is the value.
enum class MsgBtn { Yes, No, OK, Cancel, Abort, Retry, Ignore, All, NoToAll, YesToAll, Help, Close };

// Modal results.
enum ModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
                   mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10, mrClose = 11 };

int modalResultOf(MsgBtn b);

// Everything a message dialog shows, as recorded by the seam.
struct MessageRequest
{
    QString text;
    QString caption;
    MsgType type = MsgType::Information;
    QList<MsgBtn> buttons;
    MsgBtn defaultKind = MsgBtn::OK;
    bool plain = false; // a plain message box with an OK button (per-attempt connection errors)
};

// Shows message dialogs and modal dialogs. The default shows real windows;
// tests install one that records and answers.
class DialogSeam
{
public:
    virtual ~DialogSeam() = default;
    virtual int showMessage(const MessageRequest &request) = 0;
    // Runs a modal dialog; answers its result code.
    virtual int execDialog(QDialog &dialog);
};

DialogSeam &dialogSeam();
void setDialogSeam(DialogSeam *seam); // nullptr restores the real dialogs

// The dialog caption for a type; a custom dialog keeps the application title.
QString MesajBasligi(MsgType type);

int MesajVer(const QString &text, MsgType type, const QList<MsgBtn> &buttons, MsgBtn defaultKind);
// A plain message box with the error text, as each failed connection attempt shows.
void DuzMesajGoster(const QString &text);
// Runs a modal dialog through the seam.
int ModalCalistir(QDialog &dialog);

// Shortcuts for the common calls.
inline void BilgiVer(const QString &t) { MesajVer(t, MsgType::Information, {MsgBtn::OK}, MsgBtn::OK); }
inline void UyariVer(const QString &t) { MesajVer(t, MsgType::Warning, {MsgBtn::OK}, MsgBtn::OK); }
inline void HataVer(const QString &t) { MesajVer(t, MsgType::Error, {MsgBtn::OK}, MsgBtn::OK); }
// A Yes/No question; true on Yes.
inline bool SoruSor(const QString &t, MsgBtn defaultKind)
{
    return MesajVer(t, MsgType::Confirmation, {MsgBtn::Yes, MsgBtn::No}, defaultKind) == mrYes;
}

// Runs a user action; an error that escapes it is shown as an error message
// (the platform's default error report) instead of leaving the event loop.
// Answers false when an error was shown.
bool GuvenliCalistir(const std::function<void()> &action);

// The real message box, built as MesajVer describes; exposed for tests of its layout.
QMessageBox *MesajKutusuOlustur(const MessageRequest &request, QWidget *parent);

} // namespace kestro
