// The engine's page targets (see hedefler.h). The parts that keep state of their own
// are objects of their own: the views by session (oturumlar.h), the front page and
// the screen's ratio (on_sayfa.*), the held targets (tutulan_hedefler.*), the popups
// pages open (acilan_pencereler.*), the spare (yedek_hedef.*) and the frames' way to
// the UI thread (kare_teslimi.*).
#include "hedefler.h"

#include <algorithm>
#include <new>

#include "gorunum.h"
#include "indirmeler.h"
#include "protokol.h"
#include "protokol_gunlugu.h"
#include "zamanlayicilar.h"

using namespace protokol;

namespace {
void acilani_kapat(Baglanti& baglanti, const std::string& hedef, const std::string& oturum);
}  // namespace

Hedefler& Hedefler::tek()
{
    // Never freed: views and timers may still call in while the process ends.
    static Hedefler* hedefler = new Hedefler;
    return *hedefler;
}

// Events of the enabled domains that no part of the library reads.
static const char* const OKUNMAYAN_OLAYLAR[] = {
    ConsoleApiCalled::YONTEM,
    "Runtime.exceptionThrown",
    "Runtime.exceptionRevoked",
    "Network.dataReceived",
    "Network.loadingFinished",
    "Network.requestWillBeSentExtraInfo",
    "Network.responseReceivedExtraInfo",
    "Network.requestServedFromCache",
    "Network.resourceChangedPriority",
    "Network.policyUpdated",
    "Network.eventSourceMessageReceived",
    "Network.webSocketCreated",
    "Network.webSocketWillSendHandshakeRequest",
    "Network.webSocketHandshakeResponseReceived",
    "Network.webSocketFrameSent",
    "Network.webSocketFrameReceived",
    "Network.webSocketFrameError",
    "Network.webSocketClosed",
    "Media.playerMessagesLogged",
    "Media.playerErrorsRaised",
    "WebAudio.audioListenerCreated",
    "WebAudio.audioListenerWillBeDestroyed",
    "WebAudio.audioNodeCreated",
    "WebAudio.audioNodeWillBeDestroyed",
    "WebAudio.audioParamCreated",
    "WebAudio.audioParamWillBeDestroyed",
    "WebAudio.nodesConnected",
    "WebAudio.nodesDisconnected",
    "WebAudio.nodeParamConnected",
    "WebAudio.nodeParamDisconnected",
};

Hedefler::Hedefler()
    : on_sayfa_(oturumlar_),
      acilanlar_([](const std::string& hedef, const std::string& oturum) {
          if (std::shared_ptr<Baglanti> baglanti = motor_baglantisi())
              acilani_kapat(*baglanti, hedef, oturum);
      }),
      yedek_(oturumlar_,
             [this](std::shared_ptr<Baglanti> baglanti, RECT alan, YedekHedef::HedefBitti bitti) {
                 hedef_olustur(std::move(baglanti), alan, std::move(bitti));
             }),
      kareler_([this](const std::string& oturum, std::shared_ptr<Kare> kare) {
          if (Gorunum* gorunum = oturumlar_.bul(oturum)) {
              Microsoft::WRL::ComPtr<Gorunum> koru(gorunum);
              koru->kare_geldi(std::move(kare));
          }
      })
{
}

void Hedefler::hedef_acildi(Gorunum* gorunum)
{
    hedefsizler_.erase(std::remove(hedefsizler_.begin(), hedefsizler_.end(), gorunum), hedefsizler_.end());
    oturumlar_.ekle(gorunum);
}

void Hedefler::hedef_kapandi(Gorunum* gorunum)
{
    on_sayfa_.kapandi(gorunum);
    oturumlar_.cikar(gorunum);
    hedefsizler_.erase(std::remove(hedefsizler_.begin(), hedefsizler_.end(), gorunum), hedefsizler_.end());
}

void Hedefler::ekran_olcegini_ayarla()
{
    on_sayfa_.olcegi_ayarla(motor_baglantisi());
}

// ---------------------------------------------------------------------------
// The engine's messages about targets.
//
// A window a page opened is held as it is made: the opener's view hears of it from
// Page.windowOpen and the host decides whether to give it a view of its own (the
// popup then runs there) or not (the held one is closed without fetching anything).

