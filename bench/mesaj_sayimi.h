// Counts of the window messages that tell how much work the screen took: paints,
// background erasures, frame paints, window moves and window creations, per window
// class. Unlike times, these do not depend on the machine's load, so they back a
// claim about drawing with the same figure on every run.
//
// Used by korva_bench and yalin_agac when KORVA_BENCH_SAYIM is set: counting starts
// with `sayima_basla` and `sayimi_yaz(name)` prints one line per message and class,
// "name_message_class count adet", then starts again from zero. The counts are
// taken on the calling thread by two hooks: sent messages (a paint forced by
// UpdateWindow or RedrawWindow, erasures, moves) and messages taken from the queue
// (a paint at the next pass).
#pragma once

#include <windows.h>

#include <cstdio>
#include <map>
#include <string>

namespace olcum {

struct MesajSayimi {
    static constexpr UINT kMesajlar[] = {WM_PAINT, WM_ERASEBKGND, WM_NCPAINT, WM_WINDOWPOSCHANGED, WM_CREATE};
    static constexpr const char* kAdlar[] = {"boya", "sil", "cerceve", "yer", "yarat"};
    std::map<std::string, int> sayilar[5];
    HHOOK gonderilen = nullptr;
    HHOOK alinan = nullptr;
};

inline MesajSayimi& mesaj_sayimi() {
    static MesajSayimi sayim;
    return sayim;
}

inline bool sayim_istendi() { return GetEnvironmentVariableA("KORVA_BENCH_SAYIM", nullptr, 0) > 0; }

inline void mesaji_say(HWND hwnd, UINT mesaj) {
    MesajSayimi& sayim = mesaj_sayimi();
    for (int i = 0; i < 5; ++i) {
        if (MesajSayimi::kMesajlar[i] != mesaj) continue;
        char sinif[64] = "?";
        GetClassNameA(hwnd, sinif, sizeof(sinif));
        sayim.sayilar[i][sinif] += 1;
    }
}

inline LRESULT CALLBACK gonderilen_kancasi(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HC_ACTION) {
        const CWPSTRUCT* mesaj = reinterpret_cast<const CWPSTRUCT*>(lparam);
        mesaji_say(mesaj->hwnd, mesaj->message);
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

inline LRESULT CALLBACK alinan_kancasi(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HC_ACTION && wparam == PM_REMOVE) {
        const MSG* mesaj = reinterpret_cast<const MSG*>(lparam);
        // Only a paint is dispatched from the queue among the counted messages.
        if (mesaj->message == WM_PAINT) mesaji_say(mesaj->hwnd, mesaj->message);
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

inline void sayima_basla() {
    if (!sayim_istendi()) return;
    MesajSayimi& sayim = mesaj_sayimi();
    for (auto& sayilar : sayim.sayilar) sayilar.clear();
    if (sayim.gonderilen != nullptr) return;
    sayim.gonderilen = SetWindowsHookExW(WH_CALLWNDPROC, gonderilen_kancasi, nullptr, GetCurrentThreadId());
    sayim.alinan = SetWindowsHookExW(WH_GETMESSAGE, alinan_kancasi, nullptr, GetCurrentThreadId());
}

inline void sayimi_yaz(const char* ad) {
    if (!sayim_istendi()) return;
    MesajSayimi& sayim = mesaj_sayimi();
    for (int i = 0; i < 5; ++i) {
        int toplam = 0;
        for (const auto& [sinif, sayi] : sayim.sayilar[i]) {
            std::printf("%s_%s_%s %d adet\n", ad, MesajSayimi::kAdlar[i], sinif.c_str(), sayi);
            toplam += sayi;
        }
        std::printf("%s_%s_toplam %d adet\n", ad, MesajSayimi::kAdlar[i], toplam);
    }
    std::fflush(stdout);
    for (auto& sayilar : sayim.sayilar) sayilar.clear();
}

}  // namespace olcum
