// The open views by their target's session: where a page target's events go.
#pragma once

#include <map>
#include <string>
#include <vector>

#include <wrl/client.h>

#include "gorunum.h"

class Oturumlar {
public:
    void ekle(Gorunum* gorunum) { gorunumler_[gorunum->oturum()] = gorunum; }
    // Only the view that holds the session now: one that moved to a fresh target has
    // left its old session to nobody.
    void cikar(Gorunum* gorunum)
    {
        auto bulunan = gorunumler_.find(gorunum->oturum());
        if (bulunan != gorunumler_.end() && bulunan->second == gorunum)
            gorunumler_.erase(bulunan);
    }
    Gorunum* bul(const std::string& oturum) const
    {
        auto bulunan = gorunumler_.find(oturum);
        return bulunan == gorunumler_.end() ? nullptr : bulunan->second;
    }
    // The open view of a target, or null.
    Gorunum* hedefin(const std::string& hedef) const
    {
        for (auto& cift : gorunumler_)
            if (cift.second->hedef() == hedef && !cift.second->kapali_mi())
                return cift.second;
        return nullptr;
    }
    // For a look at every view that changes nothing.
    template <class Islev>
    void her_biri(Islev islev) const
    {
        for (auto& cift : gorunumler_)
            islev(cift.second);
    }
    // Every view, each with a reference of its own: a call may close one.
    std::vector<Microsoft::WRL::ComPtr<Gorunum>> hepsi() const
    {
        std::vector<Microsoft::WRL::ComPtr<Gorunum>> sonuc;
        for (auto& cift : gorunumler_)
            sonuc.emplace_back(cift.second);
        return sonuc;
    }
    // Only those shown (a device ratio to render at).
    std::vector<Microsoft::WRL::ComPtr<Gorunum>> gosterilenler() const
    {
        std::vector<Microsoft::WRL::ComPtr<Gorunum>> sonuc;
        for (auto& cift : gorunumler_)
            if (cift.second->gereken_olcek() > 0)
                sonuc.emplace_back(cift.second);
        return sonuc;
    }

private:
    std::map<std::string, Gorunum*> gorunumler_;
};
