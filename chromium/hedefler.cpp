// Page targets: making them, one set up in advance, and routing the engine's
// messages to the views they belong to.
//
// Opening a tab costs the engine a new page target and a renderer for it; the
// target answers its setup only once that renderer runs. So one spare target is
// made and set up while the engine is idle (shortly after a navigation completed,
// a second after the last view was made at the latest), and the next new view takes
// it: it then only has to be placed and shown.
//
// The engine renders every page at one device pixel ratio (the screen's, shared by
// all pages): frames come in CSS pixels times that ratio. It follows the largest
// zoom among the views shown, so that a zoomed page's frames come in device pixels,
// as sharp as an unzoomed page's.
#include "gorunum.h"
#include "indirmeler.h"

#include <cmath>
#include <map>
#include <mutex>
#include <new>

using namespace protokol;

// The spare is made once the engine has nothing else to do: shortly after a
// navigation completed, or a while after the last view was made at the latest.
static const UINT YEDEK_GECIKMESI_MS = 1000, BOSTA_YEDEK_GECIKMESI_MS = 100;

static std::map<std::string, Gorunum*> g_oturumlar;   // open views by session id
// The spare: set up, not yet placed; it holds one reference of its own.
static Gorunum* g_yedek;
static bool g_yedek_hazirlaniyor;
static UINT_PTR g_yedek_zamanlayicisi;
static RECT g_son_alan;                 // the size the last view was placed at
// The engine's screen and the device pixel ratio it was last given.
static std::string g_ekran;
static double g_ekran_olcegi = 1.0;
static bool g_ekran_soruluyor;
// Decoded frames on their way from the reading thread to the UI thread, by session.
static std::mutex g_kare_kilidi;
static std::map<std::string, std::shared_ptr<Kare>> g_bekleyen_kareler;

void gunluge_yaz(const std::string& oturum, const std::string& yontem, const Json& p)
{
    static FILE* gunluk = [] {
        const char* yol = getenv("KORVA_CHROMIUM_LOG");
        return yol && *yol ? fopen(yol, "ab") : nullptr;
    }();
    if (!gunluk)
        return;
    std::string metin = p.dump();
    if (metin.size() > 600)
        metin.resize(600);
    fprintf(gunluk, "%lu %s %s %s\n", GetTickCount(), oturum.substr(0, 8).c_str(), yontem.c_str(), metin.c_str());
    fflush(gunluk);
}

static Gorunum* oturumun_gorunumu(const std::string& oturum)
{
    auto bulunan = g_oturumlar.find(oturum);
    return bulunan == g_oturumlar.end() ? nullptr : bulunan->second;
}

Gorunum* hedefin_gorunumu(const std::string& hedef)
{
    for (auto& cift : g_oturumlar)
        if (cift.second->hedef() == hedef && !cift.second->kapali_mi())
            return cift.second;
    return nullptr;
}

void hedef_kapandi(Gorunum* gorunum)
{
    auto bulunan = g_oturumlar.find(gorunum->oturum());
    if (bulunan != g_oturumlar.end() && bulunan->second == gorunum)
        g_oturumlar.erase(bulunan);
}

// ---------------------------------------------------------------------------
// Making a page target and its view.

using HedefBitti = std::function<void(HRESULT, Microsoft::WRL::ComPtr<Gorunum>)>;

// Creates a page target, attaches to it and sets its view up, laid out for `alan`.
static void hedef_olustur(std::shared_ptr<Baglanti> baglanti, RECT alan, HedefBitti bitti)
{
    baglanti->gonder(CreateTarget::YONTEM, Json(CreateTarget{"about:blank"}), std::string(),
                     [baglanti, alan, bitti](const Json& sonuc, const Json* hata) {
        CreateTargetYaniti hedef;
        if (hata || !oku(sonuc, &hedef) || hedef.targetId.empty()) {
            bitti(E_FAIL, nullptr);
            return;
        }
        baglanti->gonder(AttachToTarget::YONTEM, Json(AttachToTarget{hedef.targetId}), std::string(),
                         [baglanti, alan, bitti, hedef](const Json& sonuc, const Json* hata) {
            AttachToTargetYaniti baglanma;
            if (hata || !oku(sonuc, &baglanma) || baglanma.sessionId.empty()) {
                baglanti->gonder(CloseTarget::YONTEM, Json(CloseTarget{hedef.targetId}));
                bitti(E_FAIL, nullptr);
                return;
            }
            auto gorunum = sahiplen(new (std::nothrow) Gorunum(baglanti, hedef.targetId, baglanma.sessionId));
            if (!gorunum) {
                baglanti->gonder(CloseTarget::YONTEM, Json(CloseTarget{hedef.targetId}));
                bitti(E_OUTOFMEMORY, nullptr);
                return;
            }
            g_oturumlar[gorunum->oturum()] = gorunum.Get();
            gorunum->kur(alan, [gorunum, bitti](HRESULT hr) {
                if (FAILED(hr) && !gorunum->kapali_mi())
                    gorunum->kapat();
                bitti(hr, SUCCEEDED(hr) ? gorunum : nullptr);
            });
        });
    });
}

