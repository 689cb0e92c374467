// Widget runtime: boxes, packing, and the layout pass.
//
// A box stacks its children along its main axis (x for a horizontal box, y for a
// vertical one). Each child takes either a fixed length along that axis (its
// requested size, or a default for its kind) or an equal share of what is left,
// and is stretched across the cross axis unless it asked for a cross size and was
// packed without fill. Layout runs when a box is given a size (its WM_SIZE, the
// window runtime fitting its content, a tab switch), never when something is packed.
//
// Sizes are kept at 96 dpi (requests, paddings, the kinds' defaults below) and
// scaled when the pass places the children, at the box's density, which it hands
// down to each child it places: a density reaches the whole tree from the window's
// content box (arayuz_ic.h). At 96 dpi every size is used as it is.
//
// Children are recorded as window handles in packing order; a child's record is
// the first one, from id 0 upwards, that holds its window. A child hidden by the
// program (`hidden_by_program`) is left out of the pass: it keeps no space and is
// not shown again. Packing refuses a box into itself or its own descendants, so the
// pass, which recurses into nested boxes and tab pages, always ends.
//
// One pass lays every box out once: it places a box's children in one batch
// (DeferWindowPos), moving and showing only those whose place or visibility changed,
// then lays out the nested boxes and tab pages itself. The WM_SIZE a moved box gets
// meanwhile is left alone (yerlesim_suruyor). The platform invalidates what the moves
// change, as for any window moved: a window that only moves keeps its picture (the
// platform copies it to the new place) and a box that grows paints only its new
// area; all is painted with the next paint. (Moving without drawing and
// invalidating the changed area once at the end instead made every moved window
// paint itself again: twice the paints of a plain batch of moves.)
#include <windows.h>

#include <commctrl.h>

#include <cstring>

#include "widgets/arayuz_ic.h"
#include "widgets/arayuz_win_cz.h"

