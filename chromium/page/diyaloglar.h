// A page's script dialogs: alert, confirm, prompt, and the question a page may ask
// before it is left (beforeunload). The page waits until the dialog is answered;
// the dialog waits in the host's own message loop, modal to its page alone, so that
// the rest of the program keeps working (other pages paint, the main window moves
// and closes). It is hidden while its view is, and closed without an answer when
// the view closes or the engine closes it itself.
//
// A page that shows dialog after dialog is offered, from the third one of its
// document on, to be stopped; once stopped, its further dialogs are answered at
// once as dismissed (a question about leaving it: leave) until it loads a new
// document. A host that turned the engine's default dialogs off gets every dialog
// answered that way, since this engine raises no event for the host to show its own.
#pragma once

#include "giden.h"
#include "yerel_pencereler.h"

#include <windows.h>

#include <functional>
#include <string>

class DiyalogDinleyicisi {
public:
    // Shows the dialog over the page; answers its window (null when none could be shown).
    virtual HWND diyalog_goster(const yerel::DiyalogIstegi& istek,
                                std::function<void(const yerel::DiyalogYaniti&)> yanit) = 0;
    // False when the host turned the engine's default script dialogs off.
    virtual bool varsayilan_diyaloglar_acik() = 0;

protected:
    ~DiyalogDinleyicisi() = default;
};

class Diyaloglar {
public:
    Diyaloglar(Giden& giden, DiyalogDinleyicisi& dinleyici, std::string cerceve);
    ~Diyaloglar();

    bool acik_mi() const { return pencere_ != nullptr; }
    // The dialog comes to the front (the user went for its page).
    void one_getir();
    void gorunurluk_koy(bool gorunur);
    // Closes the dialog without an answer (the view closes, the page's process died).
    void kapat();

    // ---- From the engine, as the view hands it on: a dialog of the page opens
    // (one that cannot be read is refused, so that the page does not wait for
    // ever), and a new document in a frame. The engine closing a dialog is kapat.
    void acildi(const protokol::JavascriptDialogOpening& olay);
    void okunamayan_acildi() { yanitla(false, std::string()); }
    void belge_acildi(const protokol::Cerceve& cerceve);

private:
    void yanitla(bool kabul, const std::string& metin);

    Giden& giden_;
    DiyalogDinleyicisi& dinleyici_;
    const std::string cerceve_;
    HWND pencere_ = nullptr;
    int sayi_ = 0;               // dialogs shown by the current document
    bool durduruldu_ = false;    // the user stopped this document's dialogs
};

// The origin of an address as a dialog names its page: scheme, host and port for
// a network address, else the address itself (at most 200 characters).
std::wstring adresin_kaynagi(const std::wstring& adres);
