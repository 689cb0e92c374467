// Work for the UI thread after a delay (see zamanlayicilar.h).
#include "zamanlayicilar.h"

#include <map>

namespace {

// The work waiting, by its timer.
std::map<UINT_PTR, std::function<void()>>& zamanli_isler()
{
    static auto* isler = new std::map<UINT_PTR, std::function<void()>>;
    return *isler;
}

void CALLBACK zamanli_is(HWND, UINT, UINT_PTR kimlik, DWORD)
{
    KillTimer(nullptr, kimlik);
    auto& isler = zamanli_isler();
    auto bulunan = isler.find(kimlik);
    if (bulunan == isler.end())
        return;
    auto is = std::move(bulunan->second);
    isler.erase(bulunan);
    is();
}

}  // namespace

UINT_PTR sonra_calistir(UINT ms, std::function<void()> is)
{
    const UINT_PTR kimlik = SetTimer(nullptr, 0, ms, zamanli_is);
    if (kimlik)
        zamanli_isler()[kimlik] = std::move(is);
    return kimlik;
}

void zamanlayiciyi_iptal_et(UINT_PTR zamanlayici)
{
    if (zamanlayici && zamanli_isler().erase(zamanlayici))
        KillTimer(nullptr, zamanlayici);
}
