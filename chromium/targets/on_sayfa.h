// The engine's front page and its screen. The engine has one front page (a page not
// in front stops painting, and input may go elsewhere): the view shown last. And it
// renders every page at one device pixel ratio, the screen's, shared by all pages:
// frames come in CSS pixels times that ratio. It follows the largest zoom among the
// views shown, so that a zoomed page's frames come in device pixels, as sharp as an
// unzoomed page's.
#pragma once

#include <memory>
#include <string>

#include "baglanti.h"
#include "oturumlar.h"

class OnSayfa {
public:
    explicit OnSayfa(const Oturumlar& oturumlar) : oturumlar_(oturumlar) {}

    void one_getirildi(const Gorunum* gorunum) { on_sayfa_ = gorunum; }
    bool on_sayfa_mi(const Gorunum* gorunum) const { return on_sayfa_ == gorunum; }
    bool gosterilen_on_sayfa_var() const { return on_sayfa_ && on_sayfa_->gereken_olcek() > 0; }
    void kapandi(const Gorunum* gorunum)
    {
        if (on_sayfa_ == gorunum)
            on_sayfa_ = nullptr;
    }
    // The view shown last is made the front page again.
    void gosterilenleri_one_getir();

    // The ratio the views shown need, sent when it changed (the engine's screen asked
    // for first, once an engine).
    void olcegi_ayarla(std::shared_ptr<Baglanti> baglanti);
    // A new engine: its screen is not known yet, and at its first ratio.
    void yeni_motor();

private:
    void olcegi_gonder(std::shared_ptr<Baglanti> baglanti, double olcek);

    const Oturumlar& oturumlar_;
    const Gorunum* on_sayfa_ = nullptr;   // null when it has closed since
    std::string ekran_;                   // the engine's screen
    double olcek_ = 1.0;                  // the device pixel ratio it was last given
    bool ekran_soruluyor_ = false;
};
