// Print and save: Ctrl+P (and the menu's Print...) writes the selected page as a
// PDF, Ctrl+S (and Save page as...) as one MHTML file. Each asks where with the
// system's save dialog, proposing "<Downloads>\<title>.pdf" or ".mhtml" (the title
// made a safe file name as a download's is), then asks the web view runtime to
// write there and says in the status bar how it ended: written, or why not (no
// room, a folder that cannot be written, the engine failed, an engine that cannot
// save a page at all, as the stand-in cannot). The runtime writes whole files only,
// so a failure never leaves a partial file under the chosen name.
//
// A page's own window.print() never comes here: the engine shows its own save
// dialog for it, as the platform engine shows its print dialog.
//
// For tests: KORVA_KAYIT_YOLU, when set, is the full path to write, and no dialog
// is shown.
#include "korva.h"

#include <windows.h>

#include <string>
#include <vector>

#include "kayit_diyalogu.h"
#include "tarayici_ic.h"
#include "webview/webgorunum_win_cz.h"
#include "widgets/arayuz_win_cz.h"

namespace {

enum class KayitTuru { pdf, mhtml };

// Constant data per kind.
struct TurBilgisi {
    const wchar_t* uzanti;
    const wchar_t* tur_adi;
    const char* basladi;  // "... yaziliyor: name"
    const char* bitti;    // "... kaydedildi: name"
    const char* desteksiz;
};
const TurBilgisi kTurler[] = {
    {L".pdf", L"PDF belgesi", "PDF yaziliyor: ", "PDF kaydedildi: ", "Bu web motoru PDF yazdiramiyor"},
    {L".mhtml", L"Web arsivi (MHTML)", "Sayfa kaydediliyor: ", "Sayfa kaydedildi: ",
     "Bu web motoruyla sayfa kaydedilemiyor"},
};

const TurBilgisi& bilgi(KayitTuru tur) { return kTurler[static_cast<int>(tur)]; }

// A request still running: its view, kind and file name. A view has one at most
// (its latest); a closed view's ends with it.
struct BekleyenKayit {
    int64_t gorunum;
    KayitTuru tur;
    std::string ad;
};
std::vector<BekleyenKayit> bekleyenler;

std::string utf8(const std::wstring& metin) {
    if (metin.empty()) return std::string();
    const int boy = WideCharToMultiByte(CP_UTF8, 0, metin.data(), static_cast<int>(metin.size()), nullptr, 0,
                                        nullptr, nullptr);
    std::string sonuc(static_cast<size_t>(boy > 0 ? boy : 0), '\0');
    if (boy > 0)
        WideCharToMultiByte(CP_UTF8, 0, metin.data(), static_cast<int>(metin.size()), sonuc.data(), boy, nullptr,
                            nullptr);
    return sonuc;
}

std::wstring genis(const std::string& metin) {
    if (metin.empty()) return std::wstring();
    const int boy = MultiByteToWideChar(CP_UTF8, 0, metin.data(), static_cast<int>(metin.size()), nullptr, 0);
    std::wstring sonuc(static_cast<size_t>(boy > 0 ? boy : 0), L'\0');
    if (boy > 0) MultiByteToWideChar(CP_UTF8, 0, metin.data(), static_cast<int>(metin.size()), sonuc.data(), boy);
    return sonuc;
}

// Where to write: the test's path, or the user's choice (empty: canceled).
std::wstring yolu_sor(int64_t view, KayitTuru tur) {
    wchar_t test_yolu[MAX_PATH * 4];
    const DWORD boy = GetEnvironmentVariableW(L"KORVA_KAYIT_YOLU", test_yolu, MAX_PATH * 4);
    if (boy > 0 && boy < MAX_PATH * 4) return test_yolu;
    const std::wstring baslik = genis(korva::al_ve_birak(_tr_webgorunum_baslik_al(view)));
    const HWND sahip = GetAncestor(_tr_arayuz_widget_al_hwnd(adres_girisi), GA_ROOT);
    std::wstring yol;
    if (!kayit_yolu_sor(sahip, baslik, bilgi(tur).uzanti, bilgi(tur).tur_adi, &yol)) return std::wstring();
    return yol;
}

std::string dosya_adi(const std::wstring& yol) { return utf8(yol.substr(yol.find_last_of(L"\\/") + 1)); }

void kaydet(KayitTuru tur) {
    const int64_t view = korva::secili_webgorunum();
    if (view < 0) {
        korva::bildir("Kaydedilecek sayfa yok");
        return;
    }
    const std::wstring yol = yolu_sor(view, tur);
    if (yol.empty()) return;
    const std::string yol_metni = utf8(yol);
    const int64_t sonuc = tur == KayitTuru::pdf
                              ? _tr_webgorunum_pdf_yazdir(view, yol_metni.data(), static_cast<int64_t>(yol_metni.size()))
                              : _tr_webgorunum_mhtml_kaydet(view, yol_metni.data(), static_cast<int64_t>(yol_metni.size()));
    if (sonuc != 0) {
        korva::bildir("Kaydedilemedi: " + dosya_adi(yol));
        return;
    }
    for (auto it = bekleyenler.begin(); it != bekleyenler.end(); ++it) {
        if (it->gorunum == view) {
            bekleyenler.erase(it);
            break;
        }
    }
    bekleyenler.push_back({view, tur, dosya_adi(yol)});
    korva::bildir(bilgi(tur).basladi + dosya_adi(yol));
}

// What the status bar says of a request that ended.
std::string son_metni(const BekleyenKayit& kayit, int64_t bitti) {
    if (bitti == 1) return bilgi(kayit.tur).bitti + kayit.ad;
    switch (_tr_webgorunum_kayit_hatasi(kayit.gorunum)) {
        case TR_WEBGORUNUM_KAYIT_DESTEKSIZ: return bilgi(kayit.tur).desteksiz;
        case TR_WEBGORUNUM_KAYIT_YER_YOK: return "Kaydedilemedi, diskte yer yok: " + kayit.ad;
        case TR_WEBGORUNUM_KAYIT_YAZILAMIYOR: return "Kaydedilemedi, klasore yazilamiyor: " + kayit.ad;
        case TR_WEBGORUNUM_KAYIT_DOSYA: return "Kaydedilemedi, dosya yazilamadi: " + kayit.ad;
        default: return "Kaydedilemedi, web motoru sayfayi veremedi: " + kayit.ad;
    }
}

}  // namespace

namespace korva {

void sayfayi_yazdir() { kaydet(KayitTuru::pdf); }

void sayfayi_kaydet() { kaydet(KayitTuru::mhtml); }

void kayitlari_denetle() {
    for (size_t i = 0; i < bekleyenler.size();) {
        const int64_t bitti = _tr_webgorunum_kayit_bitti_mi(bekleyenler[i].gorunum);
        if (bitti == 0) {
            ++i;
            continue;
        }
        bildir(son_metni(bekleyenler[i], bitti));
        bekleyenler.erase(bekleyenler.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

}  // namespace korva
