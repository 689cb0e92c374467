// Widget runtime: the leaf controls (buttons, labels, entries, separators, images
// and progress bars) and the operations that set and read their text, an entry's
// hint and a progress bar's position.
//
// A control is one native child window, created under the runtime's parking window
// and re-parented when a box, tab strip or window adopts it. It owns nothing beyond its
// widget record and its window. Text comes in as UTF-8 and is handed to the
// platform as UTF-16 (GenisMetin); text read back is a fresh UTF-8 block with a
// terminating zero, which has storage even when it is empty. A text or a progress
// bar's position is written only when it differs from what the control shows, so
// a program that sets the same status on every pass of its loop repaints nothing.
//
// Enter in an entry: every entry's window is subclassed; VK_RETURN raises the
// entry's `enter_pressed` (the record found through the property "TrEntryId") and is
// swallowed, so the edit control does not beep; Down raises `down_pressed` (a
// single-line edit has no use for it). Every other key is the edit's own.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>

#include "tr_metin_sinir.h"
#include "widgets/arayuz_ic.h"
#include "widgets/arayuz_win_cz.h"

namespace {

constexpr wchar_t kGirisKimligiOzelligi[] = L"TrEntryId";
constexpr UINT_PTR kEnterGozcusu = 1;  // the subclass id of the entry's key watch
constexpr int64_t kIlerlemeEnAz = 0;
constexpr int64_t kIlerlemeEnCok = 100;

// Class, styles and initial size of each kind of control; the layout of a box
// replaces the size with its own defaults.
struct KontrolTuru {
    int32_t kind;
    const wchar_t* class_name;
    DWORD extended_style;
    DWORD style;
    int width;
    int height;
};

constexpr KontrolTuru kDugme = {KIND_BUTTON, L"BUTTON", 0, WS_CHILD | WS_VISIBLE | BS_FLAT, 80, 30};
constexpr KontrolTuru kEtiket = {KIND_LABEL, L"STATIC", 0, WS_CHILD | WS_VISIBLE, 200, 20};
constexpr KontrolTuru kGiris = {KIND_ENTRY, L"EDIT", WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                                200, 28};
constexpr KontrolTuru kAyirici = {KIND_SEPARATOR, L"STATIC", 0, WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ, 100, 2};
constexpr KontrolTuru kResim = {KIND_IMAGE, L"STATIC", 0, WS_CHILD | WS_VISIBLE | SS_BITMAP, 64, 64};
constexpr KontrolTuru kIlerleme = {KIND_PROGRESS, PROGRESS_CLASSW, 0, WS_CHILD | WS_VISIBLE | PBS_SMOOTH, 100, 4};

HWND kontrol_penceresi(const KontrolTuru& type, const wchar_t* text) {
    return CreateWindowExW(type.extended_style, type.class_name, text, type.style, 0, 0, type.width, type.height,
                           park_penceresi(), nullptr, GetModuleHandleW(nullptr), nullptr);
}

// Creates a control with the given window text (null for none) and registers it.
int64_t kontrol_olustur(const KontrolTuru& type, const wchar_t* text) {
    HWND hwnd = kontrol_penceresi(type, text);
    if (hwnd == nullptr) return -1;
    return widget_kaydet(hwnd, type.kind);
}

int64_t metinli_kontrol_olustur(const KontrolTuru& type, const char* bytes, int64_t length) {
    init_resources();
    GenisMetin text(bytes, length);
    if (!text.gecerli()) return -1;
    return kontrol_olustur(type, text.c_str());
}

// The entry whose window this is, through its id property. A missing property
// reads as 0, so the record must also hold this very window.
Widget* giris_kaydi(HWND hwnd) {
    const intptr_t id = reinterpret_cast<intptr_t>(GetPropW(hwnd, kGirisKimligiOzelligi));
    Widget* record = widget_bul(id);
    return (record != nullptr && record->hwnd == hwnd && record->kind == KIND_ENTRY) ? record : nullptr;
}

LRESULT CALLBACK giris_tus_gozcusu(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR subclass,
                                   DWORD_PTR) {
    switch (message) {
    case WM_KEYDOWN:
        if (wparam == VK_DOWN) {
            if (Widget* entry = giris_kaydi(hwnd)) entry->down_pressed = 1;
            return 0;
        }
        if (wparam != VK_RETURN) break;
        if (Widget* entry = giris_kaydi(hwnd)) entry->enter_pressed = 1;
        return 0;
    case WM_CHAR:
        if (wparam != VK_RETURN) break;
        return 0;  // the character that follows Enter; swallowed so that nothing beeps
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, giris_tus_gozcusu, subclass);
        break;
    default:
        break;
    }
    return DefSubclassProc(hwnd, message, wparam, lparam);
}

int64_t metin_ayarla(int64_t widget, const char* bytes, int64_t length) {
    const Widget* record = pencereli_widget(widget);
    if (record == nullptr) return -1;
    GenisMetin text(bytes, length);
    if (!text.gecerli()) return -1;
    pencere_metnini_ayarla(record->hwnd, text);
    return 0;
}

