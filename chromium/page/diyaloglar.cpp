// A page's script dialogs (see diyaloglar.h).
#include "diyaloglar.h"
#include "motor_ic.h"

#include <algorithm>

using namespace protokol;

// From this dialog of a document on, the user may stop the document's dialogs.
static const int DURDURMA_SIRASI = 3;
// A dialog shows this many characters of a message or a prompt's text at most.
static const size_t EN_UZUN_METIN = 100000;

// A dialog's text as the native dialog can show it: its controls take NUL-ended
// texts, so a message or a prompt's text ends at its first NUL. It is cut here,
// where it is decided, so that what the dialog holds is what it shows, and a
// prompt accepted unchanged answers exactly the text the user saw.
static std::wstring gosterilecek_metin(const std::string& metin)
{
    std::wstring genis = utf8_den(metin);
    return genis.substr(0, std::min(genis.find(L'\0'), EN_UZUN_METIN));
}

std::wstring adresin_kaynagi(const std::wstring& adres)
{
    size_t sema = adres.find(L"://");
    bool ag = sema != std::wstring::npos && sema > 0 && adres.compare(0, 4, L"file") != 0;
    if (!ag)
        return adres.substr(0, 200);
    size_t ev = sema + 3;
    size_t son = adres.find_first_of(L"/?#", ev);
    std::wstring yer = adres.substr(ev, son == std::wstring::npos ? std::wstring::npos : son - ev);
    size_t kullanici = yer.rfind(L'@');   // user:password@ is no part of the origin
    if (kullanici != std::wstring::npos)
        yer = yer.substr(kullanici + 1);
    return (adres.substr(0, ev) + yer).substr(0, 200);
}

Diyaloglar::Diyaloglar(Giden& giden, DiyalogDinleyicisi& dinleyici, std::string cerceve)
    : giden_(giden), dinleyici_(dinleyici), cerceve_(std::move(cerceve))
{
}

Diyaloglar::~Diyaloglar() { kapat(); }

void Diyaloglar::one_getir()
{
    if (pencere_ && IsWindowVisible(pencere_))
        SetForegroundWindow(pencere_);
}

void Diyaloglar::gorunurluk_koy(bool gorunur)
{
    if (pencere_)
        ShowWindow(pencere_, gorunur ? SW_SHOW : SW_HIDE);
}

void Diyaloglar::kapat()
{
    HWND pencere = pencere_;
    pencere_ = nullptr;
    yerel::pencereyi_kapat(pencere);
}

// A new document starts with no dialogs shown and none stopped.
void Diyaloglar::belge_acildi(const Cerceve& cerceve)
{
    if (cerceve.id == cerceve_ && cerceve.parentId.empty()) {
        sayi_ = 0;
        durduruldu_ = false;
    }
}

void Diyaloglar::acildi(const JavascriptDialogOpening& olay)
{
    static const struct {
        const char* ad;
        yerel::DiyalogTuru tur;
    } TURLER[] = {{"alert", yerel::DiyalogTuru::UYARI},
                  {"confirm", yerel::DiyalogTuru::ONAY},
                  {"prompt", yerel::DiyalogTuru::SORU},
                  {"beforeunload", yerel::DiyalogTuru::AYRILMA}};
    yerel::DiyalogIstegi istek;
    bool bilinen = false;
    for (const auto& satir : TURLER)
        if (olay.type == satir.ad) {
            istek.tur = satir.tur;
            bilinen = true;
        }
    bool ayrilma = istek.tur == yerel::DiyalogTuru::AYRILMA;
    // Dismissed at once: a leaving page may leave, anything else is canceled.
    if (!bilinen || durduruldu_ || !dinleyici_.varsayilan_diyaloglar_acik()) {
        yanitla(bilinen && ayrilma, std::string());
        return;
    }
    // One dialog at a time: the engine asks again only once answered, but a dialog
    // the engine dropped without telling would otherwise stay.
    kapat();
    if (!ayrilma)
        ++sayi_;
    istek.baslik = adresin_kaynagi(hostun_adresi(olay.url));
    istek.mesaj = gosterilecek_metin(olay.message);
    istek.varsayilan = gosterilecek_metin(olay.defaultPrompt);
    istek.durdurma_kutusu = !ayrilma && sayi_ >= DURDURMA_SIRASI;
    pencere_ = dinleyici_.diyalog_goster(istek, [this](const yerel::DiyalogYaniti& yanit) {
        pencere_ = nullptr;
        if (yanit.durdur)
            durduruldu_ = true;
        yanitla(yanit.kabul, utf8_e(yanit.metin));
    });
    if (!pencere_)
        yanitla(ayrilma, std::string());   // nothing to ask with: as dismissed
}

void Diyaloglar::yanitla(bool kabul, const std::string& metin)
{
    giden_.gonder(HandleJavaScriptDialog{kabul, metin}, [](const Json&, const Json*) {});
}
