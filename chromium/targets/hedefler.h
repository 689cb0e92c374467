// The engine's page targets: making them (a spare set up in advance when one is
// ready), the views they belong to, the engine's front page and screen, and routing
// the connection's messages to the views. One object for the one engine process; the
// views reach it through HedefAgi only.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <wrl/client.h>

#include "acilan_pencereler.h"
#include "baglanti.h"
#include "hedef_agi.h"
#include "kare_teslimi.h"
#include "on_sayfa.h"
#include "oturumlar.h"
#include "tutulan_hedefler.h"
#include "yedek_hedef.h"

struct ICoreWebView2;
struct ICoreWebView2Controller;

class Hedefler final : public HedefAgi {
public:
    using DenetleyiciBitti = std::function<void(HRESULT, ICoreWebView2Controller*)>;

    static Hedefler& tek();

    // Subscribes the views to a new connection: every page target's events reach its
    // view, frames are decoded on the reading thread, and the end of the connection
    // reaches every open view as a process failure.
    void sayfalari_bagla(Baglanti& baglanti);
    // Makes a controller and its view inside `ebeveyn`: the spare when one is ready,
    // else a new page target; `bitti` runs on the UI thread with the result.
    void denetleyici_olustur(HWND ebeveyn, DenetleyiciBitti bitti);
    // The open view of a target, or null.
    Gorunum* hedefin_gorunumu(const std::string& hedef) const { return oturumlar_.hedefin(hedef); }

    // HedefAgi, for the views.
    void hedef_acildi(Gorunum* gorunum) override;
    void hedef_kapandi(Gorunum* gorunum) override;
    void sayfa_hedefi_olustur(std::shared_ptr<Baglanti> baglanti,
                              std::function<void(std::string, std::string)> al) override;
    void one_getirildi(const Gorunum* gorunum) override { on_sayfa_.one_getirildi(gorunum); }
    bool on_sayfa_mi(const Gorunum* gorunum) const override { return on_sayfa_.on_sayfa_mi(gorunum); }
    bool gosterilen_on_sayfa_var() const override { return on_sayfa_.gosterilen_on_sayfa_var(); }
    void gosterilenleri_one_getir() override { on_sayfa_.gosterilenleri_one_getir(); }
    void ekran_olcegini_ayarla() override;
    void gezinti_tamamlandi() override { yedek_.gezinti_tamamlandi(); }
    void yukleme_gidiyor() override { yedek_.yukleme_gidiyor(); }
    void gosterilen_alan(const RECT& alan) override { yedek_.gosterilen_alan(alan); }
    void acilan_pencere(const std::string& acan, Microsoft::WRL::ComPtr<Gorunum> alan,
                        std::wstring adres) override;
    std::shared_ptr<void> yeni_pencere_bekleniyor() override;
    // A view the host offers as a new window: one of the open views (E_INVALIDARG
    // else), and fresh (see Gorunum::yeni_pencereye_ayir).
    HRESULT yeni_pencere_icin_al(ICoreWebView2* gorunum);

private:
    Hedefler();
    void hedef_olustur(std::shared_ptr<Baglanti> baglanti, RECT alan, YedekHedef::HedefBitti bitti);
    void yerlestir_ve_bildir(Microsoft::WRL::ComPtr<Gorunum> gorunum, HWND ebeveyn, const DenetleyiciBitti& bitti);
    void hedef_olayi(const std::string& yontem, const Json& p);
    // A view with no target yet, placed at once: while a page's popup waits for the
    // host's decision, the view the host makes is most likely the one it gives.
    void hedefsiz_gorunum(std::shared_ptr<Baglanti> baglanti, HWND ebeveyn, DenetleyiciBitti bitti);
    void yeni_pencere_karari_verildi();

    Oturumlar oturumlar_;
    OnSayfa on_sayfa_;
    TutulanHedefler tutulanlar_;
    AcilanPencereler acilanlar_;
    YedekHedef yedek_;
    KareTeslimi kareler_;
    int yeni_pencere_bekleyisleri_ = 0;   // popups whose host has not decided yet
    std::vector<Gorunum*> hedefsizler_;   // open views with no target yet
};