namespace {

// A window a page opened that no view takes: its requests are held from the start
// and never let go, so nothing of it reaches the network, and it is closed. Letting
// it run first releases the opener, whose window.open waits for it.
void acilani_kapat(Baglanti& baglanti, const std::string& hedef, const std::string& oturum)
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

}  // namespace

// On the engine's browser session.
void Hedefler::hedef_olayi(const std::string& yontem, const Json& p)
{
    if (yontem == AttachedToTarget::YONTEM) {
        AttachedToTarget olay;
        if (!oku(p, &olay) || !olay.waitingForDebugger || olay.targetInfo.type != "page" ||
            olay.targetInfo.targetId.empty())
            return;
        if (!olay.targetInfo.openerId.empty()) {
            acilanlar_.tutuldu(olay.targetInfo.openerId, olay.targetInfo.targetId, olay.sessionId);
            return;
        }
        tutulanlar_.tutuldu(olay.targetInfo.targetId, olay.sessionId);
    } else if (yontem == DetachedFromTarget::YONTEM) {
        DetachedFromTarget olay;
        if (!oku(p, &olay))
            return;
        if (Gorunum* gorunum = oturumlar_.bul(olay.sessionId)) {
            Microsoft::WRL::ComPtr<Gorunum> koru(gorunum);
            koru->hedef_bitti();
        }
    }
}

void Hedefler::acilan_pencere(const std::string& acan, Microsoft::WRL::ComPtr<Gorunum> alan, std::wstring adres)
{
    acilanlar_.al(acan, [alan, adres](std::string hedef, std::string oturum) {
        if (alan && alan->acilan_pencereye_gec(hedef, oturum, adres))
            return;
        std::shared_ptr<Baglanti> baglanti = motor_baglantisi();
        if (!oturum.empty() && baglanti)
            acilani_kapat(*baglanti, hedef, oturum);
    });
}

// A popup counts from its page's request until the host's decision has run.
std::shared_ptr<void> Hedefler::yeni_pencere_bekleniyor()
{
    ++yeni_pencere_bekleyisleri_;
    return std::shared_ptr<void>(nullptr, [this](void*) { yeni_pencere_karari_verildi(); });
}

// No popup waits any more: a view made meanwhile that no request took is a view of
// the host's own.
void Hedefler::yeni_pencere_karari_verildi()
{
    if (--yeni_pencere_bekleyisleri_ > 0)
        return;
    std::vector<Microsoft::WRL::ComPtr<Gorunum>> bekleyenler(hedefsizler_.begin(), hedefsizler_.end());
    for (auto& gorunum : bekleyenler)
        if (!gorunum->kapali_mi() && !gorunum->yeni_pencereye_ayrildi_mi())
            gorunum->kendi_hedefine_gec();
}

HRESULT Hedefler::yeni_pencere_icin_al(ICoreWebView2* gorunum)
{
    HRESULT sonuc = E_INVALIDARG;
    Gorunum* bulunan = nullptr;
    oturumlar_.her_biri([&](Gorunum* acik) {
        if (static_cast<ICoreWebView2*>(acik) == gorunum)
            bulunan = acik;
    });
    for (Gorunum* hedefsiz : hedefsizler_)
        if (static_cast<ICoreWebView2*>(hedefsiz) == gorunum)
            bulunan = hedefsiz;
    if (bulunan)
        sonuc = bulunan->yeni_pencereye_ayir();
    return sonuc;
}

// ---------------------------------------------------------------------------
// Making a page target and its view.

