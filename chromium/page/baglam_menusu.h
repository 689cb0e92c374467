// The page's context menu: a native popup menu for what is under the pointer, opened
// by a right click in the page, the Menu key or Shift+F10. The engine tells the page
// (its contextmenu event, which the page may take over: then no menu shows); a
// helper in the page reports what the menu is about (a link, a selection, an
// editable field) and where. What the user chooses is done here (copying a link's
// address) or handed back to the view.
#pragma once

#include "giden.h"
#include "yonlendirici.h"

#include <windows.h>

#include <string>
#include <vector>

enum class BaglamKomutu { yeni_sekmede_ac, kes, kopyala, yapistir, tumunu_sec, geri, ileri, yenile };

class BaglamDinleyicisi {
public:
    // False when the host turned the default context menus off.
    virtual bool baglam_menusu_acik_mi() = 0;
    virtual bool gidebilir_mi(int yon) = 0;
    // `adres` is the link's, for opening it.
    virtual void baglam_komutu(BaglamKomutu komut, const std::wstring& adres) = 0;
    virtual bool kapali_mi() const = 0;

protected:
    ~BaglamDinleyicisi() = default;
};

// What the menu is about, as the page's helper reported it (CSS pixels).
struct BaglamBilgisi {
    std::wstring bag;   // the link's address; empty off links
    bool secim = false, duzenlenebilir = false;
    double x = 0, y = 0;
};

class BaglamMenusu {
public:
    BaglamMenusu(Giden& giden, BaglamDinleyicisi& dinleyici, std::string hedef)
        : giden_(giden), dinleyici_(dinleyici), hedef_(std::move(hedef)) {}

    int kur(const Giden::Yanit& yanit);
    void pencere_koy(HWND pencere) { pencere_ = pencere; }
    void oran_koy(double oran) { oran_ = oran; }

    // ---- From the engine: the helper's report of a menu asked for.
    void yonlendir(Yonlendirici& yonlendirici);
    // The right button went down or up in the page (after the page saw it): a new
    // press forgets a report still waiting, the release shows it.
    void sag_dugme(bool basildi);

    // The menu's items for `bilgi` (with `panoda_metin`: the clipboard holds text),
    // as they show; a separator is an empty text. Apart for the tests.
    struct Oge {
        std::wstring metin;
        int komut = 0;   // BaglamKomutu + 1, or kBagKopyala
        bool etkin = true;
    };
    static std::vector<Oge> ogeler(const BaglamBilgisi& bilgi, bool geri, bool ileri, bool panoda_metin);
    static const int kBagKopyala = 100;

private:
    void istendi(const protokol::BindingCalled& cagri);
    void ac(const BaglamBilgisi& bilgi);

    Giden& giden_;
    BaglamDinleyicisi& dinleyici_;
    const std::string hedef_;
    HWND pencere_ = nullptr;
    double oran_ = 1.0;
    bool acik_ = false;   // a menu is open: its loop runs while events keep coming
    // A report that came while the right button was still down: the engine tells
    // the page on the press, the system shows menus on the release.
    bool bekliyor_ = false;
    BaglamBilgisi bekleyen_;
};
