// What the robustness tests share: texts that end right before an unreadable page,
// the browser started once in this process on the stand-in engine, one pass of its
// loop, real clicks on its controls, the invariants that tie its tabs, its pairing
// table and its web views together, and child processes of this same program.
//
// The program runs in two roles. Run by ctest it is the parent: it runs the
// in-process tests and starts children for what must run in a fresh process (the
// sweep of bad input, one child per failure control of the stand-in engine). A
// child is this program started with KORVA_ROBUST_COCUK set and a filter naming
// its tests, whose suite names end in "Cocuk"; the parent never runs those itself.
#pragma once

#include <windows.h>

#include <stdint.h>

#include <string>
#include <vector>

#include "ortak/cocuk_surec.h"

// ---- Texts ------------------------------------------------------------------------

// Bytes placed so that the byte after the last one lies on a page the process may
// not read: an entry point that reads past the length it was given crashes at once
// instead of reading a neighbour's memory unnoticed.
class KorumaliMetin {
public:
    explicit KorumaliMetin(const std::string& bytes);
    ~KorumaliMetin();
    KorumaliMetin(const KorumaliMetin&) = delete;
    KorumaliMetin& operator=(const KorumaliMetin&) = delete;

    const char* ptr() const { return bytes_; }
    int64_t len() const { return length_; }

private:
    char* block_ = nullptr;
    size_t block_size_ = 0;
    char* bytes_ = nullptr;
    int64_t length_ = 0;
};

// One bad text: its name, and the pointer and length an entry point receives.
struct KotuMetin {
    const char* ad;
    const char* ptr;
    int64_t len;
    // What the text holds once read up to its first zero byte, as a correct entry
    // point that converts to UTF-16 sees it (the empty string for the empty texts).
    std::string okunan;
};

// The texts every text argument is tried with: the empty text with a pointer, a
// null pointer with a positive length, invalid UTF-8, a zero byte inside, 1 MiB.
const std::vector<KotuMetin>& kotu_metinler();

constexpr int64_t kMebibayt = 1 << 20;

// Every id argument is tried with these, around a table of `count` records.
std::vector<int64_t> kotu_kimlikler(int64_t count);

// True when the bytes are well-formed UTF-8.
bool gecerli_utf8(const char* bytes, int64_t length);

// ---- The browser in this process --------------------------------------------------

// Loads the stand-in engine from the build folder, so that the web view runtime's
// own load by name finds it. Its failure controls are read from KORVA_STANDIN now.
bool motoru_yukle();
// Controllers the stand-in engine made and has not seen closed; -1 without it.
int64_t acik_denetleyiciler();

// Starts the browser once (start-up as korva.exe runs it); later calls do nothing.
void korvayi_baslat();
// One pass of the browser's loop, as korva.exe runs it, without the wait for input.
void tur();
// Passes until the selected tab's web view has completed a navigation, or `most`
// passes (each followed by a short wait for input) have gone by.
void yuklenene_kadar(int most = 500);
// Passes until more than `once` tabs have been closed (a closed tab's page agrees
// first, after a trip to an empty page), or `most` passes have gone by.
void kapanana_kadar(int64_t once, int most = 500);

HWND widget_penceresi(int64_t widget);
HWND ana_pencere_hwnd();
std::wstring pencere_metni(HWND hwnd);

// A click on a button as a user's: the button handles a posted BM_CLICK in the pump.
// The menu that the menu button opens is closed again at once.
void dugmeye_tikla(int64_t button);
// Enter typed into the address entry after its text was replaced with `text`.
void adres_yaz_enter(const std::wstring& text);
// The native item rectangle of a tab, in the strip's client coordinates.
bool sekme_dikdortgeni(int position, RECT* rect);
// Whether a tab lies wholly inside the strip's visible client area (not scrolled
// away, not under the scroll arrows).
bool sekme_gorunur(int position);
// A left press and release on a tab's close mark, or on its middle (selects it).
void kapatma_isaretine_tikla(int position);
void sekmeye_tikla(int position);
// How many tabs the native control holds.
int native_sekme_sayisi();

// The invariants of the browser's tabs; empty when they hold, else the first one
// broken. Tab count, pairing table, native control and strip record agree; each
// open tab has its own live web view whose host window is that tab's page; only
// the selected tab's page is visible; at most 64 tabs and 65 open controllers.
std::string sekme_degismezleri();

// How many widgets are registered, as the widget runtime's lookups report it.
int64_t widget_sayisi();

// ---- Child processes --------------------------------------------------------------

// A child run of this program: the tests named by `filter`, with KORVA_STANDIN set
// to `standin_controls` (empty: unset), standard input fed from `input`.
class Cocuk {
public:
    Cocuk(const std::string& filter, const std::string& standin_controls,
          const std::string& input = std::string());
    ~Cocuk();
    Cocuk(const Cocuk&) = delete;
    Cocuk& operator=(const Cocuk&) = delete;

    bool basladi() const { return process_.basladi(); }
    // Waits for the child and collects its output; the exit code, or a negative
    // number when it did not finish in `limit_ms` (it is then ended).
    long bekle(DWORD limit_ms);
    const std::string& cikti() const { return out_; }
    const std::string& hata_ciktisi() const { return err_; }

private:
    korva_test::CocukSurec process_;
    HANDLE readers_[3] = {};
    std::string out_;
    std::string err_;
    std::string input_;
    HANDLE out_read_ = nullptr;
    HANDLE err_read_ = nullptr;
    HANDLE in_write_ = nullptr;
};

// True in a child run.
bool cocuk_mu();

// The children of a parent run. Each is started when the run begins, so that it
// works while the parent runs its own tests, and only when the parent test that
// reads it (`okuyan_test`, "Suite.Name") is going to run.
struct CocukTanimi {
    std::string ad;
    std::string okuyan_test;
    std::string filter;
    std::string standin_controls;
    std::string input;
};
const std::vector<CocukTanimi>& cocuk_tanimlari();
// Starts the children whose reading test is selected (ana.cpp, once per run).
void cocuklari_baslat();
// The child of that name, or null when it was not started.
Cocuk* cocuk(const std::string& ad);

// What the parent reads from its children, as the last tests of a run.
void girdi_cocugunu_denetle();
void sekme_cocugunu_denetle();
void motor_cocuklarini_denetle();