namespace {

// Length along the main axis of a child that neither expands nor asks for one.
struct VarsayilanBoyut {
    int32_t width_in_row;       // in a horizontal box
    int32_t height_in_column;   // in a vertical box
};

constexpr VarsayilanBoyut kDigerBoyut = {48, 32};
constexpr VarsayilanBoyut kVarsayilanBoyutlar[] = {
    kDigerBoyut,  // 0: not a kind
    kDigerBoyut,  // KIND_HBOX
    kDigerBoyut,  // KIND_VBOX
    {36, 32},     // KIND_BUTTON
    {80, 20},     // KIND_LABEL
    {200, 28},    // KIND_ENTRY
    kDigerBoyut,  // KIND_TABS
    {100, 4},     // KIND_PROGRESS
    {1, 1},       // KIND_SEPARATOR
    kDigerBoyut,  // 9: not a kind
    kDigerBoyut,  // KIND_IMAGE
    kDigerBoyut,  // KIND_EXTERNAL
    {200, 200},   // KIND_LIST
};

struct KutuTuru {
    int32_t kind;
    DWORD extended_style;
    DWORD style;
};

constexpr KutuTuru kYatayKutu = {KIND_HBOX, 0, WS_CHILD | WS_CLIPCHILDREN};
constexpr KutuTuru kDikeyKutu = {KIND_VBOX, 0, WS_CHILD | WS_CLIPCHILDREN};
constexpr KutuTuru kKaydirmaKutusu = {KIND_VBOX, WS_EX_CLIENTEDGE,
                                      WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL};

Widget* cocuk_kaydi(const KutuCocugu& entry) { return widget_bul(widget_kimligi(entry.hwnd)); }

int64_t kimlik(const Widget* record) { return record - win_widgetlar; }

// Rule for a child that does not expand: its request along the main axis when
// positive, else the default for its kind; scaled to the box's density.
int32_t sabit_uzunluk(const Widget& box, const Widget* child, bool horizontal) {
    if (child != nullptr) {
        const int32_t request = horizontal ? child->req_width : child->req_height;
        if (request > 0) return olcekli(&box, request);
    }
    const int32_t kind = child != nullptr ? child->kind : 0;
    const int32_t kind_count = static_cast<int32_t>(sizeof(kVarsayilanBoyutlar) / sizeof(kVarsayilanBoyutlar[0]));
    const VarsayilanBoyut& size = (kind >= 0 && kind < kind_count) ? kVarsayilanBoyutlar[kind] : kDigerBoyut;
    return olcekli(&box, horizontal ? size.width_in_row : size.height_in_column);
}

bool programca_gizli(const Widget* child) { return child != nullptr && child->hidden_by_program != 0; }

int64_t kutu_olustur(const KutuTuru& type) {
    init_resources();
    if (box_sinif_kayitli == 0) box_sinif_kaydet();
    HWND hwnd = CreateWindowExW(type.extended_style, L"TrBox", nullptr, type.style, 0, 0, 100, 100,
                                park_penceresi(), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (hwnd == nullptr) return -1;
    const int64_t id = widget_kaydet(hwnd, type.kind);
    if (id >= 0) SetPropW(hwnd, kKutuKimligiOzelligi, reinterpret_cast<HANDLE>(static_cast<intptr_t>(id)));
    return id;
}

}  // namespace

// Whether `target` can be reached from `start` through box children and tab pages,
// the links the layout pass follows. Iterative, with every record visited once, so
// that a structure made elsewhere can never make it loop.
static bool ulasilabilir_mi(const Widget* start, const Widget* target) {
    static bool visited[kWidgetSiniri];
    static int32_t pending[kWidgetSiniri];
    std::memset(visited, 0, sizeof(visited));
    int32_t pending_count = 0;
    pending[pending_count++] = static_cast<int32_t>(kimlik(start));
    visited[kimlik(start)] = true;

    auto visit = [&](HWND hwnd) {
        const int64_t id = widget_kimligi(hwnd);
        if (id < 0 || visited[id]) return;
        visited[id] = true;
        pending[pending_count++] = static_cast<int32_t>(id);
    };
    while (pending_count > 0) {
        const Widget& record = win_widgetlar[pending[--pending_count]];
        if (&record == target) return true;
        if (kutu_turu_mu(record.kind)) {
            for (int32_t i = 0; i < record.child_count; ++i) visit(record.children[i].hwnd);
        } else if (record.kind == KIND_TABS) {
            for (int32_t k = 0; k < record.tab_count && k < kSekmeSiniri; ++k) visit(record.tab_pages[k]);
        }
    }
    return false;
}

bool kendi_icine_mi(const Widget* container, const Widget* child) {
    if (container->hwnd == child->hwnd) return true;
    if (IsChild(child->hwnd, container->hwnd)) return true;
    return ulasilabilir_mi(child, container);
}

namespace {

// Passes running, nested ones included (a box laid out inside another's pass).
int32_t yerlesim_derinligi = 0;

// Counts a pass as running for as long as it lives.
class YerlesimSuruyor {
public:
    YerlesimSuruyor() { ++yerlesim_derinligi; }
    ~YerlesimSuruyor() { --yerlesim_derinligi; }
    YerlesimSuruyor(const YerlesimSuruyor&) = delete;
    YerlesimSuruyor& operator=(const YerlesimSuruyor&) = delete;
};

// The placements of one box's children, made together when it ends. Each window is
// moved only when its place changed and shown only when it is hidden; a window whose
// place and visibility are right is not touched at all. Without a batch (the
// platform refused one) each placement is made at once.
class TopluYerlesim {
public:
    explicit TopluYerlesim(int count) : batch_(BeginDeferWindowPos(count)) {}
    ~TopluYerlesim() {
        if (batch_ != nullptr) EndDeferWindowPos(batch_);
    }
    TopluYerlesim(const TopluYerlesim&) = delete;
    TopluYerlesim& operator=(const TopluYerlesim&) = delete;

    void koy(HWND hwnd, int x, int y, int width, int height, bool show) {
        RECT current;
        GetWindowRect(hwnd, &current);
        MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&current), 2);
        UINT flags = SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOACTIVATE;
        if (current.left == x && current.top == y) flags |= SWP_NOMOVE;
        if (current.right - current.left == width && current.bottom - current.top == height) flags |= SWP_NOSIZE;
        if (show && (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) == 0) flags |= SWP_SHOWWINDOW;
        const UINT unchanged = SWP_NOMOVE | SWP_NOSIZE;
        if ((flags & unchanged) == unchanged && (flags & SWP_SHOWWINDOW) == 0) return;
        if (batch_ != nullptr) batch_ = DeferWindowPos(batch_, hwnd, nullptr, x, y, width, height, flags);
        if (batch_ == nullptr) SetWindowPos(hwnd, nullptr, x, y, width, height, flags);
    }

private:
    HDWP batch_;
};

