// A page's screen: its size and zoom as the engine lays the page out, the stream of
// frames the engine sends while the view is shown, and painting the newest one.
//
// The page is laid out for the view's size in CSS pixels at the zoom factor times
// the screen's scale (the host's rasterization scale, its window's DPI / 96), as a
// browser's zoom does (fewer, larger CSS pixels), and its frames come in the view's
// device pixels, so a zoomed page, or one on a screen of 150%, is as sharp as an
// unzoomed one at 96 DPI: the page's devicePixelRatio is that product. Frames flow only
// while the view is shown, has a size, its page window is on screen and its page's
// process lives. The engine refuses to start a stream that runs: a new size stops
// the stream first.
//
// Changes reach the engine later, from the message loop, all at once: a host shows
// a new tab's view and sizes it in two calls (and places it in a hidden host window
// of another size before), and every size and stream given on the way would make
// the engine's page lay out and start its frames again before it can show the
// page. A size waits while the page window is not on screen at all; any other
// command of the view's sends it first, so the page never answers at a size the
// host did not give it last.
//
// A stream's first frame is the engine's promise that the page is on screen at the
// size given; a static page sends nothing after it. Under load the engine was seen
// to drop that frame now and then (a stream stopped and started again while the
// page drew), or to send one of the size before, and the view then kept a stale or
// stretched picture for good. So a stream whose frame of the size asked for has not
// come after a while is started again, a few times, waiting longer each time.
//
// A target answers its setup only once its renderer runs, and refuses a stream
// asked for before that ("Not attached to an active page"): the stream waits until
// the target is set up. A new tab's view is set up before it is placed; a view
// moved to a fresh target (a page that stopped answering) may be shown meanwhile.
#pragma once

#include "giden.h"

#include <windows.h>

#include <memory>

struct Kare;

class Ekran {
public:
    explicit Ekran(Giden& giden);

    // The size the page is laid out for while the target is set up (none when
    // empty); the answer reaches `yanit`. Returns how many answers to wait for.
    // Frames wait until `kuruldu`.
    int kur(const RECT& alan, const Giden::Yanit& yanit);
    // Every answer of the target's setup is in: its frames may flow.
    void kuruldu();

    void alan_koy(const RECT& alan);
    // Clamped to what the engine can lay out; true when the factor changed.
    bool yakinlik_koy(double yakinlik);
    // The screen's scale (a finite factor above 0); true when it changed.
    bool olcek_koy(double olcek);
    void gorunurluk_koy(bool gorunur);
    // The page window exists: frames may flow into it.
    void pencere_hazir(HWND pencere);
    // The page window is painted: it may have come on screen with its host, which
    // no call of the host's need tell. True when its frames are to start now.
    bool pencere_boyaniyor();
    // The view can take frames: shown, sized, its page window on screen.
    bool ekranda() const;
    // A size not yet given to the engine goes now (before another command of the view).
    void bekleyen_olcuyu_gonder();
    // The page's process died (its frames ended with it), or came back.
    void surec_oldu();
    void surec_dondu();
    // The view moved to another live target (a page's popup it took): no stream of
    // it runs yet, and what was on its way belonged to the old one.
    void hedef_degisti();

    // The page's size is given again and its stream started again (after the engine's
    // device pixel ratio changed, which applies only then).
    void yeniden_baslat();

    // A decoded frame for this view, on the UI thread.
    void kare_geldi(std::shared_ptr<Kare> kare);
    // A new picture of the page is due (a load completed): the engine is drawing
    // until its frame is in.
    void resim_bekleniyor() { resim_bekleniyor_ = true; }
    // The engine is drawing this view's page: its frames run and the picture due has
    // not come yet, or frames came within the last `sessizlik_ms`.
    bool ciziliyor(ULONGLONG simdi, ULONGLONG sessizlik_ms) const;
    void boya(HDC dc, const RECT& alan) const;

    const RECT& alan() const { return alan_; }
    double yakinlik() const { return yakinlik_; }
    // Device pixels per CSS pixel: the zoom times the screen's scale.
    double oran() const { return yakinlik_ * olcek_; }
    bool gorunur() const { return gorunur_; }

private:
    // The size and scale the page is to be laid out at; false when it has no size.
    bool olcu(protokol::SetDeviceMetricsOverride* olcu) const;
    bool olcuyu_gonder(Giden::Yanit yanit);
    void planla();
    void uygula();
    SIZE istenen_akis() const;
    void akisi_ayarla();
    // The newest frame is of the size the view shows one to one.
    bool kare_uyuyor() const;
    void resmi_denetle(uint64_t akis);

    Giden& giden_;
    HWND pencere_ = nullptr;
    RECT alan_ = {};
    double yakinlik_ = 1.0;
    double olcek_ = 1.0;
    bool gorunur_ = true;
    bool coktu_ = false;
    bool kurulu_ = false;   // the target answered its setup
    // The stream as the engine runs it: its size, or 0x0 when it does not run.
    SIZE akis_ = {};
    // The size the engine was given last (width 0: none, or to be given again).
    protokol::SetDeviceMetricsOverride gonderilen_olcu_;
    bool planli_ = false;   // uygula() is on its way
    bool resim_bekleniyor_ = false;
    uint64_t akis_sirasi_ = 0;     // counts the streams started
    unsigned yeniden_denemeler_ = 0;   // streams started again since the last change or fitting frame
    ULONGLONG son_kare_ani_ = 0;   // GetTickCount64() as the last frame came
    std::shared_ptr<Kare> kare_;
};
