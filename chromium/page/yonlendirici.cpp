// Where a page target's events go (see yonlendirici.h).
#include "yonlendirici.h"

using namespace protokol;

bool Yonlendirici::sahiplen(const std::string& yontem, Isleyici isleyici)
{
    return isleyici && olaylar_.emplace(yontem, std::move(isleyici)).second;
}

bool Yonlendirici::bag_sahiplen(const std::string& ad, BagIsleyicisi isleyici, Dunya dunya)
{
    return isleyici && baglar_.emplace(ad, BagSahibi{std::move(isleyici), dunya}).second;
}

bool Yonlendirici::ilet(const std::string& yontem, const Json& parametreler) const
{
    if (kapali_)
        return false;
    if (yontem == BindingCalled::YONTEM)
        return bag_cagrisini_ilet(parametreler);
    auto sahip = olaylar_.find(yontem);
    if (sahip == olaylar_.end())
        return false;
    // The owner runs on a copy: what it does may set the view's managers, and this
    // router with them, up anew for another target.
    Isleyici isleyici = sahip->second;
    isleyici(parametreler);
    return true;
}

bool Yonlendirici::bag_cagrisini_ilet(const Json& parametreler) const
{
    BindingCalled cagri;
    if (!oku(parametreler, &cagri))
        return false;
    auto sahip = baglar_.find(cagri.name);
    if (sahip == baglar_.end())
        return false;
    if (sahip->second.dunya == Dunya::yardimci && !yardimci_.icinde_mi(cagri.executionContextId))
        return false;
    BagIsleyicisi isleyici = sahip->second.isleyici;
    isleyici(cagri);
    return true;
}