// Whether the page of tab `index` is also the page of an earlier tab.
bool onceki_sekmenin_sayfasi(const Widget& strip, int32_t index) {
    for (int32_t earlier = 0; earlier < index; ++earlier) {
        if (strip.tab_pages[earlier] == strip.tab_pages[index]) return true;
    }
    return false;
}

// Fits every page of a tab strip to its display area; pages that are boxes are
// laid out there. A page standing for several tabs (the waiting tabs of a kept
// session share one) is fitted once: each fitting asks the platform where the
// window is, a round trip to the server under Wine. Visibility is the strip's
// business and is left as it is.
void sayfalari_sigdir(const Widget& strip) {
    for (int32_t k = 0; k < strip.tab_count && k < kSekmeSiniri; ++k) {
        if (strip.tab_pages[k] == nullptr || onceki_sekmenin_sayfasi(strip, k)) continue;
        sayfayi_sigdir(strip.hwnd, strip.tab_pages[k]);
    }
}

// Where a child goes inside its box.
struct CocukYeri {
    const Widget* record;
    int x, y, width, height;
};

// A child packed more than once is placed where its last entry puts it, so only
// that entry counts.
bool sonra_yine_var(const Widget& box, int32_t index, int32_t child_count) {
    for (int32_t later = index + 1; later < child_count; ++later) {
        if (box.children[later].hwnd == box.children[index].hwnd) return true;
    }
    return false;
}

// Sums are 64-bit so that huge paddings or requests cannot overflow; the results
// are handed to the platform as 32-bit pixels.
void yerlestir(const Widget& box, int32_t width, int32_t height) {
    const YerlesimSuruyor pass;
    const bool horizontal = box.kind == KIND_HBOX;
    const int64_t main_length = horizontal ? width : height;
    const int32_t cross_length = horizontal ? height : width;
    const int32_t child_count = box.child_count < kCocukSiniri ? box.child_count : kCocukSiniri;

    const int32_t dpi = widget_dpi(&box);
    int64_t fixed = 0;
    int64_t paddings = 0;
    int64_t expanding = 0;
    for (int32_t i = 0; i < child_count; ++i) {
        const KutuCocugu& entry = box.children[i];
        Widget* child = cocuk_kaydi(entry);
        if (programca_gizli(child)) continue;
        // Before any size is taken: a child's font decides nothing here, but a
        // strip's tab widths and a list's columns follow its density.
        yogunlugu_uygula(child, dpi);
        paddings += 2 * static_cast<int64_t>(olcekli(&box, entry.padding));
        if (entry.expand != 0) {
            expanding += 1;
        } else {
            fixed += sabit_uzunluk(box, child, horizontal);
        }
    }
    int64_t share = 0;
    if (expanding > 0) {
        const int64_t spare = main_length - fixed - paddings;
        share = (spare > 0 ? spare : 0) / expanding;  // the remainder stays empty at the far end
    }

    CocukYeri places[kCocukSiniri];
    bool placed[kCocukSiniri] = {};
    {
        TopluYerlesim batch(child_count);
        int64_t position = 0;
        for (int32_t i = 0; i < child_count; ++i) {
            const KutuCocugu& entry = box.children[i];
            const Widget* child = cocuk_kaydi(entry);
            if (programca_gizli(child)) continue;
            const int32_t padding = olcekli(&box, entry.padding);
            position += padding;
            const int32_t main_size =
                entry.expand != 0 ? static_cast<int32_t>(share) : sabit_uzunluk(box, child, horizontal);
            int32_t cross_size = cross_length;
            if (entry.fill == 0 && child != nullptr) {
                const int32_t request = horizontal ? child->req_height : child->req_width;
                if (request > 0) cross_size = olcekli(&box, request);
            }
            const int x = horizontal ? static_cast<int>(position) : 0;
            const int y = horizontal ? 0 : static_cast<int>(position);
            places[i] = {child, x, y, horizontal ? main_size : cross_size, horizontal ? cross_size : main_size};
            position += static_cast<int64_t>(main_size) + padding;
            if (sonra_yine_var(box, i, child_count)) continue;
            // Showing is what makes a newly placed nested box visible.
            batch.koy(entry.hwnd, places[i].x, places[i].y, places[i].width, places[i].height, true);
            placed[i] = true;
        }
    }
    for (int32_t i = 0; i < child_count; ++i) {
        const Widget* child = places[i].record;
        if (!placed[i] || child == nullptr) continue;
        if (kutu_turu_mu(child->kind)) {
            // Inside its client area: a box with a border or scroll bars (the scroll
            // box) has less room than its window, as its own size message says.
            RECT client;
            GetClientRect(child->hwnd, &client);
            win_layout_yenile(kimlik(child), client.right, client.bottom);
        } else if (child->kind == KIND_TABS) {
            sayfalari_sigdir(*child);
        }
    }
}

}  // namespace