void Hedefler::sayfa_hedefi_olustur(std::shared_ptr<Baglanti> baglanti,
                                    std::function<void(std::string, std::string)> al)
{
    baglanti->gonder(CreateTarget::YONTEM, Json(CreateTarget{"about:blank"}), std::string(),
                     [this, baglanti, al](const Json& sonuc, const Json* hata) {
        CreateTargetYaniti hedef;
        if (hata || !oku(sonuc, &hedef) || hedef.targetId.empty()) {
            al(std::string(), std::string());
            return;
        }
        tutulanlar_.oturumunu_al(hedef.targetId, [baglanti, al, hedef](std::string oturum) {
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
void Hedefler::hedef_olustur(std::shared_ptr<Baglanti> baglanti, RECT alan, YedekHedef::HedefBitti bitti)
{
    sayfa_hedefi_olustur(baglanti, [this, baglanti, alan, bitti](std::string hedef, std::string oturum) {
        if (oturum.empty()) {
            bitti(E_FAIL, nullptr);
            return;
        }
        auto gorunum = sahiplen(new (std::nothrow) Gorunum(*this, baglanti, hedef, oturum));
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

void Hedefler::yerlestir_ve_bildir(Microsoft::WRL::ComPtr<Gorunum> gorunum, HWND ebeveyn,
                                   const DenetleyiciBitti& bitti)
{
    HRESULT hr = gorunum->yerlestir(ebeveyn);
    if (FAILED(hr)) {
        gorunum->kapat();
        bitti(hr, nullptr);
        return;
    }
    yedek_.ilk_yer(ebeveyn);
    bitti(S_OK, static_cast<ICoreWebView2Controller*>(gorunum.Get()));
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

namespace {

constexpr UINT YOKLAMA_MS = 700, YOKLAMA_SINIRI_MS = 800;

struct Olusturma {
    Hedefler::DenetleyiciBitti bitti;
    bool bitti_mi = false;
    bool motor_yanitladi = false;
};

// Wraps `bitti` so that it runs once: with the view, or with a failure when the
// engine stopped answering first; a view that comes after that is closed.
Hedefler::DenetleyiciBitti bekcili(std::shared_ptr<Baglanti> baglanti, Hedefler::DenetleyiciBitti bitti)
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

}  // namespace

void Hedefler::denetleyici_olustur(HWND ebeveyn, DenetleyiciBitti bitti)
{
    std::shared_ptr<Baglanti> baglanti = motor_baglantisi();
    if (!baglanti) {
        Baglanti::ui_da_calistir([bitti] { bitti(E_FAIL, nullptr); });
        return;
    }
    yedek_.sonra_hazirla();
    if (yeni_pencere_bekleyisleri_ > 0) {
        hedefsiz_gorunum(baglanti, ebeveyn, std::move(bitti));
        return;
    }
    if (Microsoft::WRL::ComPtr<Gorunum> yedek = yedek_.al()) {
        // As every answer, from the message loop.
        Baglanti::ui_da_calistir([this, yedek, ebeveyn, bitti] {
            if (!IsWindow(ebeveyn)) {
                yedek->kapat();
                bitti(E_INVALIDARG, nullptr);
                return;
            }
            yerlestir_ve_bildir(yedek, ebeveyn, bitti);
        });
        return;
    }
    // A view asked for while the spare was on its way takes it once it is ready: the
    // spare's target is made and partly set up, and a new one beside it would take
    // longer and slow both down. One view waits so; another meanwhile gets its own.
    DenetleyiciBitti bekcili_bitti = bekcili(baglanti, std::move(bitti));
    if (yedek_.hazir_olunca_ver([this, ebeveyn, bekcili_bitti](Microsoft::WRL::ComPtr<Gorunum> gorunum) {
            if (!gorunum) {
                // The view asked for gets a target of its own (or the engine's failure).
                denetleyici_olustur(ebeveyn, bekcili_bitti);
                return;
            }
            if (!IsWindow(ebeveyn)) {
                gorunum->kapat();
                bekcili_bitti(E_INVALIDARG, nullptr);
                return;
            }
            yedek_.sonra_hazirla();
            yerlestir_ve_bildir(gorunum, ebeveyn, bekcili_bitti);
        }))
        return;
    RECT alan = {};
    if (IsWindow(ebeveyn))
        GetClientRect(ebeveyn, &alan);
    hedef_olustur(baglanti, alan, [this, ebeveyn, bekcili_bitti](HRESULT hr, Microsoft::WRL::ComPtr<Gorunum> gorunum) {
        if (FAILED(hr) || !gorunum) {
            bekcili_bitti(FAILED(hr) ? hr : E_FAIL, nullptr);
            return;
        }
        if (!IsWindow(ebeveyn)) {
            gorunum->kapat();
            bekcili_bitti(E_INVALIDARG, nullptr);
            return;
        }
        yerlestir_ve_bildir(gorunum, ebeveyn, bekcili_bitti);
    });
}

void Hedefler::hedefsiz_gorunum(std::shared_ptr<Baglanti> baglanti, HWND ebeveyn, DenetleyiciBitti bitti)
{
    auto gorunum = sahiplen(new (std::nothrow) Gorunum(*this, baglanti, std::string(), std::string()));
    if (!gorunum) {
        Baglanti::ui_da_calistir([bitti] { bitti(E_OUTOFMEMORY, nullptr); });
        return;
    }
    hedefsizler_.push_back(gorunum.Get());
    // As every answer, from the message loop.
    Baglanti::ui_da_calistir([this, gorunum, ebeveyn, bitti] {
        if (!IsWindow(ebeveyn)) {
            gorunum->kapat();
            bitti(E_INVALIDARG, nullptr);
            return;
        }
        yerlestir_ve_bildir(gorunum, ebeveyn, bitti);
        // Decided meanwhile, without it.
        if (yeni_pencere_bekleyisleri_ == 0 && !gorunum->kapali_mi() && !gorunum->yeni_pencereye_ayrildi_mi())
            gorunum->kendi_hedefine_gec();
    });
}

// ---------------------------------------------------------------------------
// The connection's messages.

void Hedefler::sayfalari_bagla(Baglanti& baglanti)
{
    on_sayfa_.yeni_motor();
    tutulanlar_.sifirla();
    acilanlar_.sifirla();
    Baglanti* kaynak = &baglanti;
    baglanti.olay_dinle([this](const std::string& oturum, const std::string& yontem, const Json& p) {
        gunluge_yaz(oturum, yontem, p);
        Gorunum* gorunum = oturumlar_.bul(oturum);
        if (indirme_olayi(gorunum, yontem, p))
            return;
        if (oturum.empty())
            hedef_olayi(yontem, p);
        else if (gorunum)
            gorunum->olay(yontem, p);
    });
    // Every page target is attached as it is made and held before it runs anything:
    // the library's own until they are set up, a page's popup for good.
    baglanti.gonder(SetAutoAttach::YONTEM, Json(SetAutoAttach{true, true, true, {{"page", false}}}), std::string());
    // The connection's reading thread owns the decoder; its buffers stay from one
    // frame to the next.
    auto cozucu = std::make_shared<KareCozucu>();
    baglanti.ham_isleyici(ScreencastFrame::YONTEM, [this, kaynak, cozucu](const std::string&, std::string_view metin) {
        KareIletisi ileti;
        if (!kare_iletisini_ayir(metin, &ileti))
            return false;   // not as expected: the usual path reads it
        kaynak->gonder(ScreencastFrameAck::YONTEM, Json(ScreencastFrameAck{ileti.onay}), ileti.oturum);
        std::shared_ptr<Kare> kare = cozucu->coz(ileti.veri);
        // Frames come on their own way, past the event log: their sizes go there too.
        if (gunluk_acik())
            gunluge_yaz(ileti.oturum, ScreencastFrame::YONTEM,
                        Json{{"genislik", kare ? kare->genislik : 0}, {"yukseklik", kare ? kare->yukseklik : 0}});
        if (kare)
            kareler_.teslim_et(ileti.oturum, std::move(kare));
        return true;
    });
    // Events nothing here reads are dropped on the reading thread unparsed: the
    // page's console (a page can log a string of any size), and what the domains
    // enabled for the few events that are read send besides. A page's every resource
    // brings its headers twice and its data in pieces, a WebSocket or EventSource
    // page one event per message, a page that throws in each animation frame sixty
    // exceptions a second, and a game's sound every node it makes.
    for (const char* yontem : OKUNMAYAN_OLAYLAR)
        baglanti.ham_isleyici(yontem, [](const std::string&, std::string_view) { return true; });
    baglanti.kapaninca([this] {
        indirmeler_motor_bitti();
        yedek_.birak();
        std::vector<Microsoft::WRL::ComPtr<Gorunum>> gorunumler = oturumlar_.hepsi();
        gorunumler.insert(gorunumler.end(), hedefsizler_.begin(), hedefsizler_.end());
        for (auto& gorunum : gorunumler)
            gorunum->surec_coktu(COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED);
    });
}

// ---------------------------------------------------------------------------
// For the rest of the library.

void sayfalari_bagla(Baglanti& baglanti)
{
    Hedefler::tek().sayfalari_bagla(baglanti);
}

void denetleyici_olustur(HWND ebeveyn, std::function<void(HRESULT, ICoreWebView2Controller*)> bitti)
{
    Hedefler::tek().denetleyici_olustur(ebeveyn, std::move(bitti));
}

HRESULT yeni_pencere_icin_al(ICoreWebView2* gorunum)
{
    return Hedefler::tek().yeni_pencere_icin_al(gorunum);
}

Gorunum* hedefin_gorunumu(const std::string& hedef)
{
    return Hedefler::tek().hedefin_gorunumu(hedef);
}
