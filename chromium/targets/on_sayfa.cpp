// The engine's front page and its screen (see on_sayfa.h).
#include "on_sayfa.h"

#include <algorithm>

#include "protokol.h"
#include "protokol_gunlugu.h"

using namespace protokol;

void OnSayfa::gosterilenleri_one_getir()
{
    Gorunum* en_son = nullptr;
    oturumlar_.her_biri([&en_son](Gorunum* gorunum) {
        if (gorunum->gereken_olcek() > 0 && (!en_son || gorunum->gosterilme_sirasi() > en_son->gosterilme_sirasi()))
            en_son = gorunum;
    });
    if (en_son)
        en_son->one_getir();
}

// The new ratio applies to a page once its size is given again and its frame stream
// starts again: the shown views do both when the engine has taken it.
void OnSayfa::olcegi_gonder(std::shared_ptr<Baglanti> baglanti, double olcek)
{
    Json parametreler = UpdateScreen{ekran_, olcek};
    gunluge_yaz(std::string(), std::string("-> ") + UpdateScreen::YONTEM, parametreler);
    baglanti->gonder(UpdateScreen::YONTEM, std::move(parametreler), std::string(),
                     [this](const Json& sonuc, const Json* hata) {
        gunluge_yaz(std::string(), std::string("<- ") + UpdateScreen::YONTEM, hata ? *hata : sonuc);
        for (auto& gorunum : oturumlar_.gosterilenler())
            gorunum->olcek_degisti();
    });
}

void OnSayfa::olcegi_ayarla(std::shared_ptr<Baglanti> baglanti)
{
    if (!baglanti)
        return;
    double olcek = 0;
    oturumlar_.her_biri([&olcek](Gorunum* gorunum) { olcek = std::max(olcek, gorunum->gereken_olcek()); });
    if (olcek <= 0 || olcek == olcek_)
        return;
    olcek_ = olcek;
    if (!ekran_.empty()) {
        olcegi_gonder(baglanti, olcek);
        return;
    }
    if (ekran_soruluyor_)
        return;   // the answer sends the newest ratio
    ekran_soruluyor_ = true;
    baglanti->gonder(GetScreenInfos::YONTEM, Json::object(), std::string(),
                     [this, baglanti](const Json& sonuc, const Json* hata) {
        ekran_soruluyor_ = false;
        GetScreenInfosYaniti yanit;
        if (hata || !oku(sonuc, &yanit) || yanit.screenInfos.empty())
            return;
        ekran_ = yanit.screenInfos[0].id;
        if (!ekran_.empty() && motor_baglantisi() == baglanti)
            olcegi_gonder(baglanti, olcek_);
    });
}

void OnSayfa::yeni_motor()
{
    ekran_.clear();
    olcek_ = 1.0;
    ekran_soruluyor_ = false;
}
