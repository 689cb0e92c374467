// A page's navigations and history (see gezinti.h for how the engine's events map
// to the interface's).
#include "gezinti.h"
#include "motor_ic.h"

using namespace protokol;

// The navigation under way: from its start to its completion.
struct Gezintiler::Gezinti {
    UINT64 kimlik = 0;
    std::string ana_istek;     // the request id of its document, once known
    bool basarisiz = false;
    COREWEBVIEW2_WEB_ERROR_STATUS durum = COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;
    bool bitti = false;        // the load stopped; its completion waits for the title
    bool belgede = false;      // its document committed
    bool istek_gitti = false;  // its document's request was let go to the network
    bool yanit_geldi = false;  // and the response to it came
    // A certificate refused while it was under way: the status an aborted document
    // fails with.
    COREWEBVIEW2_WEB_ERROR_STATUS sertifika_durumu = COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;
};

// A text document on its way in: about:blank is loading, then gets the content.
struct Gezintiler::MetinYuklemesi {
    UINT64 kimlik = 0;
    std::string html;
};

static const size_t EN_COK_METIN_BAYTI = 2u * 1024 * 1024;

// Navigation ids are unique among all views of the process.
static UINT64 g_sonraki_gezinti;

static bool adres_mi(const std::string& adres, const char* sema)
{
    return adres.compare(0, strlen(sema), sema) == 0;
}

Gezintiler::Gezintiler(Giden& giden, GezintiDinleyicisi& dinleyici, std::string cerceve, std::wstring adres)
    : giden_(giden), dinleyici_(dinleyici), cerceve_(std::move(cerceve)), adres_(std::move(adres))
{
    ilk_belgede_ = adres_ == L"about:blank";
}

Gezintiler::~Gezintiler() = default;

int Gezintiler::kur(const Giden::Yanit& yanit)
{
    // The engine answers the setup's commands only once the page has its renderer:
    // later than the history, whose answer is then still the first entry's.
    giden_.gonder(GetNavigationHistory{}, [this, yanit](const Json& sonuc, const Json* hata) {
        if (!hata && oku(sonuc, &gecmis_) && !gecmis_.entries.empty())
            ilk_kayit_ = gecmis_.entries[0].id;
        yanit(sonuc, hata);
    });
    return 1;
}

// ---------------------------------------------------------------------------
// What the host asks.

void Gezintiler::git(const std::wstring& adres, bool kullanici)
{
    ilk_belgede_ = false;
    // A text document still on its way in is given up, its empty page too, and one
    // not yet started never starts (it completes as canceled): the later call wins.
    metin_.reset();
    bekleyen_metni_birak();
    bos_sayfa_yukleniyor_ = false;
    kendi_gezintimiz_ = !kullanici;
    dinleyici_.yukleme_basliyor();
    std::string motorda = motora_adres(adres);
    static const char KAYNAK[] = "view-source:";
    kaynak_adresi_ = adres_mi(motorda, KAYNAK) ? motorda.substr(sizeof(KAYNAK) - 1) : std::string();
    yuklemeyi_gonder(Navigate{motorda});
}

HRESULT Gezintiler::metin_yukle(std::string html)
{
    if (html.size() > EN_COK_METIN_BAYTI)
        return E_INVALIDARG;
    auto yukleme = std::make_shared<MetinYuklemesi>();
    yukleme->kimlik = ++g_sonraki_gezinti;
    yukleme->html = std::move(html);
    bekleyen_metni_birak();
    bekleyen_metin_ = yukleme;
    return giden_.sonra([this, yukleme] { metin_baslat(yukleme); }) ? S_OK : E_FAIL;
}

void Gezintiler::gecmise_git(int adim)
{
    const GecmisKaydi* kayit = gecmis_kaydi(adim);
    if (!kayit)
        return;
    int64_t kimlik = kayit->id;
    ilk_belgede_ = false;
    metin_.reset();
    bekleyen_metni_birak();
    bos_sayfa_yukleniyor_ = false;
    kendi_gezintimiz_ = true;
    dinleyici_.yukleme_basliyor();
    yuklemeyi_gonder(NavigateToHistoryEntry{kimlik});
}

