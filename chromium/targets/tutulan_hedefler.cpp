// Held targets (see tutulan_hedefler.h).
#include "tutulan_hedefler.h"

#include <vector>

#include "motor_ic.h"
#include "protokol.h"
#include "zamanlayicilar.h"

using namespace protokol;

namespace {

constexpr DWORD SAHIPSIZ_SURESI_MS = 3000;

}  // namespace

void TutulanHedefler::oturumunu_al(const std::string& hedef, std::function<void(std::string)> al)
{
    auto bulunan = tutulanlar_.find(hedef);
    if (bulunan != tutulanlar_.end()) {
        std::string oturum = std::move(bulunan->second.oturum);
        tutulanlar_.erase(bulunan);
        al(std::move(oturum));
        return;
    }
    bekleyenler_[hedef] = Bekleyen{std::move(al), GetTickCount()};
    temizligi_kur();
}

void TutulanHedefler::tutuldu(const std::string& hedef, const std::string& oturum)
{
    auto bekleyen = bekleyenler_.find(hedef);
    if (bekleyen != bekleyenler_.end()) {
        auto al = std::move(bekleyen->second.al);
        bekleyenler_.erase(bekleyen);
        al(oturum);
        return;
    }
    tutulanlar_[hedef] = Tutulan{oturum, GetTickCount()};
    temizligi_kur();
}

void TutulanHedefler::sifirla()
{
    tutulanlar_.clear();
    bekleyenler_.clear();
}

void TutulanHedefler::temizligi_kur()
{
    if (!temizlik_)
        temizlik_ = sonra_calistir(SAHIPSIZ_SURESI_MS, [this] { sahipsizleri_temizle(); });
}

void TutulanHedefler::sahipsizleri_temizle()
{
    temizlik_ = 0;
    const DWORD simdi = GetTickCount();
    std::shared_ptr<Baglanti> baglanti = motor_baglantisi();
    for (auto it = tutulanlar_.begin(); it != tutulanlar_.end();) {
        if (simdi - it->second.zaman < SAHIPSIZ_SURESI_MS) {
            ++it;
            continue;
        }
        if (baglanti)
            baglanti->gonder(CloseTarget::YONTEM, Json(CloseTarget{it->first}));
        it = tutulanlar_.erase(it);
    }
    std::vector<std::function<void(std::string)>> gecikenler;
    for (auto it = bekleyenler_.begin(); it != bekleyenler_.end();) {
        if (simdi - it->second.zaman < SAHIPSIZ_SURESI_MS) {
            ++it;
            continue;
        }
        gecikenler.push_back(std::move(it->second.al));
        it = bekleyenler_.erase(it);
    }
    for (auto& al : gecikenler)
        al(std::string());
    if (!tutulanlar_.empty() || !bekleyenler_.empty())
        temizligi_kur();
}
