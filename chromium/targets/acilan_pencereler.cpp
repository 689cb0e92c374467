// The windows pages open (see acilan_pencereler.h).
#include "acilan_pencereler.h"

#include <vector>

#include "zamanlayicilar.h"

namespace {

// The opener's window.open waits for its popup to run: a popup is not held, nor a
// decision kept waiting, longer than this.
constexpr DWORD BEKLEME_SINIRI_MS = 3000;

}  // namespace

// The timer's work would find this object gone.
AcilanPencereler::~AcilanPencereler()
{
    zamanlayiciyi_iptal_et(temizlik_);
}

void AcilanPencereler::tutuldu(const std::string& acan, const std::string& hedef, const std::string& oturum)
{
    auto bekleyen = bekleyenler_.find(acan);
    if (bekleyen != bekleyenler_.end() && !bekleyen->second.empty()) {
        Al al = std::move(bekleyen->second.front().al);
        bekleyen->second.pop_front();
        if (bekleyen->second.empty())
            bekleyenler_.erase(bekleyen);
        al(hedef, oturum);
        return;
    }
    tutulanlar_[acan].push_back(Tutulan{hedef, oturum, GetTickCount()});
    temizligi_kur();
}

void AcilanPencereler::al(const std::string& acan, Al al)
{
    auto tutulan = tutulanlar_.find(acan);
    if (tutulan != tutulanlar_.end() && !tutulan->second.empty()) {
        Tutulan popup = std::move(tutulan->second.front());
        tutulan->second.pop_front();
        if (tutulan->second.empty())
            tutulanlar_.erase(tutulan);
        al(std::move(popup.hedef), std::move(popup.oturum));
        return;
    }
    bekleyenler_[acan].push_back(Bekleyen{std::move(al), GetTickCount()});
    temizligi_kur();
}

void AcilanPencereler::sifirla()
{
    tutulanlar_.clear();
    bekleyenler_.clear();
}

void AcilanPencereler::temizligi_kur()
{
    if (!temizlik_)
        temizlik_ = sonra_calistir(BEKLEME_SINIRI_MS, [this] { eskileri_temizle(); });
}

void AcilanPencereler::eskileri_temizle()
{
    temizlik_ = 0;
    const DWORD simdi = GetTickCount();
    // The work is gathered first: closing or handing over may call in here again.
    std::vector<Tutulan> kapanacaklar;
    std::vector<Al> gecikenler;
    for (auto it = tutulanlar_.begin(); it != tutulanlar_.end();) {
        auto& sira = it->second;
        while (!sira.empty() && simdi - sira.front().zaman >= BEKLEME_SINIRI_MS) {
            kapanacaklar.push_back(std::move(sira.front()));
            sira.pop_front();
        }
        it = sira.empty() ? tutulanlar_.erase(it) : std::next(it);
    }
    for (auto it = bekleyenler_.begin(); it != bekleyenler_.end();) {
        auto& sira = it->second;
        while (!sira.empty() && simdi - sira.front().zaman >= BEKLEME_SINIRI_MS) {
            gecikenler.push_back(std::move(sira.front().al));
            sira.pop_front();
        }
        it = sira.empty() ? bekleyenler_.erase(it) : std::next(it);
    }
    if (!tutulanlar_.empty() || !bekleyenler_.empty())
        temizligi_kur();
    for (auto& popup : kapanacaklar)
        kapat_(popup.hedef, popup.oturum);
    for (auto& al : gecikenler)
        al(std::string(), std::string());
}
