// The helpers' isolated world (see yardimci_dunya.h).
#include "yardimci_dunya.h"

#include <memory>

using namespace protokol;

int yardimci_betik_kur(Giden& giden, const std::string& hedef, const char* kaynak,
                       std::initializer_list<const char*> baglar, const Giden::Yanit& yanit,
                       YardimciBaglam* baglam)
{
    int sayi = 0;
    for (const char* ad : baglar) {
        giden.gonder(AddBinding{ad, YARDIMCI_DUNYA}, yanit);
        ++sayi;
    }
    giden.gonder(AddScriptToEvaluateOnNewDocument{kaynak, YARDIMCI_DUNYA}, yanit);
    // The first document was there before the script: its world is made now and the
    // script run in it (one answer counts for both).
    std::string betik = kaynak;
    giden.gonder(CreateIsolatedWorld{hedef, YARDIMCI_DUNYA},
                 [&giden, betik, yanit, baglam](const Json& sonuc, const Json* hata) {
                     CreateIsolatedWorldYaniti dunya;
                     if (hata || !oku(sonuc, &dunya) || !dunya.executionContextId) {
                         Json sorun = hata ? *hata : Json{{"message", "no isolated world"}};
                         yanit(Json::object(), &sorun);
                         return;
                     }
                     if (baglam)
                         baglam->ekle(dunya.executionContextId);
                     Evaluate calistir{betik};
                     calistir.contextId = dunya.executionContextId;
                     giden.gonder(calistir, yanit);
                 });
    return sayi + 2;
}

void YardimciBaglam::ekle(int64_t kimlik)
{
    kimlik_ = kimlik;
    kimlikler_.insert(kimlik);
}

void YardimciBaglam::olustu(const ExecutionContextDescription& baglam)
{
    if (dunya_ && baglam.name == dunya_ && baglam.auxData.frameId == hedef_)
        ekle(baglam.id);
}

void YardimciBaglam::bitti(int64_t kimlik)
{
    kimlikler_.erase(kimlik);
    if (kimlik == kimlik_)
        kimlik_ = 0;
}

void YardimciBaglam::temizlendi()
{
    kimlik_ = 0;
    kimlikler_.clear();
}
