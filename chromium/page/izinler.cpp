// Permissions a page asks for (see izinler.h).
#include "izinler.h"
#include "motor_ic.h"

using namespace protokol;

static const char IZIN_BAGI[] = "__korvaIzin";

// The world, one per frame, where the user's activation of a frame is read: the
// page's scripts cannot reach it, and the host cannot make a world of this name.
static const char ETKINLIK_DUNYASI[] = "__korvaEtkinlik";

// Runs in the page's own world of every document, before the page's scripts. The
// binding is taken into this closure and removed from the page's globals; each
// wrapped call asks through it with a number of its own and waits for the library
// to call __korvaIzinDevam(number), which lets the engine's own function run.
// Whether the user asked is not the page's to say: the library reads it itself.
// watchPosition answers an id at once, so it hands out ids of its own and
// clearWatch maps them to the engine's. Anything the page does to these wrappers
// harms only its own requests: the engine decides what the page gets.
static const char IZIN_BETIGI[] = R"JS((() => {
  const sor = globalThis.__korvaIzin;
  if (typeof sor !== 'function') return;
  try { delete globalThis.__korvaIzin; } catch (e) {}
  const yaz = JSON.stringify, bekleyen = new Map();
  let sira = 0;
  const iste = (turler) => new Promise((devam) => {
    const no = ++sira;
    bekleyen.set(no, devam);
    try { sor(yaz({no, turler})); } catch (e) { bekleyen.delete(no); devam(); }
  });
  try {
    Object.defineProperty(globalThis, '__korvaIzinDevam', {value: (no) => {
      const devam = bekleyen.get(no);
      if (devam) { bekleyen.delete(no); devam(); }
    }});
  } catch (e) { return; }
  const sar = (sahip, ad, yap) => {
    const asil = sahip && sahip[ad];
    if (typeof asil !== 'function') return;
    const yeni = {[ad](...a) { return yap(asil, this, a); }}[ad];
    try { Object.defineProperty(sahip, ad, {value: yeni, writable: true, configurable: true}); } catch (e) {}
  };
  sar(globalThis.Notification, 'requestPermission', (asil, bu, a) =>
    iste(['notifications']).then(() => asil.apply(bu, a)));
  const konum = globalThis.Geolocation && Geolocation.prototype;
  sar(konum, 'getCurrentPosition', (asil, bu, a) => { iste(['geolocation']).then(() => asil.apply(bu, a)); });
  const izlemeler = new Map();
  let izleme = 0;
  sar(konum, 'watchPosition', (asil, bu, a) => {
    const no = ++izleme;
    izlemeler.set(no, 0);
    iste(['geolocation']).then(() => { if (izlemeler.has(no)) izlemeler.set(no, asil.apply(bu, a)); });
    return no;
  });
  sar(konum, 'clearWatch', (asil, bu, a) => {
    const gercek = izlemeler.get(a[0]);
    izlemeler.delete(a[0]);
    if (gercek) asil.call(bu, gercek);
  });
  sar(globalThis.MediaDevices && MediaDevices.prototype, 'getUserMedia', (asil, bu, a) => {
    const k = a[0] || {}, turler = [];
    if (k.video) turler.push('camera');
    if (k.audio) turler.push('microphone');
    return (turler.length ? iste(turler) : Promise.resolve()).then(() => asil.apply(bu, a));
  });
  const pano = globalThis.Clipboard && Clipboard.prototype;
  for (const ad of ['readText', 'read'])
    sar(pano, ad, (asil, bu, a) => iste(['clipboard-read']).then(() => asil.apply(bu, a)));
})();)JS";

// What a page can ask for here, by the engine's name.
static const struct {
    const char* ad;
    COREWEBVIEW2_PERMISSION_KIND tur;
} TURLER[] = {
    {"notifications", COREWEBVIEW2_PERMISSION_KIND_NOTIFICATIONS},
    {"geolocation", COREWEBVIEW2_PERMISSION_KIND_GEOLOCATION},
    {"camera", COREWEBVIEW2_PERMISSION_KIND_CAMERA},
    {"microphone", COREWEBVIEW2_PERMISSION_KIND_MICROPHONE},
    {"clipboard-read", COREWEBVIEW2_PERMISSION_KIND_CLIPBOARD_READ},
};

// The most kinds one call asks for (getUserMedia: camera and microphone).
static const size_t EN_COK_TUR = 2;

const char* Izinler::motor_adi(COREWEBVIEW2_PERMISSION_KIND tur)
{
    for (const auto& oge : TURLER)
        if (oge.tur == tur)
            return oge.ad;
    return nullptr;
}

