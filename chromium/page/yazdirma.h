// Printing a page: the interface's PrintToPdf (Page.printToPDF, read as a stream
// piece by piece, each read asked for by the answer to the one before, so that a
// long document never holds up the UI thread), and the page's own window.print().
//
// window.print() would open the engine's print preview, which a headless engine
// never shows and never ends (the page stays "being printed" and refuses every
// later printToPDF). So a script in the page's own world of every document, run
// before the page's scripts, replaces window.print in every frame with a function
// that only raises an event on the top window; the helpers' isolated world of the
// top frame hears it and reports it through its binding, which the page cannot
// call. The view then does what the platform engine does with its own print UI:
// it shows the save dialog (always: nothing is written without the user choosing a
// file) and prints there. A same-origin subframe's window.print() prints the page
// (its event reaches the top window), a cross-origin one's does nothing. A request
// while the dialog is open is dropped, and so is one after a dialog closed until
// the user has pressed a button or key in the page: a page cannot keep the window
// behind one dialog after another. A page that raises the event itself asks no
// more than window.print() does.
#pragma once

#include "giden.h"
#include "yonlendirici.h"

#include <windows.h>

#include <functional>
#include <string>

class YazdirmaDinleyicisi {
public:
    // The page called window.print().
    virtual void yazdirma_istendi() = 0;

protected:
    ~YazdirmaDinleyicisi() = default;
};

class Yazdirma {
public:
    Yazdirma(Giden& giden, YazdirmaDinleyicisi& dinleyici, std::string hedef);

    // Sets the page target up; every answer reaches `yanit`. Returns how many.
    int kur(const Giden::Yanit& yanit);

    // Writes the page as a PDF to `yol` (a full path), whole or not at all: under a
    // temporary name beside it, moved into place once complete. `bitti` hears, later
    // and while the view is open, S_OK, the system's error as an HRESULT (a folder
    // that cannot be written, a full disk), or E_FAIL when the engine failed.
    void pdf_yaz(const std::wstring& yol, std::function<void(HRESULT)> bitti);

    // ---- From the engine: the helper's report of the page's window.print().
    void yonlendir(Yonlendirici& yonlendirici);

private:
    Giden& giden_;
    YazdirmaDinleyicisi& dinleyici_;
    const std::string hedef_;
};