void Gezintiler::yenile()
{
    ilk_belgede_ = false;
    if (metin_)
        return;
    kendi_gezintimiz_ = true;
    dinleyici_.yukleme_basliyor();
    yuklemeyi_gonder(Reload{});
}

void Gezintiler::durdur()
{
    if (metin_) {
        UINT64 kimlik = metin_->kimlik;
        metin_.reset();
        iptali_teslim_et(kimlik);
    }
    giden_.gonder(StopLoading{});
}

void Gezintiler::surec_oldu()
{
    gezinti_.reset();
    metin_.reset();
}

// The engine puts a text into whatever document the frame has when the page gets
// to it, which may be later than a load sent after it: the text would then replace
// the new page. So a load waits until the text is in (the newest load only).
template <class Komut>
void Gezintiler::yuklemeyi_gonder(const Komut& komut)
{
    if (icerik_yolda_ == 0) {
        giden_.gonder(komut);
        return;
    }
    ertelenen_yukleme_ = [this, komut] { giden_.gonder(komut); };
}

// ---------------------------------------------------------------------------
// From the engine.

bool Gezintiler::olay(const std::string& yontem, const Json& p)
{
    // One row per event: its method, its record, and the step it takes.
    auto eslesirse = [&](auto kayit, auto adim) {
        using Kayit = decltype(kayit);
        if (yontem != Kayit::YONTEM)
            return false;
        if (oku(p, &kayit))
            (this->*adim)(kayit);
        return true;
    };
    return eslesirse(RequestPaused{}, &Gezintiler::istek_durdu) ||
           eslesirse(FrameStartedNavigating{}, &Gezintiler::cerceve_gezinmeye_basladi) ||
           eslesirse(RequestWillBeSent{}, &Gezintiler::istek_gidiyor) ||
           eslesirse(ResponseReceived{}, &Gezintiler::belge_yaniti_geldi) ||
           eslesirse(LoadingFailed{}, &Gezintiler::yukleme_basarisiz) ||
           eslesirse(FrameNavigated{}, &Gezintiler::cerceve_gezindi) ||
           eslesirse(NavigatedWithinDocument{}, &Gezintiler::belge_icinde_gezindi) ||
           eslesirse(FrameStoppedLoading{}, &Gezintiler::cerceve_durdu) ||
           eslesirse(JavascriptDialogOpening{}, &Gezintiler::diyalog_acildi) ||
           eslesirse(JavascriptDialogClosed{}, &Gezintiler::diyalog_kapandi);
}

void Gezintiler::istek_durdu(const RequestPaused& p)
{
    if (p.frameId != cerceve_) {
        giden_.gonder(ContinueRequest{p.requestId});   // an iframe's document
        return;
    }
    std::wstring hedef_adres = hostun_adresi(p.request.url);
    bool yonlendirme = !p.redirectedRequestId.empty() && gezinti_;
    if (!yonlendirme)
        yeni_gezinti_baslat();
    // The document's Network.requestWillBeSent came before this pause, while the
    // navigation before was still the current one: its id is taken from here.
    if (!p.networkId.empty())
        gezinti_->ana_istek = p.networkId;
    UINT64 kimlik = gezinti_->kimlik;
    bool devam = baslamayi_yay(hedef_adres, yonlendirme, kimlik, yonlendirme ? false : kullanici_mi());
    if (dinleyici_.kapali_mi())
        return;
    if (!devam || !gezinti_mi(kimlik)) {
        // Canceled, or a handler started something else: the old page stays.
        giden_.gonder(FailRequest{p.requestId});
        if (gezinti_mi(kimlik)) {
            gezinti_.reset();
            iptali_teslim_et(kimlik);
        }
        return;
    }
    gezinti_->istek_gitti = true;
    giden_.gonder(ContinueRequest{p.requestId});
}

