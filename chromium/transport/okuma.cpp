// The connection's reading thread: parses every message, lets a hook take it, and
// queues the rest for the UI thread in the order they came. A raw hook may take an
// event before it is parsed.
#include <winsock2.h>

#include "baglanti_ic.h"

#include "json_tarama.h"

namespace {
// How deeply the engine's messages may nest objects and arrays. Real messages nest a
// few dozen levels; a script's value returned by value is cut by the engine itself
// at far less than this.
constexpr size_t MOTOR_AZAMI_DERINLIK = 512;

// True when a raw hook has taken the message. Its top-level keys are walked (the
// values skipped, not parsed) for "method" and "sessionId"; the last of a repeated
// key counts, as with the parser. Anything unexpected leaves it to the parser.
bool ham_isle(const std::shared_ptr<Ortak>& ortak, const std::string& metin)
{
    {
        std::lock_guard<std::mutex> kilit(ortak->on_kilidi);
        if (ortak->ham_isleyiciler.empty())
            return false;
    }
    std::string_view anahtar, deger, yontem_ham, oturum_ham;
    bool yontem_var = false, oturum_var = false;
    JsonNesneGezgini gezgin(metin);
    while (gezgin.sonraki(&anahtar, &deger)) {
        if (json_anahtar_mi(anahtar, "id"))
            return false;   // a reply
        if (json_anahtar_mi(anahtar, "method"))
            yontem_var = json_dize_mi(deger, &yontem_ham);
        else if (json_anahtar_mi(anahtar, "sessionId"))
            oturum_var = json_dize_mi(deger, &oturum_ham);
    }
    std::string yontem, oturum;
    if (!gezgin.tamam() || !yontem_var || !json_dizesi_ac(yontem_ham, &yontem) ||
        (oturum_var && !json_dizesi_ac(oturum_ham, &oturum)))
        return false;
    std::shared_ptr<Baglanti::HamIsleyici> isleyici;
    {
        std::lock_guard<std::mutex> kilit(ortak->on_kilidi);
        const auto bulunan = ortak->ham_isleyiciler.find(yontem);
        if (bulunan == ortak->ham_isleyiciler.end())
            return false;
        isleyici = bulunan->second;
    }
    try {
        return *isleyici && (*isleyici)(oturum, std::string_view(metin));
    } catch (...) {
        return false;
    }
}

// The id of a reply read off its top-level members without parsing their values
// (engines write it first), or false.
bool yanit_kimligi(std::string_view metin, int64_t* id)
{
    std::string_view anahtar, deger;
    JsonNesneGezgini gezgin(metin);
    while (gezgin.sonraki(&anahtar, &deger))
        if (json_anahtar_mi(anahtar, "id"))
            return json_tamsayi(deger, id);
    return false;
}

// A message that cannot be used as it came (nested too deep, not JSON, members of
// the wrong kind): a reply whose id can be read that cheaply fails with `neden`, so
// that nothing waits on it; anything else is dropped. The connection goes on either
// way: the engine said something, just nothing usable.
void kullanilamaz(const std::shared_ptr<Ortak>& ortak, std::string_view metin, const char* neden)
{
    int64_t id = 0;
    if (yanit_kimligi(metin, &id) && !ortak->akis_yanitlandi(id))
        ui_ya_ekle([ortak, id, neden] { ortak->yanit_hatasi(id, neden); });
}

void ileti_isle(const std::shared_ptr<Ortak>& ortak, const std::string& metin)
{
    if (ham_isle(ortak, metin))
        return;
    // nlohmann's parser keeps its own stack, but copying, comparing or destroying
    // what it built recurses once a level: deep enough input would overflow the
    // stack of whichever thread touches it next.
    if (json_cok_derin(metin, MOTOR_AZAMI_DERINLIK)) {
        kullanilamaz(ortak, metin, "the engine's message was nested too deeply");
        return;
    }
    auto ileti = std::make_shared<Json>(Json::parse(metin, nullptr, false));
    if (ileti->is_discarded() || !ileti->is_object()) {
        kullanilamaz(ortak, metin, "the engine's message was not valid JSON");
        return;
    }
    const auto id = ileti->find("id");
    if (id != ileti->end()) {
        if (!id->is_number_integer())
            return;
        // A stream's answer lets its next command go from here; nobody else waits for it.
        if (ortak->akis_yanitlandi(id->get<int64_t>()))
            return;
        // Whoever waits reads "result" and "error" as objects.
        const auto sonuc = ileti->find("result");
        const auto hata = ileti->find("error");
        if ((sonuc != ileti->end() && !sonuc->is_object()) || (hata != ileti->end() && !hata->is_object())) {
            const int64_t kimlik = id->get<int64_t>();
            ui_ya_ekle([ortak, kimlik] { ortak->yanit_hatasi(kimlik, "the engine's reply was malformed"); });
            return;
        }
        ui_ya_ekle([ortak, ileti] { ortak->yanit_teslim(*ileti); });
        return;
    }
    const auto yontem_ogesi = ileti->find("method");
    const auto oturum_ogesi = ileti->find("sessionId");
    const auto parametre_ogesi = ileti->find("params");
    if (yontem_ogesi == ileti->end() || !yontem_ogesi->is_string() ||
        (oturum_ogesi != ileti->end() && !oturum_ogesi->is_string()) ||
        (parametre_ogesi != ileti->end() && !parametre_ogesi->is_object()))
        return;
    std::string yontem = yontem_ogesi->get<std::string>();
    std::string oturum;
    if (oturum_ogesi != ileti->end())
        oturum = oturum_ogesi->get<std::string>();

    std::shared_ptr<Baglanti::OnIsleyici> isleyici;
    {
        std::lock_guard<std::mutex> kilit(ortak->on_kilidi);
        const auto bulunan = ortak->on_isleyiciler.find(yontem);
        if (bulunan != ortak->on_isleyiciler.end())
            isleyici = bulunan->second;
    }
    if (isleyici && *isleyici) {
        bool islendi = false;
        try {
            islendi = (*isleyici)(oturum, *ileti);
        } catch (...) {
        }
        if (islendi)
            return;
    }
    ui_ya_ekle([ortak, oturum = std::move(oturum), yontem = std::move(yontem), ileti] {
        ortak->olay_teslim(oturum, yontem, *ileti);
    });
}

DWORD WINAPI okuma_dongusu(void* parametre)
{
    std::shared_ptr<Ortak> ortak = std::move(*static_cast<std::shared_ptr<Ortak>*>(parametre));
    delete static_cast<std::shared_ptr<Ortak>*>(parametre);
    std::string metin;
    MotorKanali::Okuma okuma;
    while ((okuma = ortak->kanal->ileti_oku(&metin)) != MotorKanali::Okuma::Bitti) {
        try {
            if (okuma == MotorKanali::Okuma::Ileti)
                ileti_isle(ortak, metin);
            else
                kullanilamaz(ortak, metin, "the engine sent a message larger than the bound");
        } catch (...) {
        }
    }
    ortak->kanal->kes();
    ortak->acik = false;
    SetEvent(ortak->okuma_bitti);
    const char* neden = "the connection to the engine has ended";
    ui_ya_ekle([ortak, neden] { ortak->kapanisi_bildir(neden); });
    return 0;
}

}  // namespace

bool okumaya_basla(const std::shared_ptr<Ortak>& ortak)
{
    auto* kopya = new std::shared_ptr<Ortak>(ortak);
    HANDLE okuyucu = CreateThread(nullptr, 0, okuma_dongusu, kopya, 0, nullptr);
    if (okuyucu == nullptr) {
        delete kopya;
        ortak->kanal->kes();
        ortak->acik = false;
        SetEvent(ortak->okuma_bitti);
        ui_ya_ekle([ortak] { ortak->kapanisi_bildir("the connection to the engine has ended"); });
        return false;
    }
    CloseHandle(okuyucu);
    return true;
}
