#include "sepettoplam.h"

#include "dataset.h"
#include "numberformat.h"

namespace kestro {

SepetToplamlari SepetToplamHesapla(DataSet &sepet)
{
    SepetToplamlari t;
    const int sec = sepet.fieldIndex(QStringLiteral("SEC"));
    const int tutar = sepet.fieldIndex(QStringLiteral("TUTAR"));
    const int indirim = sepet.fieldIndex(QStringLiteral("INDIRIMTUTAR"));
    const int vergi = sepet.fieldIndex(QStringLiteral("VERGITUTARI"));
    if (sec >= 0) {
        for (int r = 0; r < sepet.rowCount(); ++r) {
            if (sepet.asInt(r, sec) != 1)
                continue;
            t.araToplam = IkiHaneYuvarla(t.araToplam + sepet.asDouble(r, tutar));
            t.indirim = IkiHaneYuvarla(t.indirim + sepet.asDouble(r, indirim));
            t.vergi = IkiHaneYuvarla(t.vergi + sepet.asDouble(r, vergi));
        }
    }
    t.net = IkiHaneYuvarla(t.araToplam - t.indirim);
    t.genel = IkiHaneYuvarla(t.vergi + t.net);
    sepet.setCurrentRow(-1); // after the last line
    return t;
}

} // namespace kestro