void Gezintiler::cerceve_gezinmeye_basladi(const FrameStartedNavigating& p)
{
    if (p.frameId != cerceve_ || bos_sayfa_yukleniyor_)
        return;
    // Network addresses and files pause in Fetch, where their start is raised.
    if (adres_mi(p.url, "http:") || adres_mi(p.url, "https:") || adres_mi(p.url, "file:") ||
        adres_mi(p.url, "chrome-error:") || p.navigationType == "sameDocument" ||
        p.navigationType == "historySameDocument")
        return;
    yeni_gezinti_baslat();
    UINT64 kimlik = gezinti_->kimlik;
    if (!baslamayi_yay(hostun_adresi(p.url), false, kimlik, kullanici_mi()) && gezinti_mi(kimlik)) {
        gezinti_.reset();
        giden_.gonder(StopLoading{});
        iptali_teslim_et(kimlik);
    }
}

void Gezintiler::istek_gidiyor(const RequestWillBeSent& p)
{
    if (gezinti_ && p.frameId == cerceve_ && p.type == "Document")
        gezinti_->ana_istek = p.requestId;
}

// The document's response, known by its request id, or (where the pause did not
// name it) as the first document response for the frame since the start.
void Gezintiler::belge_yaniti_geldi(const ResponseReceived& p)
{
    if (!gezinti_ || p.type != "Document")
        return;
    if (p.requestId == gezinti_->ana_istek || (gezinti_->ana_istek.empty() && p.frameId == cerceve_))
        gezinti_->yanit_geldi = true;
}

bool Gezintiler::agi_bekliyor() const
{
    return gezinti_ && gezinti_->istek_gitti && !gezinti_->yanit_geldi && !gezinti_->basarisiz &&
           !gezinti_->belgede;
}

void Gezintiler::yukleme_basarisiz(const LoadingFailed& p)
{
    if (!gezinti_ || p.type != "Document" || p.requestId != gezinti_->ana_istek)
        return;
    gezinti_->basarisiz = true;
    gezinti_->durum = hata_durumu(p.errorText);
    if (gezinti_->durum == COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED &&
        gezinti_->sertifika_durumu != COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN)
        gezinti_->durum = gezinti_->sertifika_durumu;
}

void Gezintiler::sertifika_reddedildi(COREWEBVIEW2_WEB_ERROR_STATUS durum)
{
    if (gezinti_ && !gezinti_->belgede)
        gezinti_->sertifika_durumu = durum;
}

void Gezintiler::cerceve_gezindi(const FrameNavigated& p)
{
    if (!p.frame.parentId.empty() || p.frame.id != cerceve_ || bos_sayfa_yukleniyor_)
        return;
    dinleyici_.yukleme_basliyor();
    // The engine gives an address's fragment apart from it.
    std::string url = p.frame.url + p.frame.urlFragment;
    bool hata_sayfasi = adres_mi(url, "chrome-error:");
    if (hata_sayfasi && !p.frame.unreachableUrl.empty())
        url = p.frame.unreachableUrl;
    if (!gezinti_) {
        // A start the engine did not show us (a restored history entry, say).
        yeni_gezinti_baslat();
        UINT64 kimlik = gezinti_->kimlik;
        baslamayi_yay(hostun_adresi(url), false, kimlik, kullanici_mi());
        if (!gezinti_mi(kimlik))
            return;
    }
    if (hata_sayfasi && !gezinti_->basarisiz) {
        gezinti_->basarisiz = true;
        gezinti_->durum = COREWEBVIEW2_WEB_ERROR_STATUS_UNEXPECTED_ERROR;
    }
    gezinti_->belgede = true;
    UINT64 kimlik = gezinti_->kimlik;
    std::wstring yeni_adres = hostun_adresi(url);
    // The engine names a source view's frame by the page's own address.
    if (!kaynak_adresi_.empty()) {
        if (url == kaynak_adresi_)
            yeni_adres = L"view-source:" + yeni_adres;
        else
            kaynak_adresi_.clear();
    }
    if (yeni_adres != adres_) {
        adres_ = yeni_adres;
        dinleyici_.kaynak_degisti(true);
        if (!gezinti_mi(kimlik))
            return;
    }
    dinleyici_.icerik_yukleniyor();
    if (!dinleyici_.kapali_mi())
        gecmisi_oku();
}

