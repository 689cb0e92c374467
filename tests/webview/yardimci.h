// What the web view tests share: pointing the process at the engine of this run
// (the stand-in, or the real one; see ortak/motor_secimi.h) and the stand-in's call
// log, reading that log, pumping until something has happened, and
// running one test of this program again in a child process with other engine
// controls (the engine reads them once, when it loads).
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "ortak/cocuk_surec.h"
#include "ortak/motor_secimi.h"
#include "tr_tipler.h"
#include "wv2_arayuz.h"

// Before the first creation: the call log (unless the environment names one
// already) and the folder under the build folder the engine is loaded from
// (null: do not help the library search at all). By default, this run's engine.
void motoru_hazirla(const wchar_t* klasor = korva_test::motor_klasoru());

// True when the engine keeps the call log that some checks read: the stand-in.
inline bool gunluk_var() { return !korva_test::gercek_motor_mu(); }

// The view's controller as the runtime holds it (null for a missing view): what
// the engine itself reports can be asked of it, with either engine.
ICoreWebView2Controller* denetleyicisi(int64_t gorunum);
// The controller's bounds as "left top right bottom".
std::string denetleyici_siniri(int64_t gorunum);

// Every line of this process's engine log, in order.
std::vector<std::string> gunluk_satirlari();
// The lines about one view ("N ..."), without the number.
std::vector<std::string> gorunum_satirlari(int denetleyici);
// The lines of any view or of the loader that contain `parca`.
int gunluk_sayisi(const std::string& parca);
// The number the engine gave the controller it made last ("N created").
int son_denetleyici();

// Controllers the engine made and has not seen closed.
long long acik_denetleyici_sayisi();

// Dispatches the thread's messages until `kosul` holds (at most about ten seconds,
// only so that a fault cannot hang the run); returns whether it holds.
template <class Kosul>
bool pompala_kadar(Kosul kosul) {
    for (int tur = 0; tur < 2000 && !kosul(); ++tur) {
        MSG mesaj;
        while (PeekMessageW(&mesaj, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&mesaj);
            DispatchMessageW(&mesaj);
        }
        Sleep(5);
    }
    return kosul();
}

// Dispatches what the thread's queue holds now and what follows within a few
// rounds: enough for sizing and for the engine's already posted deliveries.
void bekleyenleri_isle();

// A text result as a string, freeing it; checks the zero byte after it.
std::string metin_al_birak(TrMetin metin);

// One test of this program run in a child process. `kontroller` is the child's
// KORVA_STANDIN; `klasor`, when given, is a folder holding a copy of this program
// to run instead of the original.
struct Cocuk {
    korva_test::CocukSurec surec;
    std::wstring test;
    std::wstring rapor;
};
Cocuk cocugu_baslat(const std::wstring& test, const std::wstring& kontroller,
                    const std::wstring& klasor = L"");
// Waits for the child; expects exit code 0 and a report of exactly one test passed.
void cocugu_bekle(Cocuk& cocuk);

std::wstring gecici_klasor(const std::wstring& ad);
