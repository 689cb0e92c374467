// The spare page target (see yedek_hedef.h).
#include "yedek_hedef.h"

#include "indirmeler.h"
#include "motor_ic.h"
#include "zamanlayicilar.h"

namespace {

// A download keeps the engine's browser process busy receiving and writing (from a
// fast loopback server, a whole core), and a new target's renderer starting beside
// it took about a seventh of its speed here (bench/indirme). So the spare waits
// while a download is in its first seconds: a short one is over by then; a long one
// is bound by its network, and a tab opened meanwhile should not go without a spare
// for the rest of it.
constexpr UINT INDIRME_YOKLAMASI_MS = 250;
constexpr ULONGLONG INDIRME_BEKLETMESI_MS = 3000;
// A new target's renderer starting while a page shown is being drawn delays that
// page's frame (bench/motor_bench sekme: the start page came on screen later when
// the spare was made sooner after its load). So the spare waits until the pages
// shown have their picture and their frames have paused, for a second at most.
constexpr UINT CIZIM_YOKLAMASI_MS = 25;
constexpr ULONGLONG CIZIM_SESSIZLIGI_MS = 50, CIZIM_BEKLETMESI_MS = 1000;

}  // namespace

Microsoft::WRL::ComPtr<Gorunum> YedekHedef::al()
{
    Microsoft::WRL::ComPtr<Gorunum> gorunum;
    if (!yedek_ || yedek_->kapali_mi())
        return gorunum;
    *gorunum.GetAddressOf() = yedek_;
    yedek_ = nullptr;
    return gorunum;
}

bool YedekHedef::hazir_olunca_ver(Alici alici)
{
    if (!hazirlaniyor_ || bekleyen_)
        return false;
    bekleyen_ = std::move(alici);
    return true;
}

void YedekHedef::hazirla()
{
    std::shared_ptr<Baglanti> baglanti = motor_baglantisi();
    if (yedek_ || hazirlaniyor_ || !baglanti)
        return;
    if (yeni_indirme_suruyor(INDIRME_BEKLETMESI_MS)) {
        sonra_hazirla(INDIRME_YOKLAMASI_MS);
        return;
    }
    const ULONGLONG simdi = GetTickCount64();
    if (!en_gec_)
        en_gec_ = simdi + CIZIM_BEKLETMESI_MS;
    if (simdi < en_gec_) {
        bool ciziliyor = false;
        oturumlar_.her_biri([&](Gorunum* gorunum) {
            ciziliyor = ciziliyor || gorunum->ciziliyor(simdi, CIZIM_SESSIZLIGI_MS);
        });
        if (ciziliyor) {
            sonra_hazirla(CIZIM_YOKLAMASI_MS);
            return;
        }
    }
    en_gec_ = 0;
    hazirlaniyor_ = true;
    olustur_(baglanti, son_alan_, [this, baglanti](HRESULT hr, Microsoft::WRL::ComPtr<Gorunum> gorunum) {
        hazirlaniyor_ = false;
        Alici bekleyen = std::move(bekleyen_);
        bekleyen_ = nullptr;
        const bool kullanilir = SUCCEEDED(hr) && gorunum && motor_baglantisi() == baglanti;
        if (gorunum && (!kullanilir || (yedek_ && !bekleyen))) {
            gorunum->kapat();   // not needed any more: a spare came meanwhile, or a new engine
            gorunum.Reset();
        }
        if (bekleyen) {
            bekleyen(gorunum);
            return;
        }
        if (gorunum)
            yedek_ = gorunum.Detach();
    });
}

void YedekHedef::sonra_hazirla(UINT gecikme)
{
    zamanlayiciyi_iptal_et(zamanlayici_);
    zamanlayici_ = sonra_calistir(gecikme, [this] {
        zamanlayici_ = 0;
        hazirla();
    });
}

void YedekHedef::gezinti_tamamlandi()
{
    if (!yedek_ && !hazirlaniyor_ && motor_baglantisi())
        sonra_hazirla(BOSTA_YEDEK_GECIKMESI_MS);
}

// A load that goes out right after another completed (an address entered on a page
// that has just loaded) may turn out a download only when its answer comes.
void YedekHedef::yukleme_gidiyor()
{
    if (zamanlayici_)
        sonra_hazirla();
}

// A host places a new view in a hidden window of a default size and gives it its
// real size once shown: the size of the last view shown on screen is the one the
// next tab will have, so the spare is laid out at it and needs no new layout when
// it is shown.
void YedekHedef::gosterilen_alan(const RECT& alan)
{
    if (alan.right > alan.left && alan.bottom > alan.top)
        son_alan_ = RECT{0, 0, alan.right - alan.left, alan.bottom - alan.top};
}

void YedekHedef::ilk_yer(HWND ebeveyn)
{
    if (son_alan_.right <= son_alan_.left || son_alan_.bottom <= son_alan_.top)
        GetClientRect(ebeveyn, &son_alan_);
}

void YedekHedef::birak()
{
    Gorunum* yedek = yedek_;
    yedek_ = nullptr;
    if (yedek) {
        yedek->kapat();
        yedek->Release();
    }
}
