// A page's scripts: the helper script the library puts into every new document (in
// an isolated world of its own) and the bindings it reports through (title, the link
// under the pointer, a click that asks for a new window, full screen), the host's own scripts, the
// title, and the windows the page opens.
#pragma once

#include "giden.h"
#include "yardimci_dunya.h"
#include "yonlendirici.h"

#include <windows.h>

#include "wv2_arayuz.h"

#include <string>

// What the scripts hand back to the view.
class BetikDinleyicisi {
public:
    virtual void baslik_degisti() = 0;
    virtual void durum_metni_degisti() = 0;
    // The page asked for a new window (a link with a target, window.open, a middle
    // or Ctrl click); `kullanici` when a click started it.
    // `acilan`: the engine made a popup target for it (a window.open or a link with
    // a target that a click started), held until the host decides.
    virtual void pencere_istendi(const std::wstring& adres, bool kullanici, bool acilan) = 0;
    // An element of the top document entered (true) or left full screen.
    virtual void tam_ekran_degisti(bool tam) = 0;
    // The page's address: the title of a page without one.
    virtual std::wstring sayfa_adresi() const = 0;
    virtual bool kapali_mi() const = 0;

protected:
    ~BetikDinleyicisi() = default;
};

class Betikler {
public:
    // `yardimci`: the view's helpers' world, which this manager's script goes into.
    Betikler(Giden& giden, BetikDinleyicisi& dinleyici, std::string hedef, YardimciBaglam& yardimci);

    // Sets the page target up; every answer reaches `yanit`. Returns how many.
    int kur(const Giden::Yanit& yanit);

    // Reads the document's title (for a page without one the engine's default, the
    // target's title, which is then its address); `sonra` runs once it is known or
    // could not be read, while the view is open. For a new document (`yeni_belge`:
    // a navigation's, or a text put into the one there) whose script has reported
    // its title already, at once.
    void basligi_oku(std::function<void()> sonra, bool yeni_belge);
    // Runs the host's script; the handler gets its value as JSON.
    HRESULT calistir(const std::wstring& betik, ICoreWebView2ExecuteScriptCompletedHandler* isleyici);
    // Ends the full screen of the document's element, if one has it.
    void tam_ekrandan_cik();

    // ---- From the engine: the helper script's bindings and the page's windows.
    void yonlendir(Yonlendirici& yonlendirici);
    // A new document in a frame (navigated to, or a text put into the one there).
    void belge_acildi(const protokol::Cerceve& cerceve);

    const std::wstring& baslik() const { return baslik_; }
    const std::wstring& durum_metni() const { return durum_metni_; }
    // A status-bar text of the library's own (what became of a page's print), shown
    // until the pointer moves over or off a link.
    void durum_metni_koy(std::wstring metin);

private:
    void bag_cagrildi(const protokol::BindingCalled& olay);
    void pencere_acildi(const protokol::WindowOpen& olay);
    void basligi_koy(std::wstring yeni);
    void hedef_basligini_oku(std::function<void()> sonra);

    Giden& giden_;
    BetikDinleyicisi& dinleyici_;
    const std::string hedef_;
    std::wstring baslik_ = L"about:blank";
    std::wstring durum_metni_;
    bool baslik_taze_ = false;   // the current document's script reported its title
    YardimciBaglam& yardimci_;   // the helpers' world in the top frame's document
};