// ---- Internal operations shared by the unit's files --------------------------

bool yerlesim_suruyor() { return yerlesim_derinligi > 0; }

void sayfayi_sigdir(HWND strip, HWND page) {
    const YerlesimSuruyor pass;
    const RECT area = sekme_gosterim_alani(strip);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    {
        TopluYerlesim batch(1);
        batch.koy(page, area.left, area.top, width, height, false);
    }
    Widget* page_record = widget_bul(widget_kimligi(page));
    yogunlugu_uygula(page_record, widget_dpi(widget_bul(widget_kimligi(strip))));
    if (page_record != nullptr && kutu_turu_mu(page_record->kind)) {
        win_layout_yenile(kimlik(page_record), width, height);
    }
}

// ---- Entry points ---------------------------------------------------------------

int64_t _tr_arayuz_kutu_yatay(void) noexcept { return kutu_olustur(kYatayKutu); }

int64_t _tr_arayuz_kutu_dikey(void) noexcept { return kutu_olustur(kDikeyKutu); }

// A vertical box with a sunken edge and both scroll bars; the bars move nothing.
int64_t _tr_arayuz_kaydirma(void) noexcept { return kutu_olustur(kKaydirmaKutusu); }

// The child is re-parented into any widget given as box; only boxes record it, and
// only while they hold fewer than 128 children. Nothing is laid out here.
int64_t _tr_arayuz_pakle(int64_t box, int64_t child, int64_t expand, int64_t fill, int64_t padding) noexcept {
    Widget* box_record = pencereli_widget(box);
    Widget* child_record = pencereli_widget(child);
    if (box_record == nullptr || child_record == nullptr) return -1;
    if (kendi_icine_mi(box_record, child_record)) return -1;
    SetParent(child_record->hwnd, box_record->hwnd);
    if (!kutu_turu_mu(box_record->kind)) return 0;
    if (box_record->child_count >= kCocukSiniri) return 0;
    KutuCocugu& entry = box_record->children[box_record->child_count];
    entry.hwnd = child_record->hwnd;
    entry.expand = expand != 0 ? 1 : 0;
    entry.fill = fill != 0 ? 1 : 0;
    entry.padding = static_cast<int32_t>(padding);
    box_record->child_count += 1;
    return 0;
}

int64_t _tr_arayuz_ekle(int64_t box, int64_t child) noexcept { return _tr_arayuz_pakle(box, child, 0, 1, 0); }

// Shows the widget and its direct children only. What it shows counts as shown by
// the program, so a child hidden earlier takes its space again at once.
int64_t _tr_arayuz_goster_tumu(int64_t widget) noexcept {
    Widget* record = pencereli_widget(widget);
    if (record == nullptr) return -1;
    ShowWindow(record->hwnd, SW_SHOW);
    const bool widget_was_hidden = record->hidden_by_program != 0;
    record->hidden_by_program = 0;
    bool child_was_hidden = false;
    const int32_t child_count = record->child_count < kCocukSiniri ? record->child_count : kCocukSiniri;
    for (int32_t i = 0; i < child_count; ++i) {
        ShowWindow(record->children[i].hwnd, SW_SHOW);
        if (Widget* child = cocuk_kaydi(record->children[i]); child != nullptr && child->hidden_by_program != 0) {
            child->hidden_by_program = 0;
            child_was_hidden = true;
        }
    }
    if (widget_was_hidden) kutuyu_yeniden_yerlestir(kutu_kaydi(GetParent(record->hwnd)));
    if (child_was_hidden) kutuyu_yeniden_yerlestir(kutu_kaydi(record->hwnd));
    return 0;
}

void win_yogunluk_ayarla(int64_t widget, int32_t dpi) noexcept { yogunlugu_uygula(widget_bul(widget), dpi); }

void win_layout_yenile(int64_t widget, int32_t width, int32_t height) noexcept {
    const Widget* box = widget_bul(widget);
    if (box == nullptr || !kutu_turu_mu(box->kind) || box->child_count <= 0) return;
    yerlestir(*box, width, height);
}
