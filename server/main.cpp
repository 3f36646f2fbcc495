// kestro-server: the application server of the Kestro B2B client.
//
//   kestro-server [--listen ADDR] [--port N] [--database PATH | --postgres CONNINFO] [--seed-stocks N]
//                 [--expected-version N] [--setup-folder DIR] [--threads N] [--search-row-cap N]
//   kestro-server register --database PATH --machine-id ID|auto --user NAME
//   kestro-server outbox --database PATH
#include "catalogue.h"
#include "core.h"
#include "recordjson.h"
#include "database.h"
#include "httpfront.h"
#include "identity.h"
#include "outbox.h"
#include "seed.h"
#include "session.h"
#include "marshal.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QStandardPaths>

#include <malloc.h>

#include <cstdio>

using namespace kestro::server;

namespace {

Methods allMethods()
{
    Methods m;
    registerCatalogue(m);
    registerCart(m);
    registerOrders(m);
    registerAccount(m);
    registerReps(m);
    registerReports(m);
    registerPromo(m);
    registerOutbox(m);
    return m;
}

int fail(const QString &text)
{
    std::fprintf(stderr, "kestro-server: %s\n", qPrintable(text));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    // A large search answer needs some megabytes of buffers; kept in the heap
    // they are reused by the next call instead of being mapped, faulted in
    // and unmapped again every time.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    // Headless: the server paints PDFs and banners but never shows a window.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestro-server"));

    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Kestro B2B application server"));
    p.addHelpOption();
    p.addPositionalArgument(QStringLiteral("command"), QStringLiteral("serve (default), register or outbox"));
    const QCommandLineOption listen(QStringLiteral("listen"), QStringLiteral("Address to listen on."), QStringLiteral("ADDR"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Port."), QStringLiteral("N"), QStringLiteral("9090"));
    const QCommandLineOption database(QStringLiteral("database"), QStringLiteral("SQLite database file."), QStringLiteral("PATH"));
    const QCommandLineOption postgres(QStringLiteral("postgres"), QStringLiteral("PostgreSQL connection string."), QStringLiteral("CONNINFO"));
    const QCommandLineOption seedStocks(QStringLiteral("seed-stocks"), QStringLiteral("Stocks of the demonstration data."), QStringLiteral("N"), QStringLiteral("20000"));
    const QCommandLineOption version(QStringLiteral("expected-version"), QStringLiteral("Program version the clients must have."), QStringLiteral("N"), QStringLiteral("2"));
    const QCommandLineOption setup(QStringLiteral("setup-folder"), QStringLiteral("Folder holding KestroSetup.exe."), QStringLiteral("DIR"));
    const QCommandLineOption threads(QStringLiteral("threads"), QStringLiteral("Worker threads."), QStringLiteral("N"), QStringLiteral("16"));
    const QCommandLineOption machine(QStringLiteral("machine-id"), QStringLiteral("Machine identity, or auto for this computer's."), QStringLiteral("ID"));
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("User name."), QStringLiteral("NAME"));
    const QCommandLineOption rowCap(QStringLiteral("search-row-cap"), QStringLiteral("Largest stock search answer."), QStringLiteral("N"), QString::number(DefaultSearchRowCap));
    p.addOptions({listen, port, database, postgres, seedStocks, version, setup, threads, machine, user, rowCap});
    p.process(app);

    const QString command = p.positionalArguments().value(0, QStringLiteral("serve"));
    DbConfig cfg;
    cfg.postgres = p.value(postgres);
    cfg.sqlitePath = p.value(database);
    if (cfg.sqlitePath.isEmpty() && cfg.postgres.isEmpty()) {
        const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QDir().mkpath(dir);
        cfg.sqlitePath = QDir(dir).filePath(QStringLiteral("kestro.sqlite"));
    }
    Db::configure(cfg);

    try {
        const bool fresh = migrate();
        if (fresh) {
            SeedOptions so;
            so.stocks = p.value(seedStocks).toInt();
            std::fprintf(stderr, "kestro-server: filling the new database with demonstration data (%d stocks)...\n", so.stocks);
            seedDemonstration(so);
            // The first start registers this computer to the demonstration dealer.
            const QString id = kestro::BilgisayarIdAl();
            if (!id.isEmpty())
                registerMachine(id, QStringLiteral("BAYI"));
        }
        if (command == QLatin1String("register")) {
            QString id = p.value(machine);
            if (id == QLatin1String("auto"))
                id = kestro::BilgisayarIdAl();
            if (id.isEmpty() || !p.isSet(user))
                return fail(QStringLiteral("register needs --machine-id ID|auto and --user NAME"));
            registerMachine(id, p.value(user));
            std::printf("registered %s to %s\n", qPrintable(id), qPrintable(p.value(user)));
            return 0;
        }
        if (command == QLatin1String("outbox")) {
            std::fputs(outboxListing().toUtf8().constData(), stdout);
            return 0;
        }
        if (command != QLatin1String("serve"))
            return fail(QStringLiteral("unknown command %1").arg(command));
    } catch (const ApiError &e) {
        return fail(e.text());
    }

    Settings settings;
    settings.expectedVersion = p.value(version).toInt();
    setSearchRowCap(p.value(rowCap).toInt());
    settings.setupFolder = p.value(setup);
    Methods methods = allMethods();
    methods.add(QStringLiteral("BuyukGetir"), {ArgKind::Text}, [](Call &c) {
        const kestro::TSonucBilgisi r = sessionForMachine(c.text(0), c.settings().expectedVersion);
        c.addJson(recordJson(r));
    });
    ListenOptions lo;
    lo.address = p.value(listen);
    lo.port = p.value(port).toInt();
    lo.threads = std::max(2, p.value(threads).toInt());
    return serveHttp(lo, methods, settings);
}
