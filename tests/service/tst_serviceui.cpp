// Message dialogs, the connection check and the background helper.
#include "background.h"
#include "connection.h"
#include "connectioncheck.h"
#include "fakeserver.h"
#include "messages.h"
#include "scriptedseam.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTcpServer>
#include <QtTest>

#include <atomic>

using namespace kestro;

namespace {

int deadPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

QPushButton *button(QMessageBox &box, const char *name)
{
    return box.findChild<QPushButton *>(QLatin1String(name));
}

const QString connectionFailed = QStringLiteral("Bağlantı Kurulamıyor Lütfen Tekrar Deneyin ...!");

} // namespace

class TestServiceUi : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setBaglantiDenemeAraligi(5); }

    void yesNoDialogWithDefaultNo()
    {
        MessageRequest r;
        r.text = QStringLiteral("Satırı silmek istiyor musunuz ");
        r.type = MsgType::Confirmation;
        r.caption = MesajBasligi(r.type);
        r.buttons = {MsgBtn::Yes, MsgBtn::No};
        r.defaultKind = MsgBtn::No;
        std::unique_ptr<QMessageBox> box(MesajKutusuOlustur(r, nullptr));
        QCOMPARE(box->windowTitle(), QStringLiteral("Soru"));
        QPushButton *yes = button(*box, "Yes");
        QPushButton *no = button(*box, "No");
        QVERIFY(yes && no);
        QCOMPARE(yes->text(), QStringLiteral("Evet"));
        QCOMPARE(no->text(), QStringLiteral("Hayır"));
        QCOMPARE(box->defaultButton(), yes); // Enter answers Yes whatever the default kind
        QCOMPARE(box->escapeButton(), static_cast<QAbstractButton *>(no));
        QCOMPARE(no->nextInFocusChain(), static_cast<QWidget *>(yes)); // No first in the tab order

        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
        QTest::keyClick(box.get(), Qt::Key_Return);
        QCOMPARE(box->clickedButton(), static_cast<QAbstractButton *>(yes));
        QCOMPARE(yes->property("modalResult").toInt(), int(mrYes));
    }

    void escapeAnswersNo()
    {
        MessageRequest r;
        r.type = MsgType::Confirmation;
        r.buttons = {MsgBtn::Yes, MsgBtn::No};
        r.defaultKind = MsgBtn::Yes;
        std::unique_ptr<QMessageBox> box(MesajKutusuOlustur(r, nullptr));
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
        QTest::keyClick(box.get(), Qt::Key_Escape);
        QCOMPARE(box->clickedButton()->property("modalResult").toInt(), int(mrNo));
    }

    void captionsAndButtonTexts_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("caption");
        QTest::newRow("information") << int(MsgType::Information) << "Bilgi";
        QTest::newRow("error") << int(MsgType::Error) << "Hata";
        QTest::newRow("warning") << int(MsgType::Warning) << "Uyarı";
        QTest::newRow("confirmation") << int(MsgType::Confirmation) << "Soru";
    }

    void captionsAndButtonTexts()
    {
        QFETCH(int, type);
        QFETCH(QString, caption);
        MessageRequest r;
        r.type = MsgType(type);
        r.caption = MesajBasligi(r.type);
        r.buttons = {MsgBtn::OK, MsgBtn::Cancel, MsgBtn::Abort, MsgBtn::Retry, MsgBtn::Ignore, MsgBtn::Help};
        std::unique_ptr<QMessageBox> box(MesajKutusuOlustur(r, nullptr));
        QCOMPARE(box->windowTitle(), caption);
        QCOMPARE(button(*box, "OK")->text(), QStringLiteral("Tamam"));
        QCOMPARE(button(*box, "Cancel")->text(), QStringLiteral("Vazgeç"));
        QCOMPARE(button(*box, "Abort")->text(), QStringLiteral("İptal"));
        QCOMPARE(button(*box, "Retry")->text(), QStringLiteral("Tekrar"));
        QCOMPARE(button(*box, "Ignore")->text(), QStringLiteral("Atla"));
        QCOMPARE(button(*box, "Help")->text(), QStringLiteral("Yardım"));
        QCOMPARE(box->defaultButton(), button(*box, "OK"));
        QCOMPARE(box->escapeButton(), static_cast<QAbstractButton *>(button(*box, "Cancel")));
    }

    void connectionNeverOpens_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("mode 0") << 0;
        QTest::newRow("mode 1") << 1;
    }

    void connectionNeverOpens()
    {
        QFETCH(int, mode);
        ScriptedSeam seam;
        ServerConnection c;
        c.HostName = QStringLiteral("127.0.0.1");
        c.Port = QString::number(deadPort());
        QVERIFY(!BaglantiKontrol(c, mode));
        QCOMPARE(seam.plainCount(), 11);
        QVERIFY(seam.shown.first().text.contains(QStringLiteral("bağlanılamadı")));
        QCOMPARE(seam.count(connectionFailed), mode == 1 ? 1 : 0);
        if (mode == 1) {
            QCOMPARE(seam.shown.last().caption, QStringLiteral("Hata"));
            QCOMPARE(seam.shown.last().buttons, QList<MsgBtn>{MsgBtn::OK});
        }
        QVERIFY(!c.connected());
    }

    void connectionOpensOnThirdAttempt()
    {
        ScriptedSeam seam;
        const int port = deadPort();
        std::unique_ptr<FakeServer> server;
        seam.answer = [&](const MessageRequest &) {
            if (seam.plainCount() == 2)
                server = std::make_unique<FakeServer>(port); // up before the third attempt
            return int(mrOk);
        };
        ServerConnection c;
        c.HostName = QStringLiteral("127.0.0.1");
        c.Port = QString::number(port);
        QVERIFY(BaglantiKontrol(c, 1));
        QCOMPARE(seam.plainCount(), 2);
        QCOMPARE(seam.count(connectionFailed), 0);
        QVERIFY(c.connected());
    }

    void messagesFromWorkerShowOnUiThread()
    {
        ScriptedSeam seam;
        QThread *shownOn = nullptr;
        seam.answer = [&](const MessageRequest &) {
            shownOn = QThread::currentThread();
            return int(mrOk);
        };
        bool done = false;
        ArkaPlanda([] { HataVer(QStringLiteral("x")); })->Await([&] { done = true; });
        QTRY_VERIFY(done);
        QCOMPARE(shownOn, qApp->thread());
    }

    void continuationRunsOnUiThreadAfterWork()
    {
        std::atomic<bool> workDone{false};
        QThread *workThread = nullptr;
        QThread *contThread = nullptr;
        bool sawWorkDone = false;
        ArkaPlanda([&] {
            workThread = QThread::currentThread();
            QThread::msleep(50);
            workDone = true;
        })->Await([&] {
            contThread = QThread::currentThread();
            sawWorkDone = workDone;
        });
        QVERIFY(contThread == nullptr); // Await returns at once
        QTRY_VERIFY(contThread != nullptr);
        QVERIFY(workThread != qApp->thread());
        QCOMPARE(contThread, qApp->thread());
        QVERIFY(sawWorkDone);
    }

    void tabLoaderRunsOneLoadAtATime()
    {
        ScriptedSeam seam;
        std::atomic<int> running{0};
        std::atomic<int> maxRunning{0};
        int loads = 0, begins = 0, ends = 0;
        TabLoader loader({[&] { ++begins; },
                          [&] {
                              maxRunning = std::max(maxRunning.load(), ++running);
                              QThread::msleep(30);
                              --running;
                              return false;
                          },
                          [&](bool) { ++ends; ++loads; }, true});
        loader.start();
        loader.start(); // while the first runs: remembered, not started alongside
        loader.start();
        QTRY_COMPARE(loads, 2);
        QTest::qWait(60);
        QCOMPARE(loads, 2);
        QCOMPARE(begins, 2);
        QCOMPARE(maxRunning.load(), 1);
        QVERIFY(seam.shown.isEmpty()); // a good load says nothing
    }

    void tabLoaderGoneWhileLoadingWaitsForTheWork()
    {
        std::atomic<bool> finished{false};
        bool ended = false;
        {
            TabLoader loader({{}, [&] {
                                  QThread::msleep(80);
                                  finished = true;
                                  return false;
                              },
                              [&](bool) { ended = true; }, false});
            loader.start();
        } // destroyed while its work runs
        QVERIFY(finished);
        QTest::qWait(20);
        QVERIFY(!ended); // no continuation for a loader that is gone
    }

    void tabLoaderGoneWhileItsWorkShowsAMessage()
    {
        // The work waits for the UI thread to show a message while the loader is destroyed.
        ScriptedSeam seam;
        std::atomic<bool> finished{false};
        {
            TabLoader loader({{}, [&] {
                                  QThread::msleep(30);
                                  DuzMesajGoster(QStringLiteral("deneme"));
                                  finished = true;
                                  return false;
                              },
                              {}, false});
            loader.start();
        }
        QVERIFY(finished);
        QCOMPARE(seam.count(QStringLiteral("deneme")), 1);
    }

    void tabLoaderFailureShowsMessageOnceAfterEnd()
    {
        ScriptedSeam seam;
        bool endedBeforeMessage = false;
        bool ended = false;
        seam.answer = [&](const MessageRequest &) {
            endedBeforeMessage = ended;
            return int(mrOk);
        };
        bool failedSeen = false;
        TabLoader loader({{}, [] () -> bool { throw std::runtime_error("server error"); },
                          [&](bool failed) { ended = true; failedSeen = failed; }, true});
        QSignalSpy spy(&loader, &TabLoader::finished);
        loader.start();
        QTRY_COMPARE(spy.count(), 1);
        QVERIFY(failedSeen);
        QCOMPARE(seam.count(connectionFailed), 1);
        QVERIFY(endedBeforeMessage);
    }
};

QTEST_MAIN(TestServiceUi)
#include "tst_serviceui.moc"