void Gezintiler::belge_icinde_gezindi(const NavigatedWithinDocument& p)
{
    if (p.frameId != cerceve_)
        return;
    std::wstring yeni_adres = hostun_adresi(p.url);
    if (yeni_adres != adres_) {
        adres_ = yeni_adres;
        dinleyici_.kaynak_degisti(false);
    }
    if (!dinleyici_.kapali_mi())
        gecmisi_oku();
}

void Gezintiler::cerceve_durdu(const FrameStoppedLoading& p)
{
    if (p.frameId != cerceve_)
        return;
    if (bos_sayfa_yukleniyor_) {
        bos_sayfa_yukleniyor_ = false;
        if (metin_)
            belge_icerigini_koy(metin_->html, metin_);
        return;
    }
    if (!gezinti_)
        return;
    if (ayrilma_soruluyor_ && !gezinti_->belgede) {
        // The user stayed: the engine stops the navigation before it says that the
        // question is closed.
        ayrilmadan_vazgecildi();
        return;
    }
    if (gecmis_eskidi_ && !gecmis_okunuyor_)
        gecmisi_oku();
    if (gecmis_okunuyor_)
        tamamlanma_bekliyor_ = true;
    else
        tamamla();
}

// A page asks before it is left. A navigation to an address the engine does not
// hold in Fetch has been raised as starting already; when the user stays, the
// engine drops it without another event, so it completes here as canceled. One
// held in Fetch never started, and one whose document is in goes on loading.
void Gezintiler::diyalog_acildi(const JavascriptDialogOpening& p)
{
    ayrilma_soruluyor_ = p.type == "beforeunload";
}

void Gezintiler::diyalog_kapandi(const JavascriptDialogClosed& p)
{
    if (ayrilma_soruluyor_ && !p.result)
        ayrilmadan_vazgecildi();
    ayrilma_soruluyor_ = false;
}

void Gezintiler::ayrilmadan_vazgecildi()
{
    if (!gezinti_ || gezinti_->belgede)
        return;
    UINT64 kimlik = gezinti_->kimlik;
    gezinti_.reset();
    iptali_teslim_et(kimlik);
}

// ---------------------------------------------------------------------------
// The navigation under way.

// A new navigation ends the one under way: one whose load had stopped completes as
// it went, any other as canceled.
void Gezintiler::eski_gezintiyi_bitir()
{
    if (!gezinti_)
        return;
    std::unique_ptr<Gezinti> eski = std::move(gezinti_);
    bool basarili = eski->bitti && !eski->basarisiz;
    dinleyici_.tamamlandi(basarili,
                          basarili     ? COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN
                          : eski->bitti ? eski->durum
                                        : COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED,
                          eski->kimlik);
}

void Gezintiler::yeni_gezinti_baslat()
{
    ilk_belgede_ = false;
    eski_gezintiyi_bitir();
    gezinti_.reset(new Gezinti());
    gezinti_->kimlik = ++g_sonraki_gezinti;
}

bool Gezintiler::baslamayi_yay(const std::wstring& hedef_adres, bool yonlendirme, UINT64 kimlik, bool kullanici)
{
    return dinleyici_.basliyor(hedef_adres, yonlendirme, kimlik, kullanici);
}

bool Gezintiler::gezinti_mi(UINT64 kimlik) const
{
    return !dinleyici_.kapali_mi() && gezinti_ && gezinti_->kimlik == kimlik;
}

