// A page's navigations and history: what the host asks (go to an address, load a
// text, back, forward, reload, stop), and the engine's events that become the
// interface's starting, committed and completed events.
//
//   Fetch.requestPaused (main frame)     -> starting; the answer continues or fails
//                                           the request (cancel)
//   Page.frameStartedNavigating          -> starting, for addresses the Fetch domain
//                                           never holds (about:, data:)
//   Page.frameNavigated (main frame)     -> source changed (not for a reload), content
//                                           loading, then history changed once the
//                                           history has been read again
//   Network.responseReceived (the        -> the navigation no longer waits for the
//     document)                             network (see agi_bekliyor)
//   Network.loadingFailed (the document) -> the navigation failed, with its status
//   Page.frameStoppedLoading             -> completed (after history changed, and once
//                                           the view has read the new title)
//   Page.frameStoppedLoading or          -> a navigation not yet committed completes
//     Page.javascriptDialogClosed, while    as canceled: the engine goes no further
//     the user stays on a page that asked
// A text document loads about:blank, replaces its content and raises the events
// itself, since the engine raises none for that.
//
// Every step checks that the view is still open and the navigation still the
// current one afterwards, because any handler may close the view or navigate
// elsewhere.
#pragma once

#include "giden.h"

#include <windows.h>

#include "wv2_arayuz.h"

#include <map>
#include <memory>
#include <string>

// What the navigations hand back to the view.
class GezintiDinleyicisi {
public:
    // True when the navigation may go on (no handler canceled it).
    virtual bool basliyor(const std::wstring& adres, bool yonlendirme, UINT64 kimlik, bool kullanici) = 0;
    virtual void kaynak_degisti(bool yeni_belge) = 0;
    virtual void icerik_yukleniyor() = 0;
    virtual void gecmis_degisti() = 0;
    virtual void tamamlandi(bool basarili, COREWEBVIEW2_WEB_ERROR_STATUS durum, UINT64 kimlik) = 0;
    // The document changed: the view reads its title, then runs `sonra` (if any)
    // while it is still open. `yeni_belge`: a new document (a navigation's, or a
    // text put into the one there), whose title its own script may have reported
    // already.
    virtual void basligi_oku(std::function<void()> sonra, bool yeni_belge) = 0;
    // A load goes out, or a document commits: a page whose process died is back.
    virtual void yukleme_basliyor() = 0;
    virtual bool kapali_mi() const = 0;

protected:
    ~GezintiDinleyicisi() = default;
};

class Gezintiler {
public:
    // `cerceve`: the page's main frame id, which is its target's id. `adres`: the
    // address reported until the first navigation (a page moved to a fresh target
    // keeps the one it had, and its first text gets a navigation of its own).
    Gezintiler(Giden& giden, GezintiDinleyicisi& dinleyici, std::string cerceve,
               std::wstring adres = L"about:blank");
    ~Gezintiler();

    // Reads the history as the target was made (its first, empty entry is no page
    // to go back to) while the target is set up; the answer then reaches `yanit`.
    // Returns how many answers to wait for.
    int kur(const Giden::Yanit& yanit);

    // ---- What the host asks.
    // `kullanici`: the page follows a link itself (a new window nobody opened).
    void git(const std::wstring& adres, bool kullanici = false);
    // Later, from the message loop, as every event; E_INVALIDARG for a text too large.
    HRESULT metin_yukle(std::string html);
    void gecmise_git(int adim);
    void yenile();
    void durdur();
    // The page's process died: what was under way is dropped without events.
    void surec_oldu();
    // A request's certificate was refused: the navigation under way, if its document
    // fails as the refusal makes it (aborted), fails with `durum` instead.
    void sertifika_reddedildi(COREWEBVIEW2_WEB_ERROR_STATUS durum);

    // ---- From the engine. True when the event was one of these.
    bool olay(const std::string& yontem, const Json& parametreler);

    const std::wstring& adres() const { return adres_; }
    // The navigation under way waits for the network: its document's request went
    // out, and neither its response nor a failure has come. Such a page is slow, not
    // hung: the engine itself ends a request that takes too long.
    bool agi_bekliyor() const;
    bool gidebilir_mi(int adim) const { return gecmis_kaydi(adim) != nullptr; }

private:
    struct Gezinti;
    struct MetinYuklemesi;

    void istek_durdu(const protokol::RequestPaused& olay);
    void cerceve_gezinmeye_basladi(const protokol::FrameStartedNavigating& olay);
    void istek_gidiyor(const protokol::RequestWillBeSent& olay);
    void belge_yaniti_geldi(const protokol::ResponseReceived& olay);
    void yukleme_basarisiz(const protokol::LoadingFailed& olay);
    void cerceve_gezindi(const protokol::FrameNavigated& olay);
    void belge_icinde_gezindi(const protokol::NavigatedWithinDocument& olay);
    void cerceve_durdu(const protokol::FrameStoppedLoading& olay);
    void diyalog_acildi(const protokol::JavascriptDialogOpening& olay);
    void diyalog_kapandi(const protokol::JavascriptDialogClosed& olay);
    void ayrilmadan_vazgecildi();

    void eski_gezintiyi_bitir();
    void yeni_gezinti_baslat();
    bool baslamayi_yay(const std::wstring& hedef_adres, bool yonlendirme, UINT64 kimlik, bool kullanici);
    bool gezinti_mi(UINT64 kimlik) const;
    bool kullanici_mi();
    void iptali_teslim_et(UINT64 kimlik);
    void tamamla();

    const protokol::GecmisKaydi* gecmis_kaydi(int adim) const;
    void ilk_kaydi_izle();
    void gecmisi_oku();
    void metin_kaydini_geri_getir();

    void bekleyen_metni_birak();
    void metin_baslat(std::shared_ptr<MetinYuklemesi> yukleme);
    void belge_icerigini_koy(const std::string& html, std::shared_ptr<MetinYuklemesi> yukleme);
    void metin_yuklendi(const MetinYuklemesi& yukleme, bool basarili);
    bool metin_mi(UINT64 kimlik) const;
    template <class Komut>
    void yuklemeyi_gonder(const Komut& komut);

    Giden& giden_;
    GezintiDinleyicisi& dinleyici_;
    const std::string cerceve_;

    std::wstring adres_ = L"about:blank";
    // After the host asked for view-source:<address>, that address in the engine's
    // terms: its frame reports it without the prefix, which the host gets back.
    std::string kaynak_adresi_;
    std::unique_ptr<Gezinti> gezinti_;
    std::shared_ptr<MetinYuklemesi> metin_;
    std::shared_ptr<MetinYuklemesi> bekleyen_metin_;   // asked for, not yet started
    bool bos_sayfa_yukleniyor_ = false;    // the about:blank a text goes into
    bool ilk_belgede_ = true;              // still on the target's first, empty document
    bool ayrilma_soruluyor_ = false;       // the page asks the user whether it may be left
    bool kendi_gezintimiz_ = false;        // the next start is the host's, not the user's
    protokol::Gecmis gecmis_;              // the last Page.getNavigationHistory
    int64_t ilk_kayit_ = -1;               // the target's empty first entry; -1: none
    std::map<int64_t, std::string> metin_kayitlari_;   // history entry id -> its text document
    bool gecmis_okunuyor_ = false;
    bool gecmis_eskidi_ = false;           // the last read failed: read again at the stop
    bool tamamlanma_bekliyor_ = false;
    int icerik_yolda_ = 0;                      // texts sent to the page, not yet answered
    std::function<void()> ertelenen_yukleme_;   // the load that waits for them
};
