// The lists of a page's <select> controls. The engine, run without a screen, draws
// no list when one opens; so a script in the library's own world of the page
// catches the user's opening of one (a press of the left button on it, or Alt+Down,
// Alt+Up, F4 or Space while it has the keyboard), keeps the page's own list from
// opening and reports the control: its options, the one selected and its place.
// The view shows them as a native list; the option chosen is put into the control
// from that same world, with the page's input and change events, as a user's
// choice is. Only the top document's controls are served (a frame's are not).
#pragma once

#include "giden.h"
#include "yonlendirici.h"
#include "yerel_pencereler.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class SecimDinleyicisi {
public:
    // Shows the rows at `kontrol`, the control's place in CSS pixels of the page;
    // `secildi` hears the option chosen, or -1. Answers the list's window (null when
    // none could be shown).
    virtual HWND secim_listesi_goster(const RECT& kontrol, std::vector<yerel::SecenekSatiri> satirlar, int secili,
                                      std::function<void(int secenek)> secildi) = 0;

protected:
    ~SecimDinleyicisi() = default;
};

class SecimListeleri {
public:
    SecimListeleri(Giden& giden, SecimDinleyicisi& dinleyici, std::string cerceve);
    ~SecimListeleri();

    // Sets the page target up; every answer reaches `yanit`. Returns how many.
    int kur(const Giden::Yanit& yanit);
    // Closes an open list without a choice (the view closes or is hidden).
    void kapat();

    // ---- From the engine: the helper's report of a list opened; a new document in
    // a frame (the view hands it on), which closes the list of the one it replaced.
    void yonlendir(Yonlendirici& yonlendirici);
    void belge_acildi(const protokol::Cerceve& cerceve);

private:
    void acildi(const std::string& bilgi, int64_t baglam);
    void secildi(int64_t sira, int64_t baglam, int secenek);

    Giden& giden_;
    SecimDinleyicisi& dinleyici_;
    const std::string cerceve_;
    HWND liste_ = nullptr;
};
