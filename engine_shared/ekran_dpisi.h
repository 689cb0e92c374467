// The DPI of the monitor a window is on, for both engine libraries: the page's
// scale starts from it, and the engines' own windows are sized by it.
#pragma once

#include <windows.h>

// GetDpiForWindow where the system has it (looked up once: it is missing before
// Windows 10), else the system's DPI; 96 when neither answers.
inline UINT pencerenin_dpisi(HWND pencere)
{
    using DpiIslevi = UINT(WINAPI*)(HWND);
    static const DpiIslevi dpi_islevi = reinterpret_cast<DpiIslevi>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    UINT dpi = dpi_islevi && pencere ? dpi_islevi(pencere) : 0;
    if (dpi == 0) {
        HDC ekran = GetDC(nullptr);
        dpi = ekran ? static_cast<UINT>(GetDeviceCaps(ekran, LOGPIXELSX)) : 0;
        if (ekran)
            ReleaseDC(nullptr, ekran);
    }
    return dpi > 0 ? dpi : 96;
}

// A length given for 96 DPI, at `dpi`.
inline int dpi_ile(int piksel, UINT dpi)
{
    return MulDiv(piksel, static_cast<int>(dpi), 96);
}
