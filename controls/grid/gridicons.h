// Icon maps shared by the program's grids. The pictures are drawn once and
// cached; every grid showing the same codes shares the same pixmaps.
#pragma once

#include "gridcolumn.h"

namespace kestro {

// Stock status codes of the DURUM columns: 0 "Yok", 1 "Var", 2 "Telefon Açınız",
// 3 "Yolda", 4 "Özel Sipariş", 5 "Tedarik Sürecinde".
const IconMap &StokDurumIkonlari();
// "Evet" for 1; "Hayır" for 0 only when `hayirDa` (otherwise 0 draws nothing).
const IconMap &EvetHayirIkonlari(bool hayirDa);
// A picture icon for 1, nothing for 0 (the RESIM column).
const IconMap &ResimIkonlari();

} // namespace kestro
