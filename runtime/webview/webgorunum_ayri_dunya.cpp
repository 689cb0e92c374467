// Web view runtime, scripts out of the page's reach (_tr_webgorunum_js_ayri_calistir):
// a script of the program runs in a world of the runtime's own in the page's top
// document. That world shares the document with the page but none of its scripts'
// globals or prototypes: the page can neither see the script nor change what it
// calls, and it is run without a user gesture, so the page gains no user activation
// from it.
//
// It goes through the engine's protocol (ICoreWebView2::CallDevToolsProtocolMethod)
// in three steps, each started by the answer to the one before: the top frame's id
// (Page.getFrameTree), that frame's world named kDunyaAdi (Page.createIsolatedWorld:
// the same world, with what its scripts left there, for every call within one
// document), and the script there (Runtime.evaluate). A step whose request is no
// longer the view's latest goes no further. The result is kept as
// _tr_webgorunum_js_sonuclu_calistir keeps its own (webgorunum_sayfa.cpp).
#include "webview/webgorunum_win_cz.h"

#include <cstdlib>
#include <string>

#include <nlohmann/json.hpp>

#include "tr_metin_sinir.h"
#include "webview/webgorunum_ic.h"

namespace {

using Json = nlohmann::json;

constexpr char kDunyaAdi[] = "korva_calisma_dunyasi";

enum class Adim { cerceve, dunya, betik };

// One step's state: the request it serves, which step answered, and the script.
struct AyriBetik {
    BetikIstegi istek;
    Adim adim;
    std::string betik;
};
using AyriBetikIsleyicisi = KomIsleyici<ICoreWebView2CallDevToolsProtocolMethodCompletedHandler, AyriBetik,
                                        HRESULT, LPCWSTR>;

HRESULT adim_bitti(AyriBetik& is, HRESULT kod, LPCWSTR json);

// Sends one step; false when the engine refused it (the stand-in has no protocol).
bool adimi_gonder(ICoreWebView2* webview, AyriBetik is, const char* yontem, const Json& parametreler) {
    const std::string metin = parametreler.dump(-1, ' ', false, Json::error_handler_t::replace);
    GenisMetin yontem_metni(yontem, static_cast<int64_t>(std::char_traits<char>::length(yontem)));
    GenisMetin parametre_metni(metin.data(), static_cast<int64_t>(metin.size()));
    if (!yontem_metni.gecerli() || !parametre_metni.gecerli()) return false;
    Microsoft::WRL::ComPtr<AyriBetikIsleyicisi> isleyici = AyriBetikIsleyicisi::olustur(&adim_bitti, std::move(is));
    if (!isleyici) return false;
    return SUCCEEDED(webview->CallDevToolsProtocolMethod(yontem_metni.c_str(), parametre_metni.c_str(),
                                                        isleyici.Get()));
}

// The answer of a step as JSON; a discarded value when the step failed.
Json cevabi_coz(HRESULT kod, LPCWSTR json) {
    if (FAILED(kod) || json == nullptr) return Json(Json::value_t::discarded);
    const TrMetin metin = utf8_metin(json, -1, false);
    if (metin.ptr == nullptr) return Json(Json::value_t::discarded);
    Json deger = Json::parse(metin.ptr, metin.ptr + metin.len, nullptr, false);
    std::free(metin.ptr);
    return deger;
}

// A failed step ends the request with "null", as a failed script does.
HRESULT basarisiz(AyriBetik& is) { return betik_sonucunu_kaydet(is.istek, E_FAIL, nullptr); }

HRESULT adimi_isle(AyriBetik& is, HRESULT kod, LPCWSTR json) {
    ICoreWebView2* webview = gorunum_bul(is.istek.gorunum)->webview;
    const Json cevap = cevabi_coz(kod, json);
    if (!cevap.is_object()) return basarisiz(is);
    AyriBetik sonraki = is;
    if (is.adim == Adim::cerceve) {
        const Json* kimlik = &cevap;
        for (const char* ad : {"frameTree", "frame", "id"}) {
            kimlik = kimlik->is_object() && kimlik->contains(ad) ? &(*kimlik)[ad] : nullptr;
            if (kimlik == nullptr) return basarisiz(is);
        }
        if (!kimlik->is_string()) return basarisiz(is);
        sonraki.adim = Adim::dunya;
        if (!adimi_gonder(webview, std::move(sonraki), "Page.createIsolatedWorld",
                          Json{{"frameId", *kimlik}, {"worldName", kDunyaAdi}}))
            return basarisiz(is);
        return S_OK;
    }
    if (is.adim == Adim::dunya) {
        const auto baglam = cevap.find("executionContextId");
        if (baglam == cevap.end() || !baglam->is_number_integer()) return basarisiz(is);
        sonraki.adim = Adim::betik;
        const Json parametreler = {{"expression", is.betik}, {"contextId", *baglam}, {"returnByValue", true}};
        if (!adimi_gonder(webview, std::move(sonraki), "Runtime.evaluate", parametreler)) return basarisiz(is);
        return S_OK;
    }
    // The script's value; a throw, or a value JSON cannot carry, reads as null.
    std::string sonuc = "null";
    const auto deger = cevap.find("result");
    if (!cevap.contains("exceptionDetails") && deger != cevap.end() && deger->is_object() &&
        deger->contains("value"))
        sonuc = (*deger)["value"].dump(-1, ' ', false, Json::error_handler_t::replace);
    GenisMetin genis(sonuc.data(), static_cast<int64_t>(sonuc.size()));
    return betik_sonucunu_kaydet(is.istek, S_OK, genis.gecerli() ? genis.c_str() : nullptr);
}

// Nothing thrown (memory running short) gets out to the engine.
HRESULT adim_bitti(AyriBetik& is, HRESULT kod, LPCWSTR json) {
    if (!son_betik_istegi_mi(is.istek)) return S_OK;
    try {
        return adimi_isle(is, kod, json);
    } catch (...) {
        return basarisiz(is);
    }
}

}  // namespace

int64_t _tr_webgorunum_js_ayri_calistir(int64_t view, const char* script, int64_t length) noexcept {
    Gorunum* kayit = gorunum_bul(view);
    if (kayit == nullptr || kayit->webview == nullptr) return -1;
    try {
        std::string betik = script != nullptr && length > 0 ? std::string(script, static_cast<size_t>(length)) : "";
        AyriBetik is = {betik_istegi_baslat(*kayit, view), Adim::cerceve, std::move(betik)};
        return adimi_gonder(kayit->webview, std::move(is), "Page.getFrameTree", Json::object()) ? 0 : -1;
    } catch (...) {
        return -1;
    }
}
