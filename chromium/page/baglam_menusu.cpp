// The page's context menu (see baglam_menusu.h).
#include "baglam_menusu.h"
#include "metinler.h"
#include "motor_ic.h"
#include "pano.h"
#include "yardimci_dunya.h"

#include <algorithm>
#include <cmath>

using namespace protokol;

static const char BAGLAM_BAGI[] = "__korvaBaglam";

// On the user's own contextmenu event (a right click, the Menu key): what is under
// it, noted before the page's handlers can change it, and reported once the event
// is over unless the page took it over.
static const char BAGLAM_BETIGI[] = R"JS((() => {
  if (window !== window.top) return;
  const bildir = window.__korvaBaglam;
  const duzenlenebilir = (n) => {
    if (!(n instanceof Element)) return false;
    if (n.isContentEditable) return true;
    if (n.tagName === 'TEXTAREA') return !n.disabled && !n.readOnly;
    if (n.tagName !== 'INPUT' || n.disabled || n.readOnly) return false;
    return /^(text|search|url|tel|email|password|number)$/.test(n.type);
  };
  window.addEventListener('contextmenu', (e) => {
    if (!e.isTrusted) return;
    const yol = e.composedPath();
    const hedef = yol[0];
    let bag = '';
    for (const n of yol)
      if (n instanceof Element && (n.tagName === 'A' || n.tagName === 'AREA') && n.href) { bag = String(n.href); break; }
    let secim = false;
    if (hedef && (hedef.tagName === 'INPUT' || hedef.tagName === 'TEXTAREA')) {
      try { secim = hedef.selectionStart !== hedef.selectionEnd; } catch (x) {}
    } else {
      const s = getSelection();
      secim = !!s && !s.isCollapsed && s.toString() !== '';
    }
    const bilgi = {bag, secim, duzenlenebilir: duzenlenebilir(hedef), x: e.clientX, y: e.clientY};
    setTimeout(() => { if (!e.defaultPrevented) try { bildir(JSON.stringify(bilgi)); } catch (x) {} }, 0);
  }, true);
})();)JS";

int BaglamMenusu::kur(const Giden::Yanit& yanit)
{
    return yardimci_betik_kur(giden_, hedef_, BAGLAM_BETIGI, {BAGLAM_BAGI}, yanit);
}

void BaglamMenusu::yonlendir(Yonlendirici& yonlendirici)
{
    yonlendirici.bag_sahiplen(BAGLAM_BAGI, [this](const BindingCalled& cagri) { istendi(cagri); });
}

void BaglamMenusu::istendi(const BindingCalled& olay)
{
    Json deger = Json::parse(olay.payload.substr(0, 64 * 1024), nullptr, false);
    if (!deger.is_object())
        return;
    BaglamBilgisi bilgi;
    auto bag = deger.find("bag");
    if (bag != deger.end() && bag->is_string())
        bilgi.bag = utf8_den(bag->get<std::string>());
    auto dogru = [&deger](const char* ad) {
        auto bulunan = deger.find(ad);
        return bulunan != deger.end() && bulunan->is_boolean() && bulunan->get<bool>();
    };
    auto sayi = [&deger](const char* ad) {
        auto bulunan = deger.find(ad);
        double d = bulunan != deger.end() && bulunan->is_number() ? bulunan->get<double>() : 0;
        return std::isfinite(d) ? d : 0;
    };
    bilgi.secim = dogru("secim");
    bilgi.duzenlenebilir = dogru("duzenlenebilir");
    bilgi.x = sayi("x");
    bilgi.y = sayi("y");
    if (GetKeyState(VK_RBUTTON) < 0) {
        bekleyen_ = bilgi;
        bekliyor_ = true;
    } else {
        ac(bilgi);
    }
}

void BaglamMenusu::sag_dugme(bool basildi)
{
    if (!bekliyor_)
        return;
    bekliyor_ = false;
    if (!basildi)
        ac(bekleyen_);
}

std::vector<BaglamMenusu::Oge> BaglamMenusu::ogeler(const BaglamBilgisi& bilgi, bool geri, bool ileri,
                                                    bool panoda_metin)
{
    auto komut = [](BaglamKomutu k) { return static_cast<int>(k) + 1; };
    std::vector<Oge> liste;
    if (!bilgi.bag.empty()) {
        liste.push_back({metin(Metin::bagi_yeni_sekmede_ac), komut(BaglamKomutu::yeni_sekmede_ac)});
        liste.push_back({metin(Metin::bag_adresini_kopyala), kBagKopyala});
        liste.push_back({});
    }
    if (bilgi.duzenlenebilir) {
        liste.push_back({metin(Metin::kes), komut(BaglamKomutu::kes), bilgi.secim});
        liste.push_back({metin(Metin::kopyala), komut(BaglamKomutu::kopyala), bilgi.secim});
        liste.push_back({metin(Metin::yapistir), komut(BaglamKomutu::yapistir), panoda_metin});
        liste.push_back({metin(Metin::tumunu_sec), komut(BaglamKomutu::tumunu_sec)});
        liste.push_back({});
    } else if (bilgi.secim) {
        liste.push_back({metin(Metin::kopyala), komut(BaglamKomutu::kopyala)});
        liste.push_back({});
    }
    liste.push_back({metin(Metin::geri), komut(BaglamKomutu::geri), geri});
    liste.push_back({metin(Metin::ileri), komut(BaglamKomutu::ileri), ileri});
    liste.push_back({metin(Metin::yenile), komut(BaglamKomutu::yenile)});
    return liste;
}

void BaglamMenusu::ac(const BaglamBilgisi& bilgi)
{
    // One menu at a time: a report that comes while one is open (its loop runs the
    // engine's events too) is dropped.
    if (acik_ || !pencere_ || !IsWindowVisible(pencere_) || !dinleyici_.baglam_menusu_acik_mi())
        return;
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return;
    for (const Oge& oge : ogeler(bilgi, dinleyici_.gidebilir_mi(-1), dinleyici_.gidebilir_mi(+1),
                                 IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE)) {
        if (oge.metin.empty())
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuW(menu, MF_STRING | (oge.etkin ? 0 : MF_GRAYED), oge.komut, oge.metin.c_str());
    }
    // At the place the page names (the pointer's, or the focused element's for the
    // keyboard), kept inside the page window.
    RECT alan;
    GetClientRect(pencere_, &alan);
    POINT yer = {static_cast<LONG>(std::lround(bilgi.x * oran_)), static_cast<LONG>(std::lround(bilgi.y * oran_))};
    yer.x = std::max(alan.left, std::min(yer.x, alan.right - 1));
    yer.y = std::max(alan.top, std::min(yer.y, alan.bottom - 1));
    ClientToScreen(pencere_, &yer);
    // The menu closes on a click elsewhere only when its owner's window is in front.
    SetForegroundWindow(GetAncestor(pencere_, GA_ROOT));
    acik_ = true;
    int secilen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, yer.x, yer.y, 0, pencere_,
                                 nullptr);
    acik_ = false;
    DestroyMenu(menu);
    if (secilen <= 0 || dinleyici_.kapali_mi())
        return;
    if (secilen == kBagKopyala)
        panoya_yaz(pencere_, bilgi.bag, std::string());
    else
        dinleyici_.baglam_komutu(static_cast<BaglamKomutu>(secilen - 1), bilgi.bag);
}
