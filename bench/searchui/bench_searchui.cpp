// A stock search from Enter to the rows in the grid's model against the real
// server, beside the bare HTTP fetch of the same answer with curl.
#include "aramametni.h"
#include "connection.h"
#include "datagrid.h"
#include "deploymentsettings.h"
#include "helpers.h"
#include "marshal.h"
#include "proxy.h"
#include "sepet.h"
#include "sepeteekle.h"
#include "stoklistesi.h"
#include "tablecodec.h"
#include "testserver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <curl/curl.h>

#include <algorithm>
#include <cstdio>

using namespace kestro;

namespace {

size_t collect(char *d, size_t s, size_t n, void *u)
{
    static_cast<QByteArray *>(u)->append(d, qsizetype(s * n));
    return s * n;
}

// What the client's call costs on the wire: a new connection, the opening
// request, then the search, with the body read to its last byte.
double bareFetchMs(const QString &base, const QByteArray &body, QByteArray *answer)
{
    QElapsedTimer t;
    t.start();
    CURL *h = curl_easy_init();
    QByteArray out;
    curl_slist *headers = curl_slist_append(nullptr, "Content-Type: application/json; charset=utf-8");
    curl_easy_setopt(h, CURLOPT_TCP_NODELAY, 1L);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &out);
    const QByteArray open = (base + "datasnap/rest/DSAdmin/GetPlatformName").toUtf8();
    curl_easy_setopt(h, CURLOPT_URL, open.constData());
    curl_easy_perform(h);
    out.clear();
    const QByteArray url = (base + "datasnap/rest/TServerMethods1/%22StokAraGetirVosk%22").toUtf8();
    curl_easy_setopt(h, CURLOPT_URL, url.constData());
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, body.constData());
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE, long(body.size()));
    curl_easy_perform(h);
    curl_easy_cleanup(h);
    curl_slist_free_all(headers);
    if (answer)
        *answer = out;
    return t.nsecsElapsed() / 1e6;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    test::TestServer::Options opts;
    opts.seedStocks = 100000;
    opts.extraArgs = {QStringLiteral("--search-row-cap"), QStringLiteral("50000")};
    test::TestServer server(opts);
    if (!server.start() || !server.registerMachine(QStringLiteral("BENCH-PC"), QStringLiteral("BAYI"))) {
        std::fprintf(stderr, "server: %s\n%s\n", qPrintable(server.lastError()), qPrintable(server.serverLog()));
        return 1;
    }
    DeploymentSettings::current() = DeploymentSettings::forLocalServer(server.host(), server.port());
    SunucuAdresleriniAyarla();
    ServerConnection bagc;
    server.configure(bagc);
    TSonucBilgisi sbilgi;
    bagc.open();
    {
        TServerMethods1Client proxy(bagc);
        sbilgi.Kopyala(*proxy.BuyukGetir(QStringLiteral("BENCH-PC")));
    }
    bagc.close();

    QWidget window;
    window.resize(1600, 900);
    Sepet sepet(bagc, sbilgi);
    SepeteEkleAkisi ekle(sepet, &window);
    AramaKutusu araedit(&window);
    StokListesiSekmesi tab(sepet, ekle, &araedit, nullptr, &window);
    tab.resize(1600, 800);
    window.show();

    // Queries whose answers are about 500, 5,000 and (capped) 50,000 rows on this catalogue.
    const QStringList queries = qEnvironmentVariableIsSet("BENCH_QUERIES")
        ? qEnvironmentVariable("BENCH_QUERIES").split(QLatin1Char(','))
        : QStringList{QStringLiteral("BOSCH FREN"), QStringLiteral("AMORTISOR"), QStringLiteral("F")};
    std::printf("%-14s %7s %9s %13s %12s %16s %8s\n", "query", "rows", "MB", "Enter->model", "bare fetch",
                "client share*", "ratio");
    for (const QString &q : queries) {
        std::vector<double> total, bare, share;
        int rows = 0;
        double mb = 0;
        for (int i = 0; i < 5; ++i) {
            QSignalSpy caption(&tab, &StokListesiSekmesi::captionChanged);
            araedit.setText(q);
            QElapsedTimer t;
            t.start();
            QTest::keyClick(&araedit, Qt::Key_Return);
            while (caption.isEmpty())
                QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
            total.push_back(t.nsecsElapsed() / 1e6);
            rows = tab.cxGrid1DBTableView1->model()->rowCount();

            // The same answer, fetched bare, then decoded and shown as the client does.
            QByteArray body = "{\"_parameters\":[";
            appendJsonString(body, q);
            body += ",";
            appendRecordJson(body, &sbilgi);
            body += "]}";
            QByteArray answer;
            bare.push_back(bareFetchMs(server.baseUrl(), body, &answer));
            mb = answer.size() / 1e6;
            answer.reserve(answer.size() + 64);
            QElapsedTimer d;
            d.start();
            DataSet decoded;
            decodeTableAnswer(answer, decoded);
            FloatAlanlariBicimle(decoded);
            tab.cxGrid1DBTableView1->setDataSet(nullptr);
            tab.stok = std::move(decoded);
            tab.cxGrid1DBTableView1->setDataSet(&tab.stok);
            share.push_back(d.nsecsElapsed() / 1e6);
        }
        const double s = median(share), b = median(bare);
        std::printf("%-14s %7d %9.2f %10.1f ms %9.1f ms %13.1f ms %8.2f\n", qPrintable(q), rows, mb, median(total), b,
                    s, s / b);
    }
    std::printf("* client share: from the last byte received to the rows in the grid's model "
                "(decode, display formats, attach); ratio = client share / bare fetch\n");
    return 0;
}
