#include "connectioncheck.h"

#include "connection.h"
#include "errors.h"
#include "messages.h"

#include <QThread>

#include <atomic>

namespace kestro {

static std::atomic<int> retryDelayMs{500};

int baglantiDenemeAraligi() { return retryDelayMs; }
void setBaglantiDenemeAraligi(int ms) { retryDelayMs = ms; }

bool BaglantiKontrol(ServerConnection &connection, int mode)
{
    connection.close();
    for (int attempt = 0; attempt < BaglantiDenemeSayisi; ++attempt) {
        try {
            connection.open();
            return true;
        } catch (const Error &e) {
            // Shown on the user-interface thread even when this runs on a worker.
            DuzMesajGoster(e.text());
        } catch (const std::exception &e) {
            DuzMesajGoster(QString::fromLocal8Bit(e.what()));
        }
        connection.close();
        if (attempt + 1 < BaglantiDenemeSayisi)
            QThread::msleep(ulong(retryDelayMs.load()));
    }
    if (mode == 1)
        HataVer(QStringLiteral("Bağlantı Kurulamıyor Lütfen Tekrar Deneyin ...!"));
    return false;
}

} // namespace kestro