bool Gezintiler::kullanici_mi()
{
    bool kullanici = !kendi_gezintimiz_;
    kendi_gezintimiz_ = false;
    return kullanici;
}

void Gezintiler::iptali_teslim_et(UINT64 kimlik)
{
    giden_.sonra([this, kimlik] {
        dinleyici_.tamamlandi(false, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED, kimlik);
    });
}

// The load stopped: the title is read first, so that a host that looks at the
// title when the navigation completes finds the new page's.
void Gezintiler::tamamla()
{
    if (!gezinti_ || gezinti_->bitti)
        return;
    gezinti_->bitti = true;
    UINT64 kimlik = gezinti_->kimlik;
    dinleyici_.basligi_oku(
        [this, kimlik] {
            if (!gezinti_mi(kimlik))
                return;
            std::unique_ptr<Gezinti> biten = std::move(gezinti_);
            dinleyici_.tamamlandi(!biten->basarisiz,
                                  biten->basarisiz ? biten->durum : COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN, kimlik);
        },
        true);
}

// ---------------------------------------------------------------------------
// History.

// The history entry `adim` steps from the current one, or null; the target's empty
// first entry does not count.
const GecmisKaydi* Gezintiler::gecmis_kaydi(int adim) const
{
    int64_t sira = gecmis_.currentIndex + adim;
    if (sira < 0 || sira >= static_cast<int64_t>(gecmis_.entries.size()))
        return nullptr;
    if (gecmis_.entries[sira].id == ilk_kayit_)
        return nullptr;
    return &gecmis_.entries[sira];
}

// The target's empty first entry, read at set-up, can still be the engine's entry
// from before its about:blank committed (no address, an id of its own); once that
// entry is gone, the blank entry that took its place at the start is the empty one.
void Gezintiler::ilk_kaydi_izle()
{
    if (ilk_kayit_ < 0 || gecmis_.entries.empty())
        return;
    for (const GecmisKaydi& kayit : gecmis_.entries)
        if (kayit.id == ilk_kayit_)
            return;
    const std::string& ilk = gecmis_.entries[0].url;
    ilk_kayit_ = ilk.empty() || ilk == "about:blank" ? gecmis_.entries[0].id : -1;
}

// Reads the history again after a commit; history changed follows when it differs,
// and a completion that arrived meanwhile waits for it, to keep the order.
void Gezintiler::gecmisi_oku()
{
    gecmis_okunuyor_ = true;
    giden_.gonder(GetNavigationHistory{}, [this](const Json& sonuc, const Json* hata) {
        gecmis_okunuyor_ = false;
        // Right after a commit that changed the page's renderer the engine may answer
        // "Not attached to an active page"; the stop of the load reads again.
        Gecmis yeni;
        bool okundu = !hata && oku(sonuc, &yeni);
        gecmis_eskidi_ = !okundu;
        if (okundu && yeni != gecmis_) {
            gecmis_ = std::move(yeni);
            ilk_kaydi_izle();
            dinleyici_.gecmis_degisti();
        }
        if (dinleyici_.kapali_mi())
            return;
        metin_kaydini_geri_getir();
        if (tamamlanma_bekliyor_) {
            tamamlanma_bekliyor_ = false;
            tamamla();
        }
    });
}

// Going back or forward to an entry that held a text document: the engine keeps
// only an empty about:blank there, so the text is put back.
void Gezintiler::metin_kaydini_geri_getir()
{
    if (metin_ || adres_ != L"about:blank")
        return;
    const GecmisKaydi* kayit = gecmis_kaydi(0);
    if (!kayit)
        return;
    auto bulunan = metin_kayitlari_.find(kayit->id);
    if (bulunan != metin_kayitlari_.end())
        belge_icerigini_koy(bulunan->second, nullptr);
}

// ---------------------------------------------------------------------------
// Text documents.

bool Gezintiler::metin_mi(UINT64 kimlik) const
{
    return !dinleyici_.kapali_mi() && metin_ && metin_->kimlik == kimlik;
}

