// A page's screen: its size and zoom as the engine lays the page out, the stream of
// frames the engine sends while the view is shown, and painting the newest one.
//
// The page is laid out for the view's size in CSS pixels at the zoom factor, as a
// browser's zoom does (fewer, larger CSS pixels), and its frames come in the view's
// device pixels, so a zoomed page is as sharp as an unzoomed one. Frames flow only
// while the view is shown, has a size and its page's process lives. The engine
// refuses to start a stream that runs: a new size stops the stream first.
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
    int kur(const RECT& alan, const Giden::Yanit& yanit);

    void alan_koy(const RECT& alan);
    // Clamped to what the engine can lay out; true when the factor changed.
    bool yakinlik_koy(double yakinlik);
    void gorunurluk_koy(bool gorunur);
    // The page window exists: frames may flow into it.
    void pencere_hazir(HWND pencere);
    // The page's process died (its frames ended with it), or came back.
    void surec_oldu();
    void surec_dondu();

    // The page's size is given again and its stream started again (after the engine's
    // device pixel ratio changed, which applies only then).
    void yeniden_baslat();

    // A decoded frame for this view, on the UI thread.
    void kare_geldi(std::shared_ptr<Kare> kare);
    void boya(HDC dc, const RECT& alan) const;

    const RECT& alan() const { return alan_; }
    double yakinlik() const { return yakinlik_; }
    bool gorunur() const { return gorunur_; }

private:
    bool olcuyu_gonder(Giden::Yanit yanit = nullptr);
    void akisi_ayarla();

    Giden& giden_;
    HWND pencere_ = nullptr;
    RECT alan_ = {};
    double yakinlik_ = 1.0;
    bool gorunur_ = true;
    bool coktu_ = false;
    // The stream as the engine runs it: its size, or 0x0 when it does not run.
    SIZE akis_ = {};
    std::shared_ptr<Kare> kare_;
};
