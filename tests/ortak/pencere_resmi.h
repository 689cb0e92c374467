// A window as it paints itself: its client area drawn with WM_PRINTCLIENT into a
// picture of its own, whatever covers it on the screen. For tests that check colours.
#pragma once

#include <windows.h>

namespace korva_test {

class PencereResmi {
public:
    explicit PencereResmi(HWND pencere) {
        GetClientRect(pencere, &alan_);
        ekran_ = GetDC(nullptr);
        dc_ = CreateCompatibleDC(ekran_);
        resim_ = CreateCompatibleBitmap(ekran_, alan_.right, alan_.bottom);
        eski_ = SelectObject(dc_, resim_);
        SendMessageW(pencere, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT);
    }
    ~PencereResmi() {
        SelectObject(dc_, eski_);
        DeleteObject(resim_);
        DeleteDC(dc_);
        ReleaseDC(nullptr, ekran_);
    }
    PencereResmi(const PencereResmi&) = delete;
    PencereResmi& operator=(const PencereResmi&) = delete;

    int genislik() const { return alan_.right; }
    int yukseklik() const { return alan_.bottom; }
    COLORREF piksel(int x, int y) const { return GetPixel(dc_, x, y); }

private:
    RECT alan_ = {};
    HDC ekran_ = nullptr;
    HDC dc_ = nullptr;
    HBITMAP resim_ = nullptr;
    HGDIOBJ eski_ = nullptr;
};

}  // namespace korva_test
