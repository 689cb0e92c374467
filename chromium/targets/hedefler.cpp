// Page targets: making them, one set up in advance, and routing the engine's
// messages to the views they belong to.
//
// Opening a tab costs the engine a new page target and a renderer for it; the
// target answers its setup only once that renderer runs. So one spare target is
// made and set up while the engine is idle (shortly after a navigation completed,
// a second after the last view was made or a load went out, and not in a download's
// first seconds), and the next new view takes it: it then only has to be placed and
// shown.
//
// The engine renders every page at one device pixel ratio (the screen's, shared by
// all pages): frames come in CSS pixels times that ratio. It follows the largest
// zoom among the views shown, so that a zoomed page's frames come in device pixels,
// as sharp as an unzoomed page's.
#include "gorunum.h"
#include "indirmeler.h"
#include "ozel_erisim.h"

#include <fcntl.h>
#include <io.h>

#include <cmath>
#include <map>
#include <mutex>
#include <new>
#include <optional>

using namespace protokol;

// The spare is made once the engine has nothing else to do: shortly after a
// navigation completed, or a while after the last view was made at the latest.
static const UINT YEDEK_GECIKMESI_MS = 1000, BOSTA_YEDEK_GECIKMESI_MS = 100;
// A download keeps the engine's browser process busy receiving and writing (from a
// fast loopback server, a whole core), and a new target's renderer starting beside
// it took about a seventh of its speed here (bench/indirme). So the spare waits
// while a download is in its first seconds: a short one is over by then; a long one
// is bound by its network, and a tab opened meanwhile should not go without a spare
// for the rest of it.
static const UINT INDIRME_YOKLAMASI_MS = 250;
static const ULONGLONG INDIRME_BEKLETMESI_MS = 3000;
// A new target's renderer starting while a page shown is being drawn delays that
// page's frame (bench/motor_bench sekme: the start page came on screen later when
// the spare was made sooner after its load). So the spare waits until the pages
// shown have their picture and their frames have paused, for a second at most.
static const UINT CIZIM_YOKLAMASI_MS = 25;
static const ULONGLONG CIZIM_SESSIZLIGI_MS = 50, CIZIM_BEKLETMESI_MS = 1000;

static std::map<std::string, Gorunum*> g_oturumlar;   // open views by session id
// The spare: set up, not yet placed; it holds one reference of its own.
static Gorunum* g_yedek;
static bool g_yedek_hazirlaniyor;
static UINT_PTR g_yedek_zamanlayicisi;
static ULONGLONG g_yedek_en_gec;   // the spare waits for drawing until then (0: not waiting)
// The view last made the engine's front page (null when it has closed since).
static const Gorunum* g_on_sayfa;
static RECT g_son_alan;                 // the size the last view was shown at
// The engine's screen and the device pixel ratio it was last given.
static std::string g_ekran;
static double g_ekran_olcegi = 1.0;
static bool g_ekran_soruluyor;
// Decoded frames on their way from the reading thread to the UI thread, by session.
static std::mutex g_kare_kilidi;
static std::map<std::string, std::shared_ptr<Kare>> g_bekleyen_kareler;

