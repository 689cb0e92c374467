// The pointer's shape over a page: hand over links, I-beam over text, and whatever
// else the page's CSS asks for. A helper in the page works out the shape on the
// user's own pointer moves and reports it only when it changes, so a pointer that
// stands still costs nothing, and one that moves costs a message per change of
// shape. The page window shows it on WM_SETCURSOR.
#pragma once

#include "giden.h"
#include "yonlendirici.h"

#include <windows.h>

#include <string>

// The system cursor for a CSS cursor value ("pointer", "text", "url(x.cur), wait"...):
// the first keyword of the list this system has; the arrow for anything else, null
// for "none".
HCURSOR css_imleci(const std::string& deger);

class Imlec {
public:
    Imlec(Giden& giden, std::string hedef) : giden_(giden), hedef_(std::move(hedef)) {}

    int kur(const Giden::Yanit& yanit);
    void pencere_koy(HWND pencere) { pencere_ = pencere; }

    // ---- From the engine: the helper's report of the cursor the page shows.
    void yonlendir(Yonlendirici& yonlendirici);

    // WM_SETCURSOR of the page window: true when it set the cursor.
    bool ayarla(LPARAM bilgi);
    HCURSOR imlec() const { return imlec_; }

private:
    void bildirildi(const protokol::BindingCalled& cagri);

    Giden& giden_;
    const std::string hedef_;
    HWND pencere_ = nullptr;
    HCURSOR imlec_ = LoadCursorW(nullptr, IDC_ARROW);
};