static void yedegi_birak()
{
    Gorunum* yedek = g_yedek;
    g_yedek = nullptr;
    if (yedek) {
        yedek->kapat();
        yedek->Release();
    }
}

// The engine has one front page: the view shown last gets it.
void gosterilenleri_one_getir()
{
    Gorunum* en_son = nullptr;
    for (auto& cift : g_oturumlar)
        if (cift.second->gereken_olcek() > 0 &&
            (!en_son || cift.second->gosterilme_sirasi() > en_son->gosterilme_sirasi()))
            en_son = cift.second;
    if (en_son)
        en_son->one_getir();
}

static void yedegi_hazirla()
{
    std::shared_ptr<Baglanti> baglanti = motor_baglantisi();
    if (g_yedek || g_yedek_hazirlaniyor || !baglanti)
        return;
    g_yedek_hazirlaniyor = true;
    hedef_olustur(baglanti, g_son_alan, [baglanti](HRESULT hr, Microsoft::WRL::ComPtr<Gorunum> gorunum) {
        g_yedek_hazirlaniyor = false;
        if (FAILED(hr) || !gorunum)
            return;
        if (g_yedek || motor_baglantisi() != baglanti) {
            gorunum->kapat();   // not needed any more: a spare came meanwhile, or a new engine
            return;
        }
        g_yedek = gorunum.Detach();
    });
}

static void CALLBACK yedek_zamani(HWND, UINT, UINT_PTR kimlik, DWORD)
{
    KillTimer(nullptr, kimlik);
    if (kimlik == g_yedek_zamanlayicisi)
        g_yedek_zamanlayicisi = 0;
    yedegi_hazirla();
}

static void yedegi_sonra_hazirla(UINT gecikme = YEDEK_GECIKMESI_MS)
{
    if (g_yedek_zamanlayicisi)
        KillTimer(nullptr, g_yedek_zamanlayicisi);
    g_yedek_zamanlayicisi = SetTimer(nullptr, 0, gecikme, yedek_zamani);
}

void gezinti_tamamlandi()
{
    if (!g_yedek && !g_yedek_hazirlaniyor && motor_baglantisi())
        yedegi_sonra_hazirla(BOSTA_YEDEK_GECIKMESI_MS);
}

static void yerlestir_ve_bildir(Microsoft::WRL::ComPtr<Gorunum> gorunum, HWND ebeveyn,
                                const std::function<void(HRESULT, ICoreWebView2Controller*)>& bitti)
{
    HRESULT hr = gorunum->yerlestir(ebeveyn);
    if (FAILED(hr)) {
        gorunum->kapat();
        bitti(hr, nullptr);
        return;
    }
    g_son_alan = RECT{0, 0, 0, 0};
    GetClientRect(ebeveyn, &g_son_alan);
    bitti(S_OK, static_cast<ICoreWebView2Controller*>(gorunum.Get()));
}

void denetleyici_olustur(HWND ebeveyn, std::function<void(HRESULT, ICoreWebView2Controller*)> bitti)
{
    std::shared_ptr<Baglanti> baglanti = motor_baglantisi();
    if (!baglanti) {
        Baglanti::ui_da_calistir([bitti] { bitti(E_FAIL, nullptr); });
        return;
    }
    yedegi_sonra_hazirla();
    if (g_yedek && !g_yedek->kapali_mi()) {
        Microsoft::WRL::ComPtr<Gorunum> gorunum;
        *gorunum.GetAddressOf() = g_yedek;   // the spare's own reference goes with it
        g_yedek = nullptr;
        // As every answer, from the message loop.
        Baglanti::ui_da_calistir([gorunum, ebeveyn, bitti] {
            if (!IsWindow(ebeveyn)) {
                gorunum->kapat();
                bitti(E_INVALIDARG, nullptr);
                return;
            }
            yerlestir_ve_bildir(gorunum, ebeveyn, bitti);
        });
        return;
    }
    RECT alan = {};
    if (IsWindow(ebeveyn))
        GetClientRect(ebeveyn, &alan);
    hedef_olustur(baglanti, alan, [ebeveyn, bitti](HRESULT hr, Microsoft::WRL::ComPtr<Gorunum> gorunum) {
        if (FAILED(hr) || !gorunum) {
            bitti(FAILED(hr) ? hr : E_FAIL, nullptr);
            return;
        }
        if (!IsWindow(ebeveyn)) {
            gorunum->kapat();
            bitti(E_INVALIDARG, nullptr);
            return;
        }
        yerlestir_ve_bildir(gorunum, ebeveyn, bitti);
    });
}

// ---------------------------------------------------------------------------
// The device pixel ratio.

