// Web view runtime: asking a page whether it may close, as a browser asks before it
// closes a tab. The engine's interface can close a view but not ask its page, so the
// view is sent to an empty page instead: the engine asks a page that wants to be
// asked before it is left ("Leave" or "Stay"), and a page that does not is left at
// once. Reaching the empty page is the page's yes, reported as a close request; a
// navigation that completes without reaching it is a no, and the page stays as it
// was. While it is being asked the program keeps seeing the page as it was, so the
// empty page never shows in an address entry, a title or a list of closed tabs.
#include "webview/webgorunum_win_cz.h"

#include <cstdlib>
#include <cwchar>

#include "webview/webgorunum_ic.h"

namespace {

constexpr wchar_t kBosSayfa[] = L"about:blank";

bool bos_sayfa_mi(LPWSTR adres) { return adres != nullptr && std::wcscmp(adres, kBosSayfa) == 0; }

}  // namespace

void kapanis_sorusunu_birak(Gorunum& kayit) {
    std::free(kayit.kapanis_adresi);
    std::free(kayit.kapanis_basligi);
    kayit.kapanis_adresi = nullptr;
    kayit.kapanis_basligi = nullptr;
    kayit.kapanis_soruluyor = 0;
    kayit.kapanis_gezintisi = 0;
}

// The first navigation to the empty page after the asking is the one that answers.
// Another one starting before it is one that was under way already (the engine
// tells of it late); one starting after it means the page went on elsewhere (the
// user stayed, on an engine that said nothing of it, then followed a link): the
// asking is over.
void kapanis_gezintisi_basladi(Gorunum& kayit, ICoreWebView2NavigationStartingEventArgs* argumanlar) {
    if (kayit.kapanis_soruluyor == 0 || argumanlar == nullptr) return;
    LPWSTR adres = nullptr;
    argumanlar->get_Uri(&adres);
    const bool bos = bos_sayfa_mi(adres);
    CoTaskMemFree(adres);
    if (kayit.kapanis_gezintisi != 0) {
        if (!bos) kapanis_sorusunu_birak(kayit);
        return;
    }
    if (!bos) return;
    UINT64 kimlik = 0;
    argumanlar->get_NavigationId(&kimlik);
    kayit.kapanis_gezintisi = kimlik != 0 ? kimlik : UINT64(-1);
}

// The empty page's navigation completing answers: reached, the page agreed; not
// reached, it stays. A completion of another navigation (one under way when the
// asking began ends as canceled) answers nothing.
void kapanis_gezintisi_bitti(Gorunum& kayit, ICoreWebView2NavigationCompletedEventArgs* argumanlar) {
    if (kayit.kapanis_soruluyor == 0 || kayit.kapanis_gezintisi == 0 || argumanlar == nullptr) return;
    UINT64 kimlik = 0;
    argumanlar->get_NavigationId(&kimlik);
    if (kimlik != kayit.kapanis_gezintisi && kayit.kapanis_gezintisi != UINT64(-1)) return;
    BOOL basarili = FALSE;
    argumanlar->get_IsSuccess(&basarili);
    if (basarili != FALSE) {
        kayit.kapatma_istendi = 1;  // the asking stays on until the view is closed
    } else {
        kapanis_sorusunu_birak(kayit);
    }
}

int64_t _tr_webgorunum_kapanmayi_sor(int64_t view) noexcept {
    Gorunum* kayit = gorunum_bul(view);
    if (kayit == nullptr || kayit->webview == nullptr) return -1;
    if (kayit->kapanis_soruluyor != 0) return 1;
    // Taken before the asking starts: from then on these queries give them back.
    const TrMetin adres = _tr_webgorunum_adres_al(view);
    const TrMetin baslik = _tr_webgorunum_baslik_al(view);
    if (adres.ptr == nullptr || baslik.ptr == nullptr) {
        std::free(adres.ptr);
        std::free(baslik.ptr);
        return -1;
    }
    // Set before the call: an engine may raise the navigation's start inside it.
    kayit->kapanis_soruluyor = 1;
    kayit->kapanis_gezintisi = 0;
    kayit->kapanis_adresi = adres.ptr;
    kayit->kapanis_basligi = baslik.ptr;
    if (FAILED(kayit->webview->Navigate(kBosSayfa))) {
        kapanis_sorusunu_birak(*kayit);
        return -1;
    }
    return 0;
}
