// The native windows a page asks the user through: the list of a <select>, the
// script dialogs (alert, confirm, prompt, leaving a page) and the open-file dialog.
// They know nothing of the engine: each is given what to show and a function that
// hears the user's answer once.
//
// The list and the script dialogs are modeless: they run in the host's own message
// loop, so the rest of the program keeps working while they wait (other pages
// paint, the main window moves and closes). Their keyboard (Tab, Enter, Esc) is
// served by a message hook of this thread while one is open. The open-file dialog
// is the system's modal one. The list and the dialogs use the system's message font
// (which has the screen's size already) and scale their own lengths, given for
// 96 DPI, by their owner window's DPI / 96.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace yerel {

// ---- The list of a <select>.

struct SecenekSatiri {
    std::wstring metin;
    int secenek = -1;      // the option's index in the control; -1 for a group's label
    bool devre_disi = false;
    bool grupta = false;   // an option under a group's label (drawn indented)
};

// Shows the rows below the control (above it when there is no room below) at
// `kontrol`, in screen pixels, with the option `secili` marked. `secildi` runs once,
// from the message loop: with the option chosen, or -1 when the list was left (Esc,
// a click elsewhere, another window taking the keyboard). Null when no window could
// be made (`secildi` is not called then).
HWND secim_listesi_ac(HWND sahip, const RECT& kontrol, std::vector<SecenekSatiri> satirlar, int secili,
                      std::function<void(int secenek)> secildi);
// Where a control of the page (`kontrol`, CSS pixels of the page, `oran` device
// pixels each: the zoom times the screen's scale) is on the screen, the page being
// drawn in `sayfa_penceresi` in device pixels.
RECT kontrolun_ekrandaki_yeri(HWND sayfa_penceresi, const RECT& kontrol, double oran);

// ---- Script dialogs.

enum class DiyalogTuru { UYARI, ONAY, SORU, AYRILMA };

struct DiyalogIstegi {
    DiyalogTuru tur = DiyalogTuru::UYARI;
    std::wstring baslik;       // the page's origin
    std::wstring mesaj;
    std::wstring varsayilan;   // a prompt's text at first
    bool durdurma_kutusu = false;   // offer to stop the page's further dialogs
};

struct DiyalogYaniti {
    bool kabul = false;        // OK or Leave
    std::wstring metin;        // a prompt's text
    bool durdur = false;       // the page may show no more dialogs
};

// Makes the dialog owned by `sahip`, centred over `alan` (screen pixels, the page's
// place) near its top, and shows it with the keyboard unless `gizli` (the page is
// not shown: ShowWindow shows it later). `yanit` runs once, from the message loop,
// when the user answers (Esc and the close box answer as Cancel). Null when no
// window could be made.
HWND diyalog_ac(HWND sahip, const RECT& alan, const DiyalogIstegi& istek, bool gizli,
                std::function<void(const DiyalogYaniti&)> yanit);

// Closes a list or a dialog without an answer: its function is not called.
void pencereyi_kapat(HWND pencere);

// ---- Files.

// The system's open-file dialog, modal to `sahip`; several files when `coklu`.
// With `desenler` ("*.txt;*.png") those files are offered first, all files second.
// False when the user canceled (or the dialog failed); the paths are the system's.
bool dosya_sec(HWND sahip, bool coklu, const std::wstring& desenler, std::vector<std::wstring>* dosyalar);

}  // namespace yerel