TrMetin metin_al(int64_t widget) {
    const TrMetin empty = {nullptr, 0};
    const Widget* record = pencereli_widget(widget);
    if (record == nullptr) return empty;
    const int length = GetWindowTextLengthW(record->hwnd);
    if (length < 0) return empty;
    wchar_t* text = static_cast<wchar_t*>(std::malloc((static_cast<size_t>(length) + 1) * sizeof(wchar_t)));
    if (text == nullptr) return empty;
    text[0] = L'\0';
    GetWindowTextW(record->hwnd, text, length + 1);
    text[length] = L'\0';
    const TrMetin result = utf8_metin(text, -1, true);
    std::free(text);
    return result;
}

}  // namespace

// ---- Entry points ---------------------------------------------------------------

int64_t _tr_arayuz_dugme(const char* label, int64_t length) noexcept {
    return metinli_kontrol_olustur(kDugme, label, length);
}

int64_t _tr_arayuz_etiket(const char* text, int64_t length) noexcept {
    return metinli_kontrol_olustur(kEtiket, text, length);
}

int64_t _tr_arayuz_giris(void) noexcept {
    init_resources();
    HWND hwnd = kontrol_penceresi(kGiris, L"");
    if (hwnd == nullptr) return -1;
    SetWindowSubclass(hwnd, giris_tus_gozcusu, kEnterGozcusu, 0);
    const int64_t id = widget_kaydet(hwnd, KIND_ENTRY);
    if (id >= 0) SetPropW(hwnd, kGirisKimligiOzelligi, reinterpret_cast<HANDLE>(static_cast<intptr_t>(id)));
    return id;
}

int64_t _tr_arayuz_ayirici(void) noexcept {
    init_resources();
    return kontrol_olustur(kAyirici, nullptr);
}

// A file that does not load as a bitmap leaves an empty image control; that is not
// a failure. The bitmap is never released: widgets live as long as the process.
int64_t _tr_arayuz_resim_dosyadan(const char* path, int64_t length) noexcept {
    init_resources();
    HANDLE bitmap = nullptr;
    {
        GenisMetin wide_path(path, length);
        if (!wide_path.gecerli()) return -1;
        bitmap = LoadImageW(nullptr, wide_path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    }
    HWND hwnd = kontrol_penceresi(kResim, nullptr);
    if (hwnd == nullptr) return -1;
    if (bitmap != nullptr) SendMessageW(hwnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    return widget_kaydet(hwnd, KIND_IMAGE);
}

int64_t _tr_arayuz_ilerleme_cubugu(void) noexcept {
    init_resources();
    HWND hwnd = kontrol_penceresi(kIlerleme, nullptr);
    if (hwnd == nullptr) return -1;
    SendMessageW(hwnd, PBM_SETRANGE, 0, MAKELPARAM(kIlerlemeEnAz, kIlerlemeEnCok));
    return widget_kaydet(hwnd, KIND_PROGRESS);
}

TrMetin _tr_arayuz_giris_metni_al(int64_t widget) noexcept { return metin_al(widget); }

int64_t _tr_arayuz_giris_metni_ayarla(int64_t widget, const char* text, int64_t length) noexcept {
    return metin_ayarla(widget, text, length);
}

TrMetin _tr_arayuz_etiket_metni_al(int64_t widget) noexcept { return metin_al(widget); }

int64_t _tr_arayuz_etiket_metni_ayarla(int64_t widget, const char* text, int64_t length) noexcept {
    return metin_ayarla(widget, text, length);
}

int64_t _tr_arayuz_dugme_etiket_ayarla(int64_t widget, const char* text, int64_t length) noexcept {
    return metin_ayarla(widget, text, length);
}

// wParam 1: the hint stays visible while the empty entry has the keyboard focus.
int64_t _tr_arayuz_giris_ipucu_ayarla(int64_t widget, const char* hint, int64_t length) noexcept {
    const Widget* record = pencereli_widget(widget);
    if (record == nullptr) return -1;
    GenisMetin text(hint, length);
    if (!text.gecerli()) return -1;
    SendMessageW(record->hwnd, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    return 0;
}

int64_t _tr_arayuz_odakla(int64_t widget) noexcept {
    const Widget* record = pencereli_widget(widget);
    if (record == nullptr) return -1;
    SetFocus(record->hwnd);
    if (record->kind == KIND_ENTRY) SendMessageW(record->hwnd, EM_SETSEL, 0, -1);
    return 0;
}

int64_t _tr_arayuz_ilerleme_ayarla(int64_t widget, int64_t value) noexcept {
    const Widget* record = pencereli_widget(widget);
    if (record == nullptr) return -1;
    const int64_t clamped = value < kIlerlemeEnAz ? kIlerlemeEnAz : value > kIlerlemeEnCok ? kIlerlemeEnCok : value;
    // Setting the position the bar already shows would only repaint it.
    if (SendMessageW(record->hwnd, PBM_GETPOS, 0, 0) == clamped) return 0;
    SendMessageW(record->hwnd, PBM_SETPOS, static_cast<WPARAM>(clamped), 0);
    return 0;
}
