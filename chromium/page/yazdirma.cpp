// Printing a page to a PDF, and window.print() (see yazdirma.h).
#include "yazdirma.h"
#include "kare.h"
#include "yardimci_dunya.h"
#include "yerine_yazma.h"

#include <memory>
#include <vector>

using namespace protokol;

static const char YAZDIR_BAGI[] = "__korvaYazdir";

// The page's own world, every frame, before the page's scripts: window.print only
// raises an event on the top window (with the functions it needs taken now, so
// that the page cannot change what it calls).
static const char SAYFA_BETIGI[] = R"JS((() => {
  const ust = window.top, ilet = EventTarget.prototype.dispatchEvent, Olay = Event;
  const print = function print() { try { ilet.call(ust, new Olay('__korvaYazdir')); } catch (e) {} };
  try { Object.defineProperty(window, 'print', {value: print, writable: true, configurable: true, enumerable: true}); } catch (e) {}
})();)JS";

// The helpers' world of the top frame hears the event and reports it.
static const char YARDIMCI_BETIK[] = R"JS((() => {
  if (window !== window.top) return;
  const bag = __korvaYazdir;
  window.addEventListener('__korvaYazdir', () => { try { bag(''); } catch (e) {} }, true);
})();)JS";

// How much one IO.read asks for.
static const int64_t PARCA_BAYTI = 1 << 20;

namespace {

// One PDF being written: its file, the engine's stream, and who hears the end.
struct PdfIsi {
    YerineYazma dosya;
    std::string akis;
    std::function<void(HRESULT)> bitti;
};

void pdf_bitir(Giden& giden, const std::shared_ptr<PdfIsi>& is, HRESULT sonuc)
{
    if (!is->akis.empty())
        giden.gonder(IoClose{is->akis});
    if (SUCCEEDED(sonuc))
        sonuc = yazma_sonucu(is->dosya.bitir());
    else
        is->dosya.birak();
    auto bitti = std::move(is->bitti);
    is->bitti = nullptr;
    if (bitti)
        bitti(sonuc);
}

void parca_oku(Giden& giden, std::shared_ptr<PdfIsi> is)
{
    giden.gonder(IoRead{is->akis, PARCA_BAYTI}, [&giden, is](const Json& sonuc, const Json* hata) {
        IoReadYaniti parca;
        if (hata || !oku(sonuc, &parca))
            return pdf_bitir(giden, is, E_FAIL);
        DWORD yazma_hatasi = 0;
        if (parca.base64Encoded) {
            std::vector<uint8_t> bayt;
            if (!base64_coz(parca.data, &bayt))
                return pdf_bitir(giden, is, E_FAIL);
            yazma_hatasi = is->dosya.yaz(bayt.data(), bayt.size());
        } else {
            yazma_hatasi = is->dosya.yaz(parca.data.data(), parca.data.size());
        }
        if (yazma_hatasi != 0)
            return pdf_bitir(giden, is, yazma_sonucu(yazma_hatasi));
        if (parca.eof)
            return pdf_bitir(giden, is, S_OK);
        parca_oku(giden, is);
    });
}

}  // namespace

Yazdirma::Yazdirma(Giden& giden, YazdirmaDinleyicisi& dinleyici, std::string hedef)
    : giden_(giden), dinleyici_(dinleyici), hedef_(std::move(hedef))
{
}

int Yazdirma::kur(const Giden::Yanit& yanit)
{
    giden_.gonder(AddScriptToEvaluateOnNewDocument{SAYFA_BETIGI, ""}, yanit);
    // The target's first document is there already. Its answer counts for nothing:
    // a document that is just going away need not fail the setup.
    giden_.gonder(Evaluate{SAYFA_BETIGI, true, false}, [](const Json&, const Json*) {});
    return 1 + yardimci_betik_kur(giden_, hedef_, YARDIMCI_BETIK, {YAZDIR_BAGI}, yanit);
}

void Yazdirma::pdf_yaz(const std::wstring& yol, std::function<void(HRESULT)> bitti)
{
    auto is = std::make_shared<PdfIsi>();
    is->bitti = std::move(bitti);
    // The file first: a folder that cannot be written is known before the engine works.
    const DWORD acma_hatasi = is->dosya.ac(yol);
    if (acma_hatasi != 0) {
        Giden& giden = giden_;
        giden_.sonra([&giden, is, acma_hatasi] { pdf_bitir(giden, is, yazma_sonucu(acma_hatasi)); });
        return;
    }
    Giden& giden = giden_;
    giden_.gonder(PrintToPdf{}, [&giden, is](const Json& sonuc, const Json* hata) {
        PrintToPdfYaniti yanit;
        if (hata || !oku(sonuc, &yanit) || yanit.stream.empty())
            return pdf_bitir(giden, is, E_FAIL);
        is->akis = yanit.stream;
        parca_oku(giden, is);
    });
}

void Yazdirma::yonlendir(Yonlendirici& yonlendirici)
{
    yonlendirici.bag_sahiplen(YAZDIR_BAGI, [this](const BindingCalled&) { dinleyici_.yazdirma_istendi(); });
}
