// The protocol calls the host may make (see protokol_cagrilari.h).
#include "protokol_cagrilari.h"
#include "motor_ic.h"

#include <initializer_list>

using namespace protokol;

namespace {

// A parameter a method takes, and the JSON kind its value must be.
struct Alan {
    const char* ad;
    Json::value_t tur;
};

bool turu_uyar(const Json& deger, Json::value_t tur)
{
    if (tur == Json::value_t::number_integer)
        return deger.is_number_integer();
    return deger.type() == tur;
}

// Copies `istek` to `cikti` when every parameter in it is on `izinli`, of its kind.
bool alanlari_al(const Json& istek, std::initializer_list<Alan> izinli, Json& cikti)
{
    cikti = Json::object();
    for (const auto& [ad, deger] : istek.items()) {
        const Alan* bulunan = nullptr;
        for (const Alan& alan : izinli)
            if (ad == alan.ad)
                bulunan = &alan;
        if (!bulunan || !turu_uyar(deger, bulunan->tur))
            return false;
        cikti[ad] = deger;
    }
    return true;
}

constexpr Json::value_t METIN = Json::value_t::string;
constexpr Json::value_t SAYI = Json::value_t::number_integer;
constexpr Json::value_t MANTIK = Json::value_t::boolean;
constexpr Json::value_t DIZI = Json::value_t::array;

// A script may run only in a world the host made through these calls, and the page
// gets no user activation from it: a gesture asked for refuses the call.
bool host_dunyasinda_mi(const Json& cikti, const char* baglam_alani, const YardimciBaglam& dunyalar)
{
    auto baglam = cikti.find(baglam_alani);
    if (baglam == cikti.end() || !dunyalar.icinde_mi(baglam->get<int64_t>()))
        return false;
    return !cikti.value("userGesture", false);
}

bool cerceve_agaci(const Json& istek, Json& cikti, const YardimciBaglam&)
{
    return alanlari_al(istek, {}, cikti);
}

bool dunya_olustur(const Json& istek, Json& cikti, const YardimciBaglam&)
{
    if (!alanlari_al(istek, {{"frameId", METIN}, {"worldName", METIN}}, cikti))
        return false;
    // The library's helpers hold bindings of their own in their worlds.
    const std::string ad = cikti.value("worldName", std::string());
    return cikti.contains("frameId") && !ad.empty() && ad.rfind(YARDIMCI_DUNYA, 0) != 0;
}

bool degerlendir(const Json& istek, Json& cikti, const YardimciBaglam& dunyalar)
{
    if (!alanlari_al(istek,
                     {{"expression", METIN}, {"contextId", SAYI}, {"returnByValue", MANTIK},
                      {"awaitPromise", MANTIK}, {"silent", MANTIK}, {"userGesture", MANTIK}},
                     cikti))
        return false;
    return cikti.contains("expression") && host_dunyasinda_mi(cikti, "contextId", dunyalar);
}

bool duz_arguman_mi(const Json& arguman)
{
    if (!arguman.is_object())
        return false;
    for (const auto& [ad, deger] : arguman.items())
        if (ad != "value" && !(ad == "unserializableValue" && deger.is_string()))
            return false;
    return true;
}

bool islev_cagir(const Json& istek, Json& cikti, const YardimciBaglam& dunyalar)
{
    if (!alanlari_al(istek,
                     {{"functionDeclaration", METIN}, {"executionContextId", SAYI}, {"arguments", DIZI},
                      {"returnByValue", MANTIK}, {"awaitPromise", MANTIK}, {"silent", MANTIK},
                      {"userGesture", MANTIK}},
                     cikti))
        return false;
    // Plain values only: an object's id could name one of the page's own world.
    for (const Json& arguman : cikti.value("arguments", Json::array()))
        if (!duz_arguman_mi(arguman))
            return false;
    return cikti.contains("functionDeclaration") && host_dunyasinda_mi(cikti, "executionContextId", dunyalar);
}

bool anlik_goruntu(const Json& istek, Json& cikti, const YardimciBaglam&)
{
    return alanlari_al(istek, {{"format", METIN}}, cikti) && cikti.value("format", std::string("mhtml")) == "mhtml";
}

struct IzinliYontem {
    const char* ad;
    bool (*suzgec)(const Json& istek, Json& cikti, const YardimciBaglam& dunyalar);
};

const IzinliYontem IZINLI[] = {
    {"Page.getFrameTree", cerceve_agaci},
    {"Page.createIsolatedWorld", dunya_olustur},
    {"Runtime.evaluate", degerlendir},
    {"Runtime.callFunctionOn", islev_cagir},
    {"Page.captureSnapshot", anlik_goruntu},
};

std::wstring json_metni(const Json& deger)
{
    return utf8_den(deger.dump(-1, ' ', false, Json::error_handler_t::replace));
}

}  // namespace

HRESULT ProtokolCagrilari::cagir(const std::string& yontem, const std::string& parametreler,
                                 ICoreWebView2CallDevToolsProtocolMethodCompletedHandler* isleyici)
{
    const IzinliYontem* izinli = nullptr;
    for (const IzinliYontem& aday : IZINLI)
        if (yontem == aday.ad)
            izinli = &aday;
    if (!izinli)
        return E_ACCESSDENIED;
    Json istek = Json::parse(parametreler, nullptr, false);
    if (!istek.is_object())
        return E_INVALIDARG;
    Json gidecek;
    if (!izinli->suzgec(istek, gidecek, dunyalar_))
        return E_ACCESSDENIED;
    const bool dunya_mi = izinli->suzgec == dunya_olustur;
    ComPtr<ICoreWebView2CallDevToolsProtocolMethodCompletedHandler> tamamlayici(isleyici);
    giden_.gonder(izinli->ad, std::move(gidecek),
                  [this, tamamlayici, dunya_mi](const Json& sonuc, const Json* hata) {
                      if (hata) {
                          if (tamamlayici)
                              tamamlayici->Invoke(E_FAIL, json_metni(*hata).c_str());
                          return;
                      }
                      // Scripts may run in this world from now on, until the engine ends it.
                      CreateIsolatedWorldYaniti dunya;
                      if (dunya_mi && oku(sonuc, &dunya) && dunya.executionContextId)
                          dunyalar_.ekle(dunya.executionContextId);
                      if (tamamlayici)
                          tamamlayici->Invoke(S_OK, json_metni(sonuc).c_str());
                  });
    return S_OK;
}
