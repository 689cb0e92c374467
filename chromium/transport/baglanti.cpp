// The connection to the engine process (see baglanti.h for the threads and the
// lifetime): its start on a thread of its own, and the public methods. The parts are
// files of their own: the UI thread's queue (ui_kuyrugu.cpp), the command line
// (komut_satiri.cpp), the start and the first answer (motor_baslatma.cpp), the
// reading thread (okuma.cpp); what they share is baglanti_ic.h.
#include <winsock2.h>

#include "baglanti_ic.h"
#include "motor_baslatma.h"

namespace {

struct BaslatmaIsi {
    MotorAyari ayar;
    std::function<void(HRESULT, std::shared_ptr<Baglanti>)> bitti;
};

DWORD WINAPI baslatma_dongusu(void* parametre)
{
    std::unique_ptr<BaslatmaIsi> is(static_cast<BaslatmaIsi*>(parametre));
    std::unique_ptr<MotorKanali> kanal;
    HRESULT sonuc = E_FAIL;
    try {
        sonuc = motoru_baslat(is->ayar, &kanal);
    } catch (...) {
        sonuc = E_FAIL;
    }
    std::shared_ptr<Ortak> ortak;
    std::shared_ptr<Baglanti> baglanti;
    if (SUCCEEDED(sonuc) && kanal) {
        ortak = std::make_shared<Ortak>();
        ortak->kanal = std::move(kanal);
        auto ic = std::make_unique<Baglanti::Ic>();
        ic->ortak = ortak;
        baglanti = std::make_shared<Baglanti>(std::move(ic));
    }
    // The result is queued before the reading thread starts, so the host has its
    // connection (and can listen) before the first event is delivered.
    ui_ya_ekle([bitti = std::move(is->bitti), sonuc, baglanti] { bitti(sonuc, baglanti); });
    if (!ortak)
        return 0;
    okumaya_basla(ortak);
    return 0;
}

}  // namespace

// ---------------------------------------------------------------------------
// What the UI thread and the reading thread both send through.

bool Ortak::yaz(int64_t id, const std::string& yontem, Json parametreler, const std::string& oturum)
{
    Json ileti = {{"id", id}, {"method", yontem}, {"params", std::move(parametreler)}};
    if (!oturum.empty())
        ileti["sessionId"] = oturum;
    std::string metin;
    try {
        // Text that is not UTF-8 is replaced rather than refused.
        metin = ileti.dump(-1, ' ', false, Json::error_handler_t::replace);
    } catch (...) {
    }
    if (!acik || metin.empty())
        return false;
    // A failed send cuts the connection; the reading thread then reports the end
    // and what waits for an answer fails with all the rest.
    kanal->gonder(metin);
    return true;
}

bool Ortak::akis_yanitlandi(int64_t id)
{
    int64_t sonraki = 0;
    std::string yontem, oturum;
    Json parametreler;
    {
        std::lock_guard<std::mutex> kilit(akis_kilidi);
        const auto yanit = akis_yanitlari.find(id);
        if (yanit == akis_yanitlari.end())
            return false;
        const auto akis = akislar.find(yanit->second);
        if (akis != akislar.end() && akis->second.bekliyor) {
            Akis& kalan = akis->second;
            kalan.bekliyor = false;
            sonraki = ++son_id;
            yontem = kalan.yontem;
            oturum = kalan.oturum;
            parametreler = std::move(kalan.bekleyen);
            akis_yanitlari.emplace(sonraki, akis->first);
        } else if (akis != akislar.end()) {
            akislar.erase(akis);
        }
        akis_yanitlari.erase(yanit);
    }
    // Written outside the lock: the UI thread may keep the next one meanwhile.
    if (sonraki != 0 && !yaz(sonraki, yontem, std::move(parametreler), oturum))
        akisi_birak(sonraki);
    return true;
}

void Ortak::akisi_birak(int64_t id)
{
    std::lock_guard<std::mutex> kilit(akis_kilidi);
    const auto yanit = akis_yanitlari.find(id);
    if (yanit == akis_yanitlari.end())
        return;
    akislar.erase(yanit->second);
    akis_yanitlari.erase(yanit);
}

// ---------------------------------------------------------------------------
// The public methods.

HRESULT Baglanti::baslat(const MotorAyari& ayar, std::function<void(HRESULT, std::shared_ptr<Baglanti>)> bitti)
{
    if (!bitti)
        return E_INVALIDARG;
    static const bool winsock_hazir = [] {
        WSADATA bilgi;
        return WSAStartup(MAKEWORD(2, 2), &bilgi) == 0;
    }();
    if (!winsock_hazir || !ui_penceresi_kur())
        return E_FAIL;
    auto* is = new BaslatmaIsi{ayar, std::move(bitti)};
    HANDLE baslatici = CreateThread(nullptr, 0, baslatma_dongusu, is, 0, nullptr);
    if (baslatici == nullptr) {
        delete is;
        return E_FAIL;
    }
    CloseHandle(baslatici);
    return S_OK;
}

Baglanti::Baglanti(std::unique_ptr<Ic> ic) : ic_(std::move(ic)) {}

