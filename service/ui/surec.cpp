#include "surec.h"

#include <unistd.h>

namespace kestro {

static std::function<void()> &kanca()
{
    static std::function<void()> k;
    return k;
}

void SurecSonlandir()
{
    if (kanca()) {
        kanca()();
        return;
    }
    _exit(0);
}

void setSurecSonlandirmaKancasi(std::function<void()> hook) { kanca() = std::move(hook); }

} // namespace kestro