COREWEBVIEW2_PERMISSION_KIND Izinler::tur_adi(const std::string& ad)
{
    for (const auto& oge : TURLER)
        if (ad == oge.ad)
            return oge.tur;
    return COREWEBVIEW2_PERMISSION_KIND_UNKNOWN_PERMISSION;
}

// An origin a permission can be kept for: a network one, or the files'.
static bool izinli_kaynak_mi(const std::string& kaynak)
{
    return kaynak.rfind("http://", 0) == 0 || kaynak.rfind("https://", 0) == 0 || kaynak == "file://";
}

Izinler::Izinler(Giden& giden, Yayici yay)
    : giden_(giden), yay_(std::move(yay)), canli_(std::make_shared<bool>(true))
{
}

Izinler::~Izinler()
{
    *canli_ = false;
}

int Izinler::kur(const Giden::Yanit& yanit)
{
    giden_.gonder(AddBinding{IZIN_BAGI, ""}, yanit);
    giden_.gonder(AddScriptToEvaluateOnNewDocument{IZIN_BETIGI, ""}, yanit);
    // The document there already (the target's first) gets it now too.
    giden_.gonder(Evaluate{IZIN_BETIGI}, yanit);
    return 3;
}

void Izinler::yonlendir(Yonlendirici& yonlendirici)
{
    // Only the page's own world asks; its origin is the engine's word.
    yonlendirici.bag_sahiplen(
        IZIN_BAGI, [this](const BindingCalled& cagri) { istendi(cagri.executionContextId, cagri.payload); },
        Yonlendirici::Dunya::her_yer);
}

void Izinler::baglam_olustu(const ExecutionContextDescription& baglam)
{
    if (baglam.auxData.isDefault)
        kaynaklar_[baglam.id] = Kaynak{baglam.origin, baglam.auxData.frameId};
    else if (baglam.name == ETKINLIK_DUNYASI && !baglam.auxData.frameId.empty())
        dunyalar_[baglam.auxData.frameId].baglam = baglam.id;
}

void Izinler::baglam_bitti(int64_t kimlik)
{
    kaynaklar_.erase(kimlik);
    for (auto dunya = dunyalar_.begin(); dunya != dunyalar_.end(); ++dunya) {
        if (dunya->second.baglam != kimlik)
            continue;
        // A world being made keeps its waiting calls: its answer ends them.
        if (dunya->second.bekleyenler.empty())
            dunyalar_.erase(dunya);
        else
            dunya->second.baglam = 0;
        return;
    }
}

void Izinler::baglamlar_temizlendi()
{
    kaynaklar_.clear();
    // A world being made keeps its waiting calls: its answer ends them.
    for (auto dunya = dunyalar_.begin(); dunya != dunyalar_.end();) {
        dunya->second.baglam = 0;
        dunya = dunya->second.bekleyenler.empty() ? dunyalar_.erase(dunya) : std::next(dunya);
    }
}

// A call of the page: {"no": N, "turler": [...]}. Anything else is dropped (the
// page's own script never sends it); what else it holds is not read.
void Izinler::istendi(int64_t baglam, const std::string& yuk)
{
    const Json istek = Json::parse(yuk, nullptr, false);
    if (!istek.is_object() || !istek.value("no", Json()).is_number_integer() ||
        !istek.value("turler", Json()).is_array())
        return;
    auto cagri = std::make_shared<Cagri>();
    cagri->no = istek["no"].get<int64_t>();
    cagri->baglam = baglam;
    const Json& turler = istek["turler"];
    if (cagri->no <= 0 || turler.empty() || turler.size() > EN_COK_TUR)
        return;
    for (const Json& ad : turler) {
        COREWEBVIEW2_PERMISSION_KIND tur = ad.is_string() ? tur_adi(ad.get<std::string>())
                                                          : COREWEBVIEW2_PERMISSION_KIND_UNKNOWN_PERMISSION;
        if (tur == COREWEBVIEW2_PERMISSION_KIND_UNKNOWN_PERMISSION)
            return;
        cagri->turler.push_back(tur);
    }
    auto kaynak = kaynaklar_.find(baglam);
    if (kaynak == kaynaklar_.end() || !izinli_kaynak_mi(kaynak->second.kaynak)) {
        devam_ettir(*cagri);   // no origin to ask for: the engine answers as it would
        return;
    }
    cagri->kaynak = kaynak->second.kaynak;
    std::shared_ptr<bool> canli = canli_;
    etkinligi_oku(kaynak->second.cerceve, [this, canli, cagri](bool kullanici) {
        if (!*canli)
            return;
        cagri->kullanici = kullanici;
        sor(cagri);
    });
}