// The new ratio applies to a page once its size is given again and its frame stream
// starts again: the shown views do both when the engine has taken it.
static void olcegi_gonder(std::shared_ptr<Baglanti> baglanti, double olcek)
{
    Json parametreler = UpdateScreen{g_ekran, olcek};
    gunluge_yaz(std::string(), std::string("-> ") + UpdateScreen::YONTEM, parametreler);
    baglanti->gonder(UpdateScreen::YONTEM, std::move(parametreler), std::string(), [](const Json& sonuc, const Json* hata) {
        gunluge_yaz(std::string(), std::string("<- ") + UpdateScreen::YONTEM, hata ? *hata : sonuc);
        std::vector<Microsoft::WRL::ComPtr<Gorunum>> gorunumler;
        for (auto& cift : g_oturumlar)
            if (cift.second->gereken_olcek() > 0)
                gorunumler.emplace_back(cift.second);
        for (auto& gorunum : gorunumler)
            gorunum->olcek_degisti();
    });
}

void ekran_olcegini_ayarla()
{
    std::shared_ptr<Baglanti> baglanti = motor_baglantisi();
    if (!baglanti)
        return;
    double olcek = 0;
    for (auto& cift : g_oturumlar)
        olcek = std::max(olcek, cift.second->gereken_olcek());
    if (olcek <= 0 || olcek == g_ekran_olcegi)
        return;
    g_ekran_olcegi = olcek;
    if (!g_ekran.empty()) {
        olcegi_gonder(baglanti, olcek);
        return;
    }
    if (g_ekran_soruluyor)
        return;   // the answer sends the newest ratio
    g_ekran_soruluyor = true;
    baglanti->gonder(GetScreenInfos::YONTEM, Json::object(), std::string(),
                     [baglanti](const Json& sonuc, const Json* hata) {
                         g_ekran_soruluyor = false;
                         GetScreenInfosYaniti yanit;
                         if (hata || !oku(sonuc, &yanit) || yanit.screenInfos.empty())
                             return;
                         g_ekran = yanit.screenInfos[0].id;
                         if (!g_ekran.empty() && motor_baglantisi() == baglanti)
                             olcegi_gonder(baglanti, g_ekran_olcegi);
                     });
}

// ---------------------------------------------------------------------------
// The connection's messages.

// From the reading thread: the view's newest frame waits for the UI thread, which is
// woken only when none was waiting (it then takes whichever is newest).
static void kareyi_teslim_et(const std::string& oturum, std::shared_ptr<Kare> kare)
{
    bool bekleyen_vardi;
    {
        std::lock_guard<std::mutex> kilit(g_kare_kilidi);
        auto& yer = g_bekleyen_kareler[oturum];
        bekleyen_vardi = yer != nullptr;
        yer = std::move(kare);
    }
    if (bekleyen_vardi)
        return;
    Baglanti::ui_da_calistir([oturum] {
        std::shared_ptr<Kare> en_yeni;
        {
            std::lock_guard<std::mutex> kilit(g_kare_kilidi);
            auto bulunan = g_bekleyen_kareler.find(oturum);
            if (bulunan == g_bekleyen_kareler.end())
                return;
            en_yeni = std::move(bulunan->second);
            g_bekleyen_kareler.erase(bulunan);
        }
        if (Gorunum* gorunum = oturumun_gorunumu(oturum)) {
            Microsoft::WRL::ComPtr<Gorunum> koru(gorunum);
            koru->kare_geldi(std::move(en_yeni));
        }
    });
}

void sayfalari_bagla(Baglanti& baglanti)
{
    // A new engine: its screen is not known yet, and at its first ratio.
    g_ekran.clear();
    g_ekran_olcegi = 1.0;
    g_ekran_soruluyor = false;
    baglanti.olay_dinle([](const std::string& oturum, const std::string& yontem, const Json& p) {
        gunluge_yaz(oturum, yontem, p);
        Gorunum* gorunum = oturumun_gorunumu(oturum);
        if (indirme_olayi(gorunum, yontem, p))
            return;
        if (gorunum)
            gorunum->olay(yontem, p);
    });
    // Frames are cut out of their message without parsing it, acknowledged, and
    // decoded on the reading thread: the engine renders the next one while this one
    // is decoded and painted, and never more than can be decoded. The UI thread
    // takes only the newest frame of a view; one it has not taken yet is replaced.
    Baglanti* kaynak = &baglanti;
    // The connection's reading thread owns the decoder; its buffers stay from one
    // frame to the next.
    auto cozucu = std::make_shared<KareCozucu>();
    baglanti.ham_isleyici(ScreencastFrame::YONTEM, [kaynak, cozucu](const std::string&, std::string_view metin) {
        KareIletisi ileti;
        if (!kare_iletisini_ayir(metin, &ileti))
            return false;   // not as expected: the usual path reads it
        kaynak->gonder(ScreencastFrameAck::YONTEM, Json(ScreencastFrameAck{ileti.onay}), ileti.oturum);
        std::shared_ptr<Kare> kare = cozucu->coz(ileti.veri);
        if (kare)
            kareyi_teslim_et(ileti.oturum, std::move(kare));
        return true;
    });
    baglanti.kapaninca([] {
        indirmeler_motor_bitti();
        yedegi_birak();
        std::vector<Microsoft::WRL::ComPtr<Gorunum>> gorunumler;
        for (auto& cift : g_oturumlar)
            gorunumler.emplace_back(cift.second);
        for (auto& gorunum : gorunumler)
            gorunum->surec_coktu(COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED);
    });
}
