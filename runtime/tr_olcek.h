// Screen density: every size of Korva's interface is given in pixels at 96 dots per
// inch and turned into pixels of the screen here, in one place, so that widgets, the
// window runtime and the program round the same way.
//
// A density (dpi) is 96 at 100%, 120 at 125%, 144 at 150% and so on. A size is
// scaled by dpi / 96 and rounded to the nearest pixel, halves away from zero; at 96
// it is returned as it is. A density outside kTrEnAzDpi..kTrEnCokDpi (0 or less, a
// value no screen has) counts as 96, so a bad density never makes a size vanish or
// overflow.
#pragma once

#include <windows.h>

#include <stdint.h>

constexpr int32_t kTrTemelDpi = 96;
constexpr int32_t kTrEnAzDpi = 48;
constexpr int32_t kTrEnCokDpi = 960;

// The density itself when it is in range, else 96.
inline int32_t tr_gecerli_dpi(int64_t dpi) {
    return (dpi >= kTrEnAzDpi && dpi <= kTrEnCokDpi) ? static_cast<int32_t>(dpi) : kTrTemelDpi;
}

// Sizes are held to +-2^50 before they are multiplied, far past any screen, so
// that no product overflows.
constexpr int64_t kTrBoyutSiniri = int64_t{1} << 50;
inline int64_t tr_boyut_siniri_icinde(int64_t boyut) {
    return boyut > kTrBoyutSiniri ? kTrBoyutSiniri : boyut < -kTrBoyutSiniri ? -kTrBoyutSiniri : boyut;
}

// `deger` times pay / payda, rounded once to the nearest whole number (halves away
// from zero); `deger` is held within the size limit first, so nothing overflows.
inline int64_t tr_oranla(int64_t deger, int64_t pay, int64_t payda) {
    const int64_t carpim = tr_boyut_siniri_icinde(deger) * pay;
    return carpim >= 0 ? (carpim + payda / 2) / payda : -((-carpim + payda / 2) / payda);
}

// A size at 96 dpi in pixels at `dpi`.
inline int64_t tr_olcekle(int64_t boyut, int64_t dpi) {
    const int64_t gecerli = tr_gecerli_dpi(dpi);
    return gecerli == kTrTemelDpi ? boyut : tr_oranla(boyut, gecerli, kTrTemelDpi);
}

// The other way: pixels at `dpi` as a size at 96 dpi (a drag measured on the screen
// turned into a size the interface keeps).
inline int64_t tr_olcekten_geri(int64_t piksel, int64_t dpi) {
    const int64_t gecerli = tr_gecerli_dpi(dpi);
    return gecerli == kTrTemelDpi ? piksel : tr_oranla(piksel, kTrTemelDpi, gecerli);
}

// The system's density, read once per process (Windows and Wine fix it at the
// start of a process): GetDpiForSystem where the system has it, else the screen's
// LOGPIXELSX. Always in range (96 when neither answers).
int32_t tr_sistem_dpi();

// The density of a window: GetDpiForWindow where the system has it (the monitor's
// for a program aware of each monitor), else the system's. 96 for a null window.
int32_t tr_pencere_dpi_oku(HWND pencere);
