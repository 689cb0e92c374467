// Navigations the host has allowed already (see gezinti_izni.h).
#include "gezinti_izni.h"

GezintiIzinleri& GezintiIzinleri::tek()
{
    // Never freed: the reading thread may ask while the process ends.
    static GezintiIzinleri* izinler = new GezintiIzinleri;
    return *izinler;
}

std::string GezintiIzinleri::parcasiz(const std::string& adres)
{
    return adres.substr(0, adres.find('#'));
}

void GezintiIzinleri::izin_ver(const std::string& cerceve, const std::string& yukleyici, const std::string& adres)
{
    std::lock_guard<std::mutex> kilit(kilit_);
    izinler_[cerceve] = Izin{yukleyici, parcasiz(adres)};
}

void GezintiIzinleri::geri_al(const std::string& cerceve)
{
    std::lock_guard<std::mutex> kilit(kilit_);
    izinler_.erase(cerceve);
}

bool GezintiIzinleri::birak_mi(const std::string& cerceve, const std::string& ag, const std::string& adres,
                               const std::string& istek)
{
    std::lock_guard<std::mutex> kilit(kilit_);
    auto bulunan = izinler_.find(cerceve);
    if (bulunan == izinler_.end() || ag.empty() || istek.empty() || bulunan->second.yukleyici != ag ||
        bulunan->second.adres != parcasiz(adres))
        return false;
    izinler_.erase(bulunan);
    birakilanlar_.insert(istek);
    return true;
}

bool GezintiIzinleri::birakildi_mi(const std::string& istek)
{
    std::lock_guard<std::mutex> kilit(kilit_);
    return birakilanlar_.erase(istek) > 0;
}
