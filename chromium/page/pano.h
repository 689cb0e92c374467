// The system clipboard for a page: what the page copies or cuts (the keyboard, the
// context menu, or its own copy command) goes to the Windows clipboard as text and
// HTML, and a paste puts the Windows clipboard's text into the page's focused
// field. The engine keeps a clipboard of its own that no other program sees; here
// it is bypassed both ways.
#pragma once

#include "giden.h"
#include "yardimci_dunya.h"
#include "yonlendirici.h"

#include <windows.h>

#include <string>

// The Windows clipboard itself. Writing replaces what is there (with `html` too
// when not empty, as "HTML Format"); false when the clipboard could not be had.
bool panoya_yaz(HWND sahip, const std::wstring& metin, const std::string& html);
// The clipboard's text; empty when it holds none or could not be opened.
std::wstring panodan_oku(HWND sahip);

class Pano {
public:
    // `baglam`: the view's helpers' world, where the paste runs.
    Pano(Giden& giden, std::string hedef, const YardimciBaglam& baglam)
        : giden_(giden), hedef_(std::move(hedef)), baglam_(baglam)
    {
    }

    int kur(const Giden::Yanit& yanit);
    void pencere_koy(HWND pencere) { pencere_ = pencere; }

    // Pastes the clipboard's text into the page's focused element: the page sees a
    // paste event it may take over; else the text is inserted as if typed. With the
    // focus inside a frame the top document sees nothing: the engine's own text
    // input puts the text into the focused frame's focused element (no paste event
    // there). False when there was nothing to paste or no document to paste into.
    bool yapistir();

    // ---- From the engine: the helper's report of a copy.
    void yonlendir(Yonlendirici& yonlendirici);

private:
    void kopyalandi(const protokol::BindingCalled& cagri);

    Giden& giden_;
    const std::string hedef_;
    const YardimciBaglam& baglam_;
    HWND pencere_ = nullptr;
};