void Gezintiler::bekleyen_metni_birak()
{
    if (!bekleyen_metin_)
        return;
    iptali_teslim_et(bekleyen_metin_->kimlik);
    bekleyen_metin_.reset();
}

void Gezintiler::metin_baslat(std::shared_ptr<MetinYuklemesi> yukleme)
{
    if (dinleyici_.kapali_mi() || bekleyen_metin_ != yukleme)
        return;
    bekleyen_metin_.reset();
    eski_gezintiyi_bitir();
    if (metin_)
        dinleyici_.tamamlandi(false, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED, metin_->kimlik);
    metin_ = yukleme;
    if (!metin_mi(yukleme->kimlik))
        return;
    bool devam = baslamayi_yay(L"about:blank", false, yukleme->kimlik, false);
    if (!metin_mi(yukleme->kimlik))
        return;
    if (!devam) {
        metin_.reset();
        dinleyici_.tamamlandi(false, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED, yukleme->kimlik);
        return;
    }
    dinleyici_.yukleme_basliyor();
    if (ilk_belgede_) {
        // The target's first, empty document (set up, never navigated) takes the text
        // at once: its entry then stays in the history like any page's.
        ilk_belgede_ = false;
        ilk_kayit_ = -1;
        belge_icerigini_koy(yukleme->html, yukleme);
        return;
    }
    // Anywhere else a navigation of its own, so that the text gets an entry of its
    // own and Back returns to the page before.
    bos_sayfa_yukleniyor_ = true;
    yuklemeyi_gonder(Navigate{"about:blank"});
}

// Puts a text document into the loaded about:blank. With `yukleme` (a load of our
// own) the events of a new document follow; without, it is a history entry coming
// back and only its title is read.
void Gezintiler::belge_icerigini_koy(const std::string& html, std::shared_ptr<MetinYuklemesi> yukleme)
{
    ++icerik_yolda_;
    giden_.gonder(SetDocumentContent{cerceve_, html}, [this, yukleme](const Json&, const Json* hata) {
        if (--icerik_yolda_ == 0 && ertelenen_yukleme_) {
            auto yukleme_komutu = std::move(ertelenen_yukleme_);
            ertelenen_yukleme_ = nullptr;
            yukleme_komutu();
        }
        if (!yukleme) {
            dinleyici_.basligi_oku(nullptr, true);
            return;
        }
        if (metin_ == yukleme)
            metin_yuklendi(*yukleme, hata == nullptr);
    });
}

void Gezintiler::metin_yuklendi(const MetinYuklemesi& yukleme, bool basarili)
{
    UINT64 kimlik = yukleme.kimlik;
    std::string html = yukleme.html;
    adres_ = L"about:blank";
    dinleyici_.kaynak_degisti(true);
    if (!metin_mi(kimlik))
        return;
    dinleyici_.icerik_yukleniyor();
    if (!metin_mi(kimlik))
        return;
    // The history is read first, so that the entry can keep its text and the order
    // stays that of any other document.
    giden_.gonder(GetNavigationHistory{}, [this, kimlik, html, basarili](const Json& sonuc, const Json* hata) {
        if (!metin_mi(kimlik))
            return;
        Gecmis yeni;
        if (!hata && oku(sonuc, &yeni)) {
            gecmis_ = std::move(yeni);
            ilk_kaydi_izle();
            if (const GecmisKaydi* kayit = gecmis_kaydi(0))
                metin_kayitlari_[kayit->id] = html;
            dinleyici_.gecmis_degisti();
            if (!metin_mi(kimlik))
                return;
        }
        dinleyici_.basligi_oku(
            [this, kimlik, basarili] {
                if (!metin_mi(kimlik))
                    return;
                metin_.reset();
                dinleyici_.tamamlandi(basarili,
                                      basarili ? COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN
                                               : COREWEBVIEW2_WEB_ERROR_STATUS_UNEXPECTED_ERROR,
                                      kimlik);
            },
            true);
    });
}
