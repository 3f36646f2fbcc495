// Ending the own process at once, exit code 0, without clean-up.
#pragma once

#include <functional>

namespace kestro {

// Ends the process with _exit(0). With a hook installed (tests) the hook runs
// instead and the call returns, so callers return right after calling it.
void SurecSonlandir();

// nullptr restores the real end.
void setSurecSonlandirmaKancasi(std::function<void()> hook);

} // namespace kestro
