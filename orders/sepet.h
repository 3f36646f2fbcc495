// The server-held cart as the window keeps it: the dataset `sepet`, its
// reload and the mirroring of line selections.
#pragma once

#include "dataset.h"

#include <QObject>

namespace kestro {

class ServerConnection;
class TSonucBilgisi;

class Sepet : public QObject
{
    Q_OBJECT
public:
    Sepet(ServerConnection &bagc, TSonucBilgisi &sbilgi, QObject *parent = nullptr);

    DataSet sepet;

    // Reloads `sepet` from the server on a clone of the connection (opened in
    // mode 1, so a failure has been reported). Answers false when the cart could
    // not be loaded; the dataset then keeps its content. Safe on a worker while
    // the dataset is detached from its grid.
    bool SepetYenile();
    // The same into another dataset, for the background load.
    bool SepetYenile(DataSet &into);

    // Mirrors one line's selection to the server; errors are swallowed.
    void SecimGonder(int sirano, int secim);

    ServerConnection &bagc;
    TSonucBilgisi &sbilgi;
};

} // namespace kestro