// The log file, appended to; made for the user alone when it is new (an existing
// one keeps its mode). Null without KORVA_CHROMIUM_LOG or when it cannot be opened.
static FILE* gunlugu_ac()
{
    wchar_t yol[MAX_PATH];
    const DWORD boy = GetEnvironmentVariableW(L"KORVA_CHROMIUM_LOG", yol, MAX_PATH);
    if (boy == 0 || boy >= MAX_PATH)
        return nullptr;
    OzelErisim ozel(OzelErisim::DOSYA);
    HANDLE dosya = CreateFileW(yol, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, ozel.nitelikler(),
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (dosya == INVALID_HANDLE_VALUE)
        return nullptr;
    const int tanitici = _open_osfhandle(reinterpret_cast<intptr_t>(dosya), _O_APPEND | _O_BINARY);
    if (tanitici < 0) {
        CloseHandle(dosya);
        return nullptr;
    }
    FILE* gunluk = _fdopen(tanitici, "ab");
    if (!gunluk)
        _close(tanitici);
    return gunluk;
}

// What the user types is theirs (passwords among it): a key event is logged with
// what identifies the key or its text replaced, so the log shows that a key went,
// not which.
static Json gunluk_icin(const std::string& yontem, const Json& p)
{
    static const char* const TUS_ALANLARI[] = {"text", "unmodifiedText", "key", "code", "keyIdentifier",
                                               "windowsVirtualKeyCode", "nativeVirtualKeyCode"};
    auto biter = [&yontem](const char* ad) {
        const size_t boy = strlen(ad);
        return yontem.size() >= boy && yontem.compare(yontem.size() - boy, boy, ad) == 0;
    };
    const bool tus = biter(protokol::DispatchKeyEvent::YONTEM);
    if ((!tus && !biter("Input.insertText")) || !p.is_object())
        return p;
    Json gizli = p;
    for (const char* alan : TUS_ALANLARI)
        if (gizli.contains(alan) && (tus || std::strcmp(alan, "text") == 0))
            gizli[alan] = "<gizli>";
    return gizli;
}

void gunluge_yaz(const std::string& oturum, const std::string& yontem, const Json& p)
{
    static FILE* gunluk = gunlugu_ac();
    if (!gunluk)
        return;
    std::string metin = gunluk_icin(yontem, p).dump();
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

void hedef_acildi(Gorunum* gorunum)
{
    g_oturumlar[gorunum->oturum()] = gorunum;
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
    if (g_on_sayfa == gorunum)
        g_on_sayfa = nullptr;
    auto bulunan = g_oturumlar.find(gorunum->oturum());
    if (bulunan != g_oturumlar.end() && bulunan->second == gorunum)
        g_oturumlar.erase(bulunan);
}

// ---------------------------------------------------------------------------
// Held targets.
//
// The engine attaches every new page target by itself and holds it before it runs
// anything (sayfalari_bagla). The library's own are taken by the creation that made
// them, whose answer comes after the attachment. A window a page opened is never
// run as it is: the view hears of it from Page.windowOpen and the host decides
// whether to open a tab of its own; the held one is closed without fetching
// anything. A held page nobody takes within a few seconds is closed too.

static const DWORD SAHIPSIZ_SURESI_MS = 3000;

struct TutulanHedef {
    std::string oturum;
    DWORD zaman;
};
static std::map<std::string, TutulanHedef> g_tutulanlar;   // by target id, not taken yet
// Creations whose target's attachment has not come yet, by target id.
struct BekleyenOlusturma {
    std::function<void(std::string)> al;
    DWORD zaman;
};
static std::map<std::string, BekleyenOlusturma> g_bekleyen_olusturmalar;
static UINT_PTR g_temizlik_zamanlayicisi;

static void CALLBACK sahipsizleri_temizle(HWND, UINT, UINT_PTR kimlik, DWORD)
{
    KillTimer(nullptr, kimlik);
    g_temizlik_zamanlayicisi = 0;
    const DWORD simdi = GetTickCount();
    std::shared_ptr<Baglanti> baglanti = motor_baglantisi();
    for (auto it = g_tutulanlar.begin(); it != g_tutulanlar.end();) {
        if (simdi - it->second.zaman < SAHIPSIZ_SURESI_MS) {
            ++it;
            continue;
        }
        if (baglanti)
            baglanti->gonder(CloseTarget::YONTEM, Json(CloseTarget{it->first}));
        it = g_tutulanlar.erase(it);
    }
    std::vector<std::function<void(std::string)>> gecikenler;
    for (auto it = g_bekleyen_olusturmalar.begin(); it != g_bekleyen_olusturmalar.end();) {
        if (simdi - it->second.zaman < SAHIPSIZ_SURESI_MS) {
            ++it;
            continue;
        }
        gecikenler.push_back(std::move(it->second.al));
        it = g_bekleyen_olusturmalar.erase(it);
    }
    for (auto& al : gecikenler)
        al(std::string());
    if (!g_tutulanlar.empty() || !g_bekleyen_olusturmalar.empty())
        g_temizlik_zamanlayicisi = SetTimer(nullptr, 0, SAHIPSIZ_SURESI_MS, sahipsizleri_temizle);
}

static void temizligi_kur()
{
    if (!g_temizlik_zamanlayicisi)
        g_temizlik_zamanlayicisi = SetTimer(nullptr, 0, SAHIPSIZ_SURESI_MS, sahipsizleri_temizle);
}

// `al` gets the held session of the target the library made (empty when none came).
static void oturumunu_al(const std::string& hedef, std::function<void(std::string)> al)
{
    auto bulunan = g_tutulanlar.find(hedef);
    if (bulunan != g_tutulanlar.end()) {
        std::string oturum = std::move(bulunan->second.oturum);
        g_tutulanlar.erase(bulunan);
        al(std::move(oturum));
        return;
    }
    g_bekleyen_olusturmalar[hedef] = BekleyenOlusturma{std::move(al), GetTickCount()};
    temizligi_kur();
}

// A window a page opened: its requests are held from the start and never let go,
// so nothing of it reaches the network, and it is closed. Letting it run first
// releases the opener, whose window.open waits for it.
static void acilani_kapat(Baglanti& baglanti, const std::string& hedef, const std::string& oturum)
{
    Baglanti* kaynak = &baglanti;
    baglanti.gonder(FetchEnable::YONTEM, Json(FetchEnable{{{"*", "", ""}}}), oturum,
                    [kaynak, hedef, oturum](const Json&, const Json*) {
        if (motor_baglantisi().get() != kaynak)
            return;
        kaynak->gonder(RunIfWaitingForDebugger::YONTEM, Json::object(), oturum);
        kaynak->gonder(CloseTarget::YONTEM, Json(CloseTarget{hedef}));
    });
}

// The engine's own messages about targets (on its browser session).
static void hedef_olayi(Baglanti& baglanti, const std::string& yontem, const Json& p)
{
    if (yontem == AttachedToTarget::YONTEM) {
        AttachedToTarget olay;
        if (!oku(p, &olay) || !olay.waitingForDebugger || olay.targetInfo.type != "page" ||
            olay.targetInfo.targetId.empty())
            return;
        const std::string& hedef = olay.targetInfo.targetId;
        if (!olay.targetInfo.openerId.empty()) {
            acilani_kapat(baglanti, hedef, olay.sessionId);
            return;
        }
        auto bekleyen = g_bekleyen_olusturmalar.find(hedef);
        if (bekleyen != g_bekleyen_olusturmalar.end()) {
            auto al = std::move(bekleyen->second.al);
            g_bekleyen_olusturmalar.erase(bekleyen);
            al(olay.sessionId);
            return;
        }
        g_tutulanlar[hedef] = TutulanHedef{olay.sessionId, GetTickCount()};
        temizligi_kur();
    } else if (yontem == DetachedFromTarget::YONTEM) {
        DetachedFromTarget olay;
        if (!oku(p, &olay))
            return;
        if (Gorunum* gorunum = oturumun_gorunumu(olay.sessionId)) {
            Microsoft::WRL::ComPtr<Gorunum> koru(gorunum);
            koru->hedef_bitti();
        }
    }
}

// ---------------------------------------------------------------------------
// Making a page target and its view.

using HedefBitti = std::function<void(HRESULT, Microsoft::WRL::ComPtr<Gorunum>)>;

void sayfa_hedefi_olustur(std::shared_ptr<Baglanti> baglanti, std::function<void(std::string, std::string)> al)
{
    baglanti->gonder(CreateTarget::YONTEM, Json(CreateTarget{"about:blank"}), std::string(),
                     [baglanti, al](const Json& sonuc, const Json* hata) {
        CreateTargetYaniti hedef;
        if (hata || !oku(sonuc, &hedef) || hedef.targetId.empty()) {
            al(std::string(), std::string());
            return;
        }
        oturumunu_al(hedef.targetId, [baglanti, al, hedef](std::string oturum) {
            if (oturum.empty() || motor_baglantisi() != baglanti) {
                baglanti->gonder(CloseTarget::YONTEM, Json(CloseTarget{hedef.targetId}));
                al(std::string(), std::string());
                return;
            }
            al(hedef.targetId, std::move(oturum));
        });
    });
}

// Creates a page target and sets its view up, laid out for `alan`; the target runs
// once its setup is on its way.
static void hedef_olustur(std::shared_ptr<Baglanti> baglanti, RECT alan, HedefBitti bitti)
{
    sayfa_hedefi_olustur(baglanti, [baglanti, alan, bitti](std::string hedef, std::string oturum) {
        if (oturum.empty()) {
            bitti(E_FAIL, nullptr);
            return;
        }
        auto gorunum = sahiplen(new (std::nothrow) Gorunum(baglanti, hedef, oturum));
        if (!gorunum) {
            baglanti->gonder(CloseTarget::YONTEM, Json(CloseTarget{hedef}));
            bitti(E_OUTOFMEMORY, nullptr);
            return;
        }
        hedef_acildi(gorunum.Get());
        gorunum->kur(alan, [gorunum, bitti](HRESULT hr) {
            if (FAILED(hr) && !gorunum->kapali_mi())
                gorunum->kapat();
            bitti(hr, SUCCEEDED(hr) ? gorunum : nullptr);
        });
        baglanti->gonder(RunIfWaitingForDebugger::YONTEM, Json::object(), oturum);
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

void one_getirildi(const Gorunum* gorunum)
{
    g_on_sayfa = gorunum;
}

bool on_sayfa_mi(const Gorunum* gorunum)
{
    return g_on_sayfa == gorunum;
}

bool gosterilen_on_sayfa_var()
{
    return g_on_sayfa && g_on_sayfa->gereken_olcek() > 0;
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

static void yedegi_sonra_hazirla(UINT gecikme = YEDEK_GECIKMESI_MS);

using DenetleyiciBitti = std::function<void(HRESULT, ICoreWebView2Controller*)>;

// A view asked for while the spare was on its way takes it once it is ready: the
// spare's target is made and partly set up, and a new one beside it would take
// longer and slow both down. One view waits so; another meanwhile gets its own.
struct YedekIstegi {
    HWND ebeveyn = nullptr;
    DenetleyiciBitti bitti;
};
static std::optional<YedekIstegi> g_yedegi_bekleyen;

static void yerlestir_ve_bildir(Microsoft::WRL::ComPtr<Gorunum> gorunum, HWND ebeveyn, const DenetleyiciBitti& bitti);

static void yedegi_hazirla()
{
    std::shared_ptr<Baglanti> baglanti = motor_baglantisi();
    if (g_yedek || g_yedek_hazirlaniyor || !baglanti)
        return;
    if (yeni_indirme_suruyor(INDIRME_BEKLETMESI_MS)) {
        yedegi_sonra_hazirla(INDIRME_YOKLAMASI_MS);
        return;
    }
    const ULONGLONG simdi = GetTickCount64();
    if (!g_yedek_en_gec)
        g_yedek_en_gec = simdi + CIZIM_BEKLETMESI_MS;
    if (simdi < g_yedek_en_gec)
        for (auto& cift : g_oturumlar)
            if (cift.second->ciziliyor(simdi, CIZIM_SESSIZLIGI_MS)) {
                yedegi_sonra_hazirla(CIZIM_YOKLAMASI_MS);
                return;
            }
    g_yedek_en_gec = 0;
    g_yedek_hazirlaniyor = true;
    hedef_olustur(baglanti, g_son_alan, [baglanti](HRESULT hr, Microsoft::WRL::ComPtr<Gorunum> gorunum) {
        g_yedek_hazirlaniyor = false;
        std::optional<YedekIstegi> istek = std::move(g_yedegi_bekleyen);
        g_yedegi_bekleyen.reset();
        bool kullanilir = SUCCEEDED(hr) && gorunum && motor_baglantisi() == baglanti;
        if (gorunum && (!kullanilir || (g_yedek && !istek))) {
            gorunum->kapat();   // not needed any more: a spare came meanwhile, or a new engine
            gorunum.Reset();
        }
        if (istek) {
            if (!gorunum) {
                // The view asked for gets a target of its own (or the engine's failure).
                denetleyici_olustur(istek->ebeveyn, std::move(istek->bitti));
                return;
            }
            if (!IsWindow(istek->ebeveyn)) {
                gorunum->kapat();
                istek->bitti(E_INVALIDARG, nullptr);
                return;
            }
            yedegi_sonra_hazirla();
            yerlestir_ve_bildir(gorunum, istek->ebeveyn, istek->bitti);
            return;
        }
        if (gorunum)
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

static void yedegi_sonra_hazirla(UINT gecikme)
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

// A load that goes out right after another completed (an address entered on a page
// that has just loaded) may turn out a download only when its answer comes.
void yukleme_gidiyor()
{
    if (g_yedek_zamanlayicisi)
        yedegi_sonra_hazirla();
}

static void yerlestir_ve_bildir(Microsoft::WRL::ComPtr<Gorunum> gorunum, HWND ebeveyn, const DenetleyiciBitti& bitti)
{
    HRESULT hr = gorunum->yerlestir(ebeveyn);
    if (FAILED(hr)) {
        gorunum->kapat();
        bitti(hr, nullptr);
        return;
    }
    // The first view's place sizes the spare until a view is shown (see gosterilen_alan).
    if (g_son_alan.right <= g_son_alan.left || g_son_alan.bottom <= g_son_alan.top)
        GetClientRect(ebeveyn, &g_son_alan);
    bitti(S_OK, static_cast<ICoreWebView2Controller*>(gorunum.Get()));
}

// A host places a new view in a hidden window of a default size and gives it its
// real size once shown: the size of the last view shown on screen is the one the
// next tab will have, so the spare is laid out at it and needs no new layout when
// it is shown.
void gosterilen_alan(const RECT& alan)
{
    if (alan.right > alan.left && alan.bottom > alan.top)
        g_son_alan = RECT{0, 0, alan.right - alan.left, alan.bottom - alan.top};
}

// ---------------------------------------------------------------------------
// A stalled engine.
//
// The program waits for a new view. An engine that works answers a creation in well
// under a second; one that takes longer is asked for its version, which its browser
// process answers at once however busy its pages are. When that is not answered
// either, the engine is stalled (stopped, or hung): the creation fails at once, so
// the program can say so instead of waiting, and whatever the engine makes for it
// later is closed.

static const UINT YOKLAMA_MS = 700, YOKLAMA_SINIRI_MS = 800;

// Work for the UI thread after `ms`.
static std::map<UINT_PTR, std::function<void()>> g_zamanli_isler;

static void CALLBACK zamanli_is(HWND, UINT, UINT_PTR kimlik, DWORD)
{
    KillTimer(nullptr, kimlik);
    auto bulunan = g_zamanli_isler.find(kimlik);
    if (bulunan == g_zamanli_isler.end())
        return;
    auto is = std::move(bulunan->second);
    g_zamanli_isler.erase(bulunan);
    is();
}

void sonra_calistir(UINT ms, std::function<void()> is)
{
    if (UINT_PTR kimlik = SetTimer(nullptr, 0, ms, zamanli_is))
        g_zamanli_isler[kimlik] = std::move(is);
}

struct Olusturma {
    DenetleyiciBitti bitti;
    bool bitti_mi = false;
    bool motor_yanitladi = false;
};

// Wraps `bitti` so that it runs once: with the view, or with a failure when the
// engine stopped answering first; a view that comes after that is closed.
static DenetleyiciBitti bekcili(std::shared_ptr<Baglanti> baglanti, DenetleyiciBitti bitti)
{
    auto olusturma = std::make_shared<Olusturma>();
    olusturma->bitti = std::move(bitti);
    sonra_calistir(YOKLAMA_MS, [baglanti, olusturma] {
        if (olusturma->bitti_mi || !baglanti->acik_mi())
            return;
        baglanti->gonder(GetVersion::YONTEM, Json::object(), std::string(),
                         [olusturma](const Json&, const Json*) { olusturma->motor_yanitladi = true; });
        sonra_calistir(YOKLAMA_SINIRI_MS, [olusturma] {
            if (olusturma->bitti_mi || olusturma->motor_yanitladi)
                return;
            olusturma->bitti_mi = true;
            olusturma->bitti(HRESULT_FROM_WIN32(ERROR_TIMEOUT), nullptr);
        });
    });
    return [olusturma](HRESULT hr, ICoreWebView2Controller* denetleyici) {
        if (olusturma->bitti_mi) {
            if (denetleyici)
                denetleyici->Close();
            return;
        }
        olusturma->bitti_mi = true;
        olusturma->bitti(hr, denetleyici);
    };
}

void denetleyici_olustur(HWND ebeveyn, DenetleyiciBitti bitti)
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
    if (g_yedek_hazirlaniyor && !g_yedegi_bekleyen) {
        g_yedegi_bekleyen = YedekIstegi{ebeveyn, bekcili(baglanti, std::move(bitti))};
        return;
    }
    RECT alan = {};
    if (IsWindow(ebeveyn))
        GetClientRect(ebeveyn, &alan);
    bitti = bekcili(baglanti, std::move(bitti));
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
    g_tutulanlar.clear();
    g_bekleyen_olusturmalar.clear();
    Baglanti* kaynak = &baglanti;
    baglanti.olay_dinle([kaynak](const std::string& oturum, const std::string& yontem, const Json& p) {
        gunluge_yaz(oturum, yontem, p);
        Gorunum* gorunum = oturumun_gorunumu(oturum);
        if (indirme_olayi(gorunum, yontem, p))
            return;
        if (oturum.empty())
            hedef_olayi(*kaynak, yontem, p);
        else if (gorunum)
            gorunum->olay(yontem, p);
    });
    // Every page target is attached as it is made and held before it runs anything:
    // the library's own until they are set up, a page's popup for good.
    baglanti.gonder(SetAutoAttach::YONTEM, Json(SetAutoAttach{true, true, true, {{"page", false}}}), std::string());
    // Frames are cut out of their message without parsing it, acknowledged, and
    // decoded on the reading thread: the engine renders the next one while this one
    // is decoded and painted, and never more than can be decoded. The UI thread
    // takes only the newest frame of a view; one it has not taken yet is replaced.
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
    // The page's console has no reader here: its messages (a page can log a string of
    // any size) are dropped on the reading thread unparsed.
    baglanti.ham_isleyici(ConsoleApiCalled::YONTEM, [](const std::string&, std::string_view) { return true; });
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
