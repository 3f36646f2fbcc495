#include "messages.h"

#include "errors.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QThread>

namespace kestro {

int modalResultOf(MsgBtn b)
{
    switch (b) {
    case MsgBtn::Yes: return mrYes;
    case MsgBtn::No: return mrNo;
    case MsgBtn::OK: return mrOk;
    case MsgBtn::Cancel: return mrCancel;
    case MsgBtn::Abort: return mrAbort;
    case MsgBtn::Retry: return mrRetry;
    case MsgBtn::Ignore: return mrIgnore;
    case MsgBtn::All: return mrAll;
    case MsgBtn::NoToAll: return mrNoToAll;
    case MsgBtn::YesToAll: return mrYesToAll;
    case MsgBtn::Help: return mrNone;
    case MsgBtn::Close: return mrClose;
    }
    return mrNone;
}

QString MesajBasligi(MsgType type)
{
    switch (type) {
    case MsgType::Warning: return QStringLiteral("Uyarı");
    case MsgType::Error: return QStringLiteral("Hata");
    case MsgType::Information: return QStringLiteral("Bilgi");
    case MsgType::Confirmation: return QStringLiteral("Soru");
    case MsgType::Custom: break;
    }
    return QApplication::applicationDisplayName().isEmpty() ? QApplication::applicationName()
                                                            : QApplication::applicationDisplayName();
}

namespace {

struct ButtonInfo
{
    QMessageBox::StandardButton standard;
    const char *name;
    QString caption; // empty: keep the standard caption
};

ButtonInfo buttonInfo(MsgBtn b)
{
    switch (b) {
    case MsgBtn::Yes: return {QMessageBox::Yes, "Yes", QStringLiteral("Evet")};
    case MsgBtn::No: return {QMessageBox::No, "No", QStringLiteral("Hayır")};
    case MsgBtn::OK: return {QMessageBox::Ok, "OK", QStringLiteral("Tamam")};
    case MsgBtn::Cancel: return {QMessageBox::Cancel, "Cancel", QStringLiteral("Vazgeç")};
    case MsgBtn::Abort: return {QMessageBox::Abort, "Abort", QStringLiteral("İptal")};
    case MsgBtn::Retry: return {QMessageBox::Retry, "Retry", QStringLiteral("Tekrar")};
    case MsgBtn::Ignore: return {QMessageBox::Ignore, "Ignore", QStringLiteral("Atla")};
    case MsgBtn::All: return {QMessageBox::YesToAll, "All", QString()};
    case MsgBtn::NoToAll: return {QMessageBox::NoToAll, "NoToAll", QStringLiteral("Tümüne Hayır")};
    case MsgBtn::YesToAll: return {QMessageBox::YesToAll, "YesToAll", QStringLiteral("Tümüne Evet")};
    case MsgBtn::Help: return {QMessageBox::Help, "Help", QStringLiteral("Yardım")};
    case MsgBtn::Close: return {QMessageBox::Close, "Close", QString()};
    }
    return {QMessageBox::Ok, "OK", QStringLiteral("Tamam")};
}

void beepFor(MsgType type)
{
    if (type != MsgType::Custom)
        QApplication::beep();
}

QWidget *mainWindowOrNull()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->inherits("QMainWindow") && w->isVisible())
            return w;
    return nullptr;
}

class RealDialogs : public DialogSeam
{
public:
    int showMessage(const MessageRequest &r) override
    {
        QWidget *parent = mainWindowOrNull();
        std::unique_ptr<QMessageBox> box(MesajKutusuOlustur(r, parent));
        beepFor(r.type);
        box->exec();
        QAbstractButton *clicked = box->clickedButton();
        if (!clicked)
            return mrCancel;
        return clicked->property("modalResult").toInt();
    }
};

RealDialogs realDialogs;
DialogSeam *currentSeam = &realDialogs;

