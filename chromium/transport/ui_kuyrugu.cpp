// The UI thread's work queue (see ui_kuyrugu.h). Other threads append work and post
// one wake message; the window procedure runs the work in order. Work is taken one
// piece at a time, so a callback that pumps messages (a modal dialog) keeps the order
// too.
#include "ui_kuyrugu.h"

#include <atomic>
#include <deque>
#include <mutex>

namespace {

constexpr UINT WM_KORVA_UYAN = WM_APP + 1;

struct UiKuyrugu {
    std::mutex kilit;
    std::deque<std::function<void()>> isler;
    bool uyandirma_bekliyor = false;
    HWND pencere = nullptr;
};

// Never freed: work may still be queued while the process exits, and static
// destructors must not race the threads that are killed at that moment.
UiKuyrugu& kuyruk()
{
    static UiKuyrugu* tek = new UiKuyrugu;
    return *tek;
}

// Set when this module's static objects are destroyed (the process is ending, or
// a program that links these files statically returns from main).
std::atomic<bool> kutuphane_gidiyor{false};
struct KutuphaneBekcisi {
    ~KutuphaneBekcisi() { kutuphane_gidiyor = true; }
} kutuphane_bekcisi;

void kuyrugu_bosalt()
{
    UiKuyrugu& k = kuyruk();
    {
        std::lock_guard<std::mutex> kilit(k.kilit);
        k.uyandirma_bekliyor = false;
    }
    for (;;) {
        std::function<void()> is;
        {
            std::lock_guard<std::mutex> kilit(k.kilit);
            if (k.isler.empty())
                return;
            is = std::move(k.isler.front());
            k.isler.pop_front();
        }
        // An exception must not cross the window procedure into the host's loop.
        try {
            is();
        } catch (...) {
        }
    }
}

LRESULT CALLBACK ui_pencere_yordami(HWND pencere, UINT ileti, WPARAM w, LPARAM l)
{
    if (ileti == WM_KORVA_UYAN) {
        kuyrugu_bosalt();
        return 0;
    }
    return DefWindowProcW(pencere, ileti, w, l);
}

HMODULE bu_modul()
{
    HMODULE modul = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&bu_modul), &modul);
    return modul;
}

}  // namespace

bool surec_bitiyor()
{
    using Islev = BOOLEAN(NTAPI*)();
    static const Islev rtl_bitiyor_mu = reinterpret_cast<Islev>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlDllShutdownInProgress")));
    return kutuphane_gidiyor || (rtl_bitiyor_mu != nullptr && rtl_bitiyor_mu());
}

// Creates the queue's window on the calling thread, which becomes the UI thread.
bool ui_penceresi_kur()
{
    UiKuyrugu& k = kuyruk();
    {
        std::lock_guard<std::mutex> kilit(k.kilit);
        if (k.pencere != nullptr)
            return true;
    }
    // The window procedure and the threads run this module's code: it must stay
    // loaded for the rest of the process, whatever the host does with FreeLibrary.
    HMODULE sabit = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&bu_modul), &sabit);
    WNDCLASSW sinif = {};
    sinif.lpfnWndProc = ui_pencere_yordami;
    sinif.hInstance = bu_modul();
    sinif.lpszClassName = L"KorvaMotorBaglantisi";
    RegisterClassW(&sinif);
    HWND pencere = CreateWindowExW(0, sinif.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   sinif.hInstance, nullptr);
    if (pencere == nullptr)
        return false;
    std::lock_guard<std::mutex> kilit(k.kilit);
    k.pencere = pencere;
    return true;
}

bool ui_ya_ekle(std::function<void()> is)
{
    if (surec_bitiyor())
        return false;
    UiKuyrugu& k = kuyruk();
    std::lock_guard<std::mutex> kilit(k.kilit);
    if (k.pencere == nullptr)
        return false;
    k.isler.push_back(std::move(is));
    // One wake message for any number of pieces of work: the thread's message
    // queue is bounded and a busy engine sends many messages.
    if (!k.uyandirma_bekliyor && PostMessageW(k.pencere, WM_KORVA_UYAN, 0, 0))
        k.uyandirma_bekliyor = true;
    return true;
}
