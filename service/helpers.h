// Small shared routines: server addresses, cart selection check, display
// formats, URL encoding, folders and browser lookups.
#pragma once

#include <QString>

namespace kestro {

class DataSet;

// Server addresses; set when the login dialog is created.
extern QString SunucuAdi;  // application server host
extern QString WebAdresi;  // the distributor's web site, with a trailing "/"
extern QString ResimAdresi; // WebAdresi + "resimgoster.ashx?id="

// Sets the three addresses from the deployment settings.
void SunucuAdresleriniAyarla();

// True when at least one cart line has SEC = 1; the cursor stays on it (or at the end).
bool SeciliVarmi(DataSet &cart);

// Shows every plain float field (not currency or BCD) as "#,###,##0.00".
void FloatAlanlariBicimle(DataSet &data);

// Percent-encodes the path and query of a complete URL.
QString UrlKodla(const QString &url);

QString BelgelerKlasoruAl();
// The first installed Chrome or Chromium, else empty.
QString ChromeYoluBul();
// Internet Explorer does not exist here.
int IESurumAl();

} // namespace kestro
