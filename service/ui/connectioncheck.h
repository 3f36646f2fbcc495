// Opening a server connection with retries, reporting each failed attempt.
#pragma once

namespace kestro {

class ServerConnection;

inline constexpr int BaglantiDenemeSayisi = 11;

// Wait between attempts in milliseconds; tests shorten it.
int baglantiDenemeAraligi();
void setBaglantiDenemeAraligi(int ms);

// Mode 1 reports the final failure with a dialog; mode 0 reports nothing at the end.
bool BaglantiKontrol(ServerConnection &connection, int mode);

} // namespace kestro