// Whether the user has just acted in the frame, as the engine keeps it: read in a
// world of the library's own in that frame, made on the first need and kept while
// its document lives. Calls that come while it is being made wait for it, so that
// a frame gets one such world whatever its page asks. Anything that fails answers
// false, and a world that failed to answer is made anew at the next need.
void Izinler::etkinligi_oku(const std::string& cerceve, std::function<void(bool)> sonra)
{
    if (cerceve.empty())
        return sonra(false);
    Dunya& dunya = dunyalar_[cerceve];
    if (dunya.baglam) {
        Evaluate okuma{"!!(navigator.userActivation && navigator.userActivation.isActive)"};
        okuma.contextId = dunya.baglam;
        std::shared_ptr<bool> canli = canli_;
        const int64_t baglam = dunya.baglam;
        giden_.gonder(okuma, [this, canli, cerceve, baglam, sonra](const Json& sonuc, const Json* hata) {
            if (hata && *canli) {
                auto bulunan = dunyalar_.find(cerceve);
                if (bulunan != dunyalar_.end() && bulunan->second.baglam == baglam &&
                    bulunan->second.bekleyenler.empty())
                    dunyalar_.erase(bulunan);
            }
            const Json deger = hata ? Json() : sonuc.value("result", Json::object()).value("value", Json());
            sonra(deger.is_boolean() && deger.get<bool>());
        });
        return;
    }
    dunya.bekleyenler.push_back(std::move(sonra));
    if (dunya.bekleyenler.size() > 1)
        return;
    std::shared_ptr<bool> canli = canli_;
    giden_.gonder(CreateIsolatedWorld{cerceve, ETKINLIK_DUNYASI},
                  [this, canli, cerceve](const Json& sonuc, const Json* hata) {
                      if (!*canli)
                          return;
                      auto bulunan = dunyalar_.find(cerceve);
                      if (bulunan == dunyalar_.end())
                          return;
                      CreateIsolatedWorldYaniti yeni;
                      std::vector<std::function<void(bool)>> bekleyenler = std::move(bulunan->second.bekleyenler);
                      bulunan->second.bekleyenler.clear();
                      if (hata || !oku(sonuc, &yeni) || !yeni.executionContextId) {
                          dunyalar_.erase(bulunan);
                          for (auto& sonra : bekleyenler)
                              sonra(false);
                          return;
                      }
                      bulunan->second.baglam = yeni.executionContextId;
                      for (auto& sonra : bekleyenler)
                          etkinligi_oku(cerceve, std::move(sonra));
                  });
}

void Izinler::sor(std::shared_ptr<Cagri> cagri)
{
    std::shared_ptr<bool> canli = canli_;
    auto arguman = sahiplen(Argumanlar::izin(
        utf8_den(cagri->kaynak), cagri->turler[cagri->sira], cagri->kullanici ? TRUE : FALSE,
        [this, canli, cagri](COREWEBVIEW2_PERMISSION_STATE durum) {
            if (*canli)
                karar_verildi(cagri, durum);
        }));
    if (!arguman) {
        devam_ettir(*cagri);
        return;
    }
    yay_(arguman.Get());
    if (*canli)
        Argumanlar::izin_isleyicileri_bitti(arguman.Get());
}

// The engine's permission of the origin follows the answer; once the engine has
// it, the next kind is asked, or the page's call goes on.
void Izinler::karar_verildi(std::shared_ptr<Cagri> cagri, COREWEBVIEW2_PERMISSION_STATE durum)
{
    static const char* const AYARLAR[] = {"prompt", "granted", "denied"};
    Json parametreler = {{"permission", {{"name", motor_adi(cagri->turler[cagri->sira])}}},
                         {"setting", AYARLAR[durum]},
                         {"origin", cagri->kaynak}};
    std::shared_ptr<bool> canli = canli_;
    giden_.motora_gonder("Browser.setPermission", std::move(parametreler),
                         [this, canli, cagri, durum](const Json&, const Json*) {
                             if (!*canli)
                                 return;
                             if (durum == COREWEBVIEW2_PERMISSION_STATE_ALLOW && ++cagri->sira < cagri->turler.size())
                                 sor(cagri);
                             else
                                 devam_ettir(*cagri);
                         });
}

void Izinler::devam_ettir(const Cagri& cagri)
{
    Evaluate devam{"globalThis.__korvaIzinDevam && __korvaIzinDevam(" + std::to_string(cagri.no) + ")"};
    devam.contextId = cagri.baglam;
    giden_.gonder(devam, [](const Json&, const Json*) {});
}