// Runs `f` on the user-interface thread and waits for it, so that no window
// is ever created on a worker.
template <typename F>
auto onUiThread(F &&f)
{
    using R = decltype(f());
    if (!qApp || QThread::currentThread() == qApp->thread())
        return f();
    R result{};
    QMetaObject::invokeMethod(qApp, [&] { result = f(); }, Qt::BlockingQueuedConnection);
    return result;
}

} // namespace

int DialogSeam::execDialog(QDialog &dialog) { return dialog.exec(); }

DialogSeam &dialogSeam() { return *currentSeam; }
void setDialogSeam(DialogSeam *seam) { currentSeam = seam ? seam : &realDialogs; }

QMessageBox *MesajKutusuOlustur(const MessageRequest &r, QWidget *parent)
{
    auto *box = new QMessageBox(parent);
    box->setText(r.text);
    box->setWindowTitle(r.caption);
    switch (r.type) {
    case MsgType::Warning: box->setIcon(QMessageBox::Warning); break;
    case MsgType::Error: box->setIcon(QMessageBox::Critical); break;
    case MsgType::Information: box->setIcon(QMessageBox::Information); break;
    case MsgType::Confirmation: box->setIcon(QMessageBox::Question); break;
    case MsgType::Custom: box->setIcon(QMessageBox::NoIcon); break;
    }
    QHash<int, QPushButton *> byKind;
    for (MsgBtn b : r.buttons) {
        const ButtonInfo info = buttonInfo(b);
        QPushButton *btn = box->addButton(info.standard);
        if (!btn)
            continue;
        btn->setObjectName(QLatin1String(info.name));
        btn->setProperty("modalResult", modalResultOf(b));
        if (!info.caption.isEmpty())
            btn->setText(info.caption);
        byKind.insert(int(b), btn);
    }
    // Enter and first focus: OK, else Yes, else Retry. Escape: Cancel, else No, else OK.
    for (MsgBtn b : {MsgBtn::OK, MsgBtn::Yes, MsgBtn::Retry})
        if (QPushButton *btn = byKind.value(int(b))) {
            box->setDefaultButton(btn);
            break;
        }
    box->setEscapeButton(static_cast<QAbstractButton *>(nullptr));
    for (MsgBtn b : {MsgBtn::Cancel, MsgBtn::No, MsgBtn::OK})
        if (QPushButton *btn = byKind.value(int(b))) {
            box->setEscapeButton(btn);
            break;
        }
    // The default kind goes first in the tab order; the Enter button stays as set above.
    if (QPushButton *first = byKind.value(int(r.defaultKind))) {
        QList<QPushButton *> order{first};
        for (MsgBtn b : r.buttons)
            if (QPushButton *btn = byKind.value(int(b)); btn && btn != first)
                order << btn;
        for (int i = 0; i + 1 < order.size(); ++i)
            QWidget::setTabOrder(order[i], order[i + 1]);
    }
    if (!parent && box->screen()) {
        const QRect screen = box->screen()->availableGeometry();
        box->adjustSize();
        box->move(screen.center() - box->rect().center());
    }
    return box;
}

int MesajVer(const QString &text, MsgType type, const QList<MsgBtn> &buttons, MsgBtn defaultKind)
{
    MessageRequest r;
    r.text = text;
    r.type = type;
    r.caption = MesajBasligi(type);
    r.buttons = buttons;
    r.defaultKind = defaultKind;
    return onUiThread([&] { return dialogSeam().showMessage(r); });
}

void DuzMesajGoster(const QString &text)
{
    MessageRequest r;
    r.text = text;
    r.type = MsgType::Custom;
    r.caption = MesajBasligi(MsgType::Custom);
    r.buttons = {MsgBtn::OK};
    r.defaultKind = MsgBtn::OK;
    r.plain = true;
    onUiThread([&] { return dialogSeam().showMessage(r); });
}

int ModalCalistir(QDialog &dialog) { return dialogSeam().execDialog(dialog); }

bool GuvenliCalistir(const std::function<void()> &action)
{
    try {
        action();
        return true;
    } catch (const Error &e) {
        HataVer(e.text());
    } catch (const std::exception &e) {
        HataVer(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

} // namespace kestro