Baglanti::~Baglanti()
{
    if (!ic_ || !ic_->ortak || surec_bitiyor())
        return;
    Ortak& ortak = *ic_->ortak;
    // Nothing of the owner's runs after this; replies still awaited are failed
    // later, on the UI thread, when the reading thread reports the end.
    ortak.yok_edildi = true;
    ortak.olay_dinleyici.reset();
    ortak.kapanis_dinleyici = nullptr;
    {
        std::lock_guard<std::mutex> kilit(ortak.on_kilidi);
        ortak.on_isleyiciler.clear();
        ortak.ham_isleyiciler.clear();
    }
    ortak.motoru_bitir();
}

int64_t Baglanti::gonder(const std::string& yontem, Json parametreler, const std::string& oturum, Yanit yanit)
{
    const std::shared_ptr<Ortak>& ortak = ic_->ortak;
    // (The replies awaited are the UI thread's: a command from the reading thread has none.)
    const int64_t id = ++ortak->son_id;
    const bool beklenir = static_cast<bool>(yanit);
    if (beklenir)
        ortak->bekleyenler.emplace(id, std::move(yanit));
    if (ortak->yaz(id, yontem, std::move(parametreler), oturum) || !beklenir)
        return id;
    const auto bekleyen = ortak->bekleyenler.find(id);
    if (bekleyen != ortak->bekleyenler.end()) {
        const char* neden = ortak->acik ? "the command could not be written" : "the connection to the engine has ended";
        ui_ya_ekle([yanit = std::move(bekleyen->second), neden] {
            const Json hata = {{"code", -1}, {"message", neden}};
            yanit(Json::object(), &hata);
        });
        ortak->bekleyenler.erase(bekleyen);
    }
    return id;
}

void Baglanti::sirayla_gonder(const std::string& akis, const std::string& yontem, Json parametreler,
                              const std::string& oturum, const Birlestir& birlestir)
{
    Ortak& ortak = *ic_->ortak;
    int64_t id = 0;
    {
        std::lock_guard<std::mutex> kilit(ortak.akis_kilidi);
        const auto bulunan = ortak.akislar.find(akis);
        if (bulunan != ortak.akislar.end()) {
            // One of the stream is awaited: this one waits, merged with any before it.
            Ortak::Akis& kalan = bulunan->second;
            if (kalan.bekliyor && kalan.yontem == yontem && kalan.oturum == oturum && birlestir)
                birlestir(kalan.bekleyen, parametreler);
            else
                kalan.bekleyen = std::move(parametreler);
            kalan.yontem = yontem;
            kalan.oturum = oturum;
            kalan.bekliyor = true;
            return;
        }
        id = ++ortak.son_id;
        ortak.akislar.emplace(akis, Ortak::Akis{yontem, oturum, false, Json()});
        ortak.akis_yanitlari.emplace(id, akis);
    }
    if (!ortak.yaz(id, yontem, std::move(parametreler), oturum))
        ortak.akisi_birak(id);
}

void Baglanti::olay_dinle(Olay dinleyici)
{
    ic_->ortak->olay_dinleyici = std::make_shared<Olay>(std::move(dinleyici));
}

void Baglanti::on_isleyici(const std::string& yontem, OnIsleyici isleyici)
{
    std::lock_guard<std::mutex> kilit(ic_->ortak->on_kilidi);
    if (isleyici)
        ic_->ortak->on_isleyiciler[yontem] = std::make_shared<OnIsleyici>(std::move(isleyici));
    else
        ic_->ortak->on_isleyiciler.erase(yontem);
}

void Baglanti::ham_isleyici(const std::string& yontem, HamIsleyici isleyici)
{
    std::lock_guard<std::mutex> kilit(ic_->ortak->on_kilidi);
    if (isleyici)
        ic_->ortak->ham_isleyiciler[yontem] = std::make_shared<HamIsleyici>(std::move(isleyici));
    else
        ic_->ortak->ham_isleyiciler.erase(yontem);
}

void Baglanti::kapaninca(std::function<void()> dinleyici)
{
    Ortak& ortak = *ic_->ortak;
    if (ortak.kapanis_bildirildi) {
        // Too late to wait for the end: it has been, so say it now (still later).
        if (dinleyici)
            ui_ya_ekle(std::move(dinleyici));
        return;
    }
    ortak.kapanis_dinleyici = std::move(dinleyici);
}

bool Baglanti::acik_mi() const
{
    return ic_->ortak->acik;
}

bool Baglanti::ui_da_calistir(std::function<void()> is)
{
    return is && ui_ya_ekle(std::move(is));
}

void Baglanti::kapat(DWORD sure_ms)
{
    Ortak& ortak = *ic_->ortak;
    if (surec_bitiyor() || ortak.kapatiliyor.exchange(true))
        return;
    const Sinir sinir(sure_ms);
    if (ortak.acik) {
        const Json ileti = {{"id", ++ortak.son_id}, {"method", "Browser.close"}, {"params", Json::object()}};
        ortak.kanal->gonder(ileti.dump());
        // The channel ends for us once the engine has gone and its shell has
        // removed the profile; until then, or the bound, it is left to finish.
        WaitForSingleObject(ortak.okuma_bitti, sinir.kalan());
    }
    ortak.motoru_bitir();
}
