// The delivery queue. The real engine answers from other processes and reaches the
// host's thread through its message queue; this one does the same with a
// message-only window: work is queued here, a posted message (or, with a delay, a
// timer) wakes the window, and its window procedure runs the work that is due.
//
// Each wake-up runs only the items that were queued before it began, so a handler
// that queues more (a reload from inside NavigationCompleted, say) cannot keep one
// DispatchMessageW call busy for ever.
#include "motor_ic.h"

#include <deque>

struct Teslimat {
    DWORD zaman;               // GetTickCount when due
    const void* sahip;
    std::function<void()> is;
};

static const wchar_t DAGITICI_SINIFI[] = L"KorvaStandinDagitici";
static const UINT WM_TESLIMAT = WM_APP + 1;
static const UINT_PTR ZAMANLAYICI = 1;

static std::deque<Teslimat> g_kuyruk;
static HWND g_dagitici;
static DWORD g_is_parcacigi;

static bool vakti_geldi_mi(DWORD zaman, DWORD simdi)
{
    return static_cast<LONG>(simdi - zaman) >= 0;
}

static void kuyrugu_isle()
{
    KillTimer(g_dagitici, ZAMANLAYICI);
    size_t sayi = g_kuyruk.size();
    for (size_t i = 0; i < sayi && !g_kuyruk.empty(); ++i) {
        DWORD simdi = GetTickCount();
        if (!vakti_geldi_mi(g_kuyruk.front().zaman, simdi)) {
            SetTimer(g_dagitici, ZAMANLAYICI, g_kuyruk.front().zaman - simdi, nullptr);
            return;
        }
        Teslimat teslimat = std::move(g_kuyruk.front());
        g_kuyruk.pop_front();
        try {
            teslimat.is();
        } catch (...) {
            // Out of memory inside one delivery: drop that delivery, keep the engine.
        }
    }
    if (!g_kuyruk.empty())
        PostMessageW(g_dagitici, WM_TESLIMAT, 0, 0);
}

static LRESULT CALLBACK dagitici_wndproc(HWND pencere, UINT mesaj, WPARAM w, LPARAM l)
{
    switch (mesaj) {
    case WM_TESLIMAT:
    case WM_TIMER:
        kuyrugu_isle();
        return 0;
    }
    return DefWindowProcW(pencere, mesaj, w, l);
}

HRESULT dagitici_hazirla()
{
    if (g_dagitici)
        return dogru_is_parcacigi() ? S_OK : RPC_E_WRONG_THREAD;
    WNDCLASSEXW sinif = {};
    sinif.cbSize = sizeof sinif;
    sinif.lpfnWndProc = dagitici_wndproc;
    sinif.hInstance = g_modul;
    sinif.lpszClassName = DAGITICI_SINIFI;
    RegisterClassExW(&sinif);
    g_dagitici = CreateWindowExW(0, DAGITICI_SINIFI, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE,
                                 nullptr, g_modul, nullptr);
    if (!g_dagitici)
        return HRESULT_FROM_WIN32(GetLastError());
    g_is_parcacigi = GetCurrentThreadId();
    return S_OK;
}

bool dogru_is_parcacigi()
{
    return g_dagitici && GetCurrentThreadId() == g_is_parcacigi;
}

void teslim_et(const void* sahip, std::function<void()> is)
{
    g_kuyruk.push_back(Teslimat{GetTickCount() + g_denetim.gecikme, sahip, std::move(is)});
    PostMessageW(g_dagitici, WM_TESLIMAT, 0, 0);
}

void sahibin_teslimatlarini_sil(const void* sahip)
{
    // Moved out first: destroying an item releases the handlers it holds, and their
    // Release may call back into the engine.
    std::deque<Teslimat> silinecekler;
    for (auto it = g_kuyruk.begin(); it != g_kuyruk.end();) {
        if (it->sahip == sahip) {
            silinecekler.push_back(std::move(*it));
            it = g_kuyruk.erase(it);
        } else {
            ++it;
        }
    }
}
