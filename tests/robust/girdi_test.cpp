// Bad input at every entry point of the runtime and every function of the browser
// program: ids -1, 0, the table's count, huge and the 64-bit extremes; texts empty,
// null with a positive length, invalid UTF-8, with a zero byte inside, and 1 MiB,
// each placed right before an unreadable page. Nothing may crash, and each result is
// the documented failure value or a correct result.
//
// The sweep closes and hides what it is given and fills tables, so it runs in a
// child process of its own (suite GirdiCocuk, in the order written: first with
// nothing initialised, then each unit, then the program). The parent test reads the
// child's exit code and the bytes it printed.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/calismazamani_win.h"
#include "korva.h"
#include "ortak.h"
#include "webview/webgorunum_win_cz.h"
#include "widgets/arayuz_win_cz.h"
#include "window/pencere_win_cz.h"

namespace {

// Checks a text result and frees it. With storage it must end in a zero byte
// (`zero_after`) and hold well-formed UTF-8 (`utf8`); without, its length is 0.
void metni_denetle(TrMetin text, bool zero_after, bool utf8, const std::string& where) {
    if (text.ptr == nullptr) {
        EXPECT_EQ(0, text.len) << where;
        return;
    }
    EXPECT_GE(text.len, 0) << where;
    if (zero_after) {
        EXPECT_EQ('\0', text.ptr[text.len]) << where;
    }
    if (utf8) {
        EXPECT_TRUE(gecerli_utf8(text.ptr, text.len)) << where;
    }
    free(text.ptr);
}

void bos_metin(TrMetin text, const std::string& where) {
    EXPECT_EQ(nullptr, text.ptr) << where;
    EXPECT_EQ(0, text.len) << where;
    free(text.ptr);
}

// A text read back from a control, as UTF-8.
std::string geri_oku(TrMetin text) {
    std::string bytes = text.ptr != nullptr ? std::string(text.ptr, static_cast<size_t>(text.len)) : std::string();
    free(text.ptr);
    return bytes;
}

std::string utf8(const std::wstring& wide) {
    if (wide.empty()) return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), size, nullptr,
                        nullptr);
    return bytes;
}

// A caption (a window's title, a tab's label) keeps the first 4,096 characters,
// a pair of surrogates whole.
std::string basliga_kirp(const std::string& bytes) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0) MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), size);
    if (wide.size() > 4096) wide.resize(wide[4095] >= 0xD800 && wide[4095] <= 0xDBFF ? 4095 : 4096);
    return utf8(wide);
}

// What a control shows after being given a bad text: exactly the text up to its
// first zero byte (for a caption its first 4,096 characters), or for invalid UTF-8
// some well-formed text in its place.
void gosterilen(const KotuMetin& text, const std::string& shown, const std::string& where, bool baslik = false) {
    if (shown.empty() && where.find("a new") == 0 && text.okunan.size() >= 32768) {
        // Wine keeps no window name of 32 Ki characters or more given at creation
        // (its create call counts the name's bytes in 16 bits); set later, it is kept.
        return;
    }
    if (text.okunan.size() > 0 && !gecerli_utf8(text.okunan.data(), static_cast<int64_t>(text.okunan.size()))) {
        EXPECT_TRUE(gecerli_utf8(shown.data(), static_cast<int64_t>(shown.size()))) << where;
        EXPECT_FALSE(shown.empty()) << where;
    } else {
        const std::string beklenen = baslik ? basliga_kirp(text.okunan) : text.okunan;
        EXPECT_EQ(beklenen.size(), shown.size()) << where;
        EXPECT_TRUE(shown == beklenen) << where;
    }
}

std::string ad(const char* entry, int64_t id) { return std::string(entry) + " with id " + std::to_string(id); }
std::string ad(const char* entry, const KotuMetin& text) { return std::string(entry) + " with text: " + text.ad; }

void iz(const char* what) {
    std::fprintf(stderr, "sweep: %s\n", what);
    std::fflush(stderr);
}

constexpr char kX[] = "x";

int64_t pencere_ac() { return _tr_pencere_olustur("Deneme", 6, 640, 480); }

std::wstring sekme_yazisi(int64_t strip, int position, size_t capacity = 512) {
    std::wstring text(capacity, L'\0');
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(capacity);
    SendMessageW(_tr_arayuz_widget_al_hwnd(strip), TCM_GETITEMW, position, reinterpret_cast<LPARAM>(&item));
    text.resize(wcslen(item.pszText));
    if (item.pszText != text.data()) text = item.pszText;
    return text;
}

}  // namespace

// ---- Nothing initialised yet --------------------------------------------------------

TEST(GirdiCocuk, A_HicbirSeyBaslamadan) {
    iz("uninitialised pumps");
    EXPECT_EQ(0, _tr_pencere_olaylari_isle());
    EXPECT_EQ(-1, _tr_pencere_calistir());
    for (int64_t ms : {int64_t{0}, int64_t{-1}, INT64_MIN, INT64_MAX}) EXPECT_EQ(-1, _tr_pencere_olay_bekle(ms));

    // The program before start-up: every id is -1, and no engine can be found yet.
    iz("program functions before start-up");
    EXPECT_EQ(0, olaylari_kontrol_et());
    EXPECT_EQ(0, pencere_basligini_guncelle());
    EXPECT_EQ(0, adres_cubugunu_guncelle());
    EXPECT_EQ(0, durum_guncelle());
    // With no tab strip a tab cannot be added; a web view made for it is given back.
    EXPECT_EQ(-1, hizli_erisim_ac());
    for (const KotuMetin& text : kotu_metinler()) EXPECT_EQ(-1, yeni_sekme_ac(text.ptr, text.len)) << text.ad;
    EXPECT_EQ(0, wv_sayisi);
    for (int64_t position : kotu_kimlikler(0)) EXPECT_EQ(-1, sekme_webgorunumu(position));
    EXPECT_EQ(-1, sekme_webgorunumu(0));
    EXPECT_EQ(0, kenar_paneli_ac(1));
    EXPECT_EQ(1, kenar_acik);
    EXPECT_EQ(0, kenar_paneli_ac(1));
    EXPECT_EQ(0, kenar_acik);
    EXPECT_EQ(0, aktif_panel);
}

// ---- Runtime core -----------------------------------------------------------------

TEST(GirdiCocuk, B_Cekirdek) {
    iz("objects");
    for (int64_t size : {int64_t{-1}, int64_t{-24}, int64_t{-25}, INT64_MIN, INT64_MAX, INT64_MAX - 23,
                         int64_t{1} << 62}) {
        EXPECT_EQ(nullptr, _tr_nesne_olustur(nullptr, size)) << "payload size " << size;
    }
    void* object = _tr_nesne_olustur(reinterpret_cast<void*>(-1), 0);
    ASSERT_NE(nullptr, object);
    _tr_ref_azalt(object);
    _tr_ref_artir(nullptr);
    _tr_ref_azalt(nullptr);

    iz("numbers and texts");
    for (int64_t value : {INT64_MIN, INT64_MAX, int64_t{0}, int64_t{-1}}) {
        TrMetin text = _tr_tam_metin(value);
        EXPECT_EQ(std::to_string(value), std::string(text.ptr, static_cast<size_t>(text.len)));
        free(text.ptr);
    }
    for (double value : {std::nan(""), std::numeric_limits<double>::infinity(),
                         -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::max(),
                         std::numeric_limits<double>::denorm_min(), -0.0}) {
        TrMetin text = _tr_ondalik_metin(value);
        EXPECT_GT(text.len, 0) << value;
        EXPECT_LE(text.len, 16) << value;
        free(text.ptr);
    }
    for (const KotuMetin& text : kotu_metinler()) {
        EXPECT_EQ(0, _tr_metin_tam(text.ptr, text.len)) << text.ad;
        for (const KotuMetin& other : kotu_metinler()) {
            TrMetin joined = _metin_birlestir(text.ptr, text.len, other.ptr, other.len);
            const int64_t a = text.ptr != nullptr ? text.len : 0;
            const int64_t b = other.ptr != nullptr ? other.len : 0;
            ASSERT_EQ(a + b, joined.len) << text.ad << " + " << other.ad;
            if (a > 0) {
                EXPECT_EQ(0, memcmp(joined.ptr, text.ptr, static_cast<size_t>(a)));
            }
            if (b > 0) {
                EXPECT_EQ(0, memcmp(joined.ptr + a, other.ptr, static_cast<size_t>(b)));
            }
            free(joined.ptr);
        }
    }
    KorumaliMetin digits(std::string(kMebibayt, '9'));
    EXPECT_EQ(INT64_MAX, _tr_metin_tam(digits.ptr(), digits.len()));
    KorumaliMetin negative("-" + std::string(100, '9'));
    EXPECT_EQ(INT64_MIN, _tr_metin_tam(negative.ptr(), negative.len()));
    KorumaliMetin zero_inside(std::string("12\0" "34", 5));
    EXPECT_EQ(12, _tr_metin_tam(zero_inside.ptr(), zero_inside.len()));

    iz("line input");
    EXPECT_EQ("abc", geri_oku(_tr_satiroku()));
    EXPECT_EQ(std::string(4095, 'x'), geri_oku(_tr_satiroku()));
    EXPECT_EQ(std::string(905, 'x'), geri_oku(_tr_satiroku()));
    TrMetin empty_line = _tr_satiroku();
    EXPECT_EQ(0, empty_line.len);
    free(empty_line.ptr);
    bos_metin(_tr_satiroku(), "line input at the end");
    bos_metin(_tr_satiroku(), "line input after the end");

    iz("profiler and checks");
    for (const KotuMetin& text : kotu_metinler()) {
        _tr_profil_giris(text.ptr, text.len);
        _tr_profil_cikis(text.ptr, text.len);
        _tr_profil_cikis(text.ptr, text.len);
    }
    for (int i = 0; i < 300; ++i) {
        const std::string name = "islev" + std::to_string(i);
        _tr_profil_giris(name.data(), static_cast<int64_t>(name.size()));
        _tr_profil_cikis(name.data(), static_cast<int64_t>(name.size()));
    }
    _tr_profil_rapor();
    for (const KotuMetin& text : kotu_metinler()) {
        if (text.len > 1000) continue;  // a megabyte on standard error helps no one
        _tr_dogrula(0, text.ptr, text.len, INT64_MIN);
        _tr_dogrula(INT64_MIN, text.ptr, text.len, INT64_MAX);
    }
    _tr_test_rapor();
}

// The parent compares these bytes with what it expects.
TEST(GirdiCocuk, C_Konsol) {
    fflush(stdout);
    _yazdir_metin("<<<", 3);
    for (const KotuMetin& text : kotu_metinler()) _yazdir_metin(text.ptr, text.len);
    _yazdir_metin("abc", -5);
    _yazdir_tam(INT64_MIN);
    _yazdir_tam(INT64_MAX);
    _yazdir_mantik(INT64_MIN);
    _yazdir_mantik(0);
    _yazdir_ondalik(std::numeric_limits<double>::infinity());
    _yazdir_ondalik(-std::numeric_limits<double>::infinity());
    _yazdir_ondalik(std::numeric_limits<double>::max());
    _yazdir_metin(">>>", 3);
    fflush(stdout);
}

// ---- Windows ----------------------------------------------------------------------

TEST(GirdiCocuk, D_Pencereler) {
    iz("windows");
    EXPECT_EQ(0, _tr_pencere_baslat());
    EXPECT_EQ(0, _tr_pencere_baslat());
    const int64_t window = pencere_ac();
    ASSERT_GE(window, 0);
    const int64_t box = _tr_arayuz_kutu_dikey();
    ASSERT_GE(box, 0);
    for (int64_t id : kotu_kimlikler(window + 1)) {
        EXPECT_EQ(-1, _tr_pencere_baslik_ayarla(id, kX, 1)) << ad("baslik_ayarla", id);
        EXPECT_EQ(-1, _tr_pencere_boyut_ayarla(id, 100, 100)) << ad("boyut_ayarla", id);
        EXPECT_EQ(-1, _tr_pencere_simge_ayarla(id, kX, 1)) << ad("simge_ayarla", id);
        EXPECT_EQ(-1, _tr_pencere_goster(id)) << ad("goster", id);
        EXPECT_EQ(-1, _tr_pencere_gizle(id)) << ad("gizle", id);
        EXPECT_EQ(-1, _tr_pencere_kapat(id)) << ad("kapat", id);
        EXPECT_EQ(-1, _tr_pencere_tam_ekran(id)) << ad("tam_ekran", id);
        EXPECT_EQ(-1, _tr_pencere_tam_ekrandan_cik(id)) << ad("tam_ekrandan_cik", id);
        EXPECT_EQ(1, _tr_pencere_kapatildi_mi(id)) << ad("kapatildi_mi", id);
        EXPECT_EQ(-1, _tr_pencere_icerik_ayarla(id, box)) << ad("icerik_ayarla", id);
    }
    for (int64_t id : kotu_kimlikler(widget_sayisi())) {
        EXPECT_EQ(-1, _tr_pencere_icerik_ayarla(window, id)) << ad("icerik_ayarla with widget", id);
    }
    EXPECT_EQ(0, _tr_pencere_icerik_ayarla(window, box));
    HWND hwnd = GetParent(_tr_arayuz_widget_al_hwnd(box));
    for (const KotuMetin& text : kotu_metinler()) {
        EXPECT_EQ(0, _tr_pencere_baslik_ayarla(window, text.ptr, text.len)) << ad("baslik_ayarla", text);
        gosterilen(text, utf8(pencere_metni(hwnd)), ad("the window title after baslik_ayarla", text), true);
        EXPECT_EQ(0, _tr_pencere_simge_ayarla(window, text.ptr, text.len)) << ad("simge_ayarla", text);
        const int64_t other = _tr_pencere_olustur(text.ptr, text.len, 300, 200);
        EXPECT_GE(other, 0) << ad("olustur", text);
    }
    for (int64_t size : {int64_t{-1}, int64_t{0}, INT64_MIN, INT64_MAX, int64_t{1} << 40, int64_t{100000}}) {
        EXPECT_EQ(0, _tr_pencere_boyut_ayarla(window, size, size)) << "boyut_ayarla " << size;
        const int64_t other = _tr_pencere_olustur(kX, 1, size, -size);
        EXPECT_GE(other, -1) << "olustur with size " << size;
    }
    EXPECT_EQ(0, _tr_pencere_boyut_ayarla(window, 640, 480));
    EXPECT_EQ(0, _tr_pencere_goster(window));
    EXPECT_EQ(0, _tr_pencere_tam_ekrandan_cik(window));  // without an entry: nothing
    EXPECT_EQ(0, _tr_pencere_tam_ekran(window));
    EXPECT_EQ(0, _tr_pencere_tam_ekran(window));
    EXPECT_EQ(0, _tr_pencere_tam_ekrandan_cik(window));
    EXPECT_EQ(0, _tr_pencere_tam_ekrandan_cik(window));

    iz("waiting for input");
    EXPECT_EQ(1, _tr_pencere_olaylari_isle());
    PostMessageW(hwnd, WM_NULL, 0, 0);
    for (int64_t ms : {INT64_MAX, int64_t{1} << 40, int64_t{0}, int64_t{-1}, INT64_MIN}) {
        EXPECT_EQ(1, _tr_pencere_olay_bekle(ms)) << "with input waiting, " << ms << " ms";
    }
    // With nothing waiting, a time already passed returns at once: a negative time
    // must not become an endless wait (the timer ends such a wait if it happens).
    // Input can arrive from the display at any moment, so each is tried until the
    // queue was found empty once.
    SetTimer(hwnd, 1, 1000, nullptr);
    auto returns_at_once = [](int64_t ms) {
        for (int attempt = 0; attempt < 20; ++attempt) {
            _tr_pencere_olaylari_isle();
            if (_tr_pencere_olay_bekle(ms) == 0) return true;
        }
        return false;
    };
    EXPECT_TRUE(returns_at_once(0));
    EXPECT_TRUE(returns_at_once(-1)) << "a negative wait waited for input";
    EXPECT_TRUE(returns_at_once(INT64_MIN)) << "a negative wait waited for input";
    KillTimer(hwnd, 1);

    EXPECT_EQ(0, _tr_pencere_kapat(window));
    EXPECT_EQ(-1, _tr_pencere_kapat(window));
    EXPECT_EQ(-1, _tr_pencere_goster(window));
    EXPECT_EQ(-1, _tr_pencere_baslik_ayarla(window, kX, 1));
    EXPECT_EQ(-1, _tr_pencere_icerik_ayarla(window, box));
    EXPECT_EQ(1, _tr_pencere_kapatildi_mi(window));
}

// ---- Widgets ----------------------------------------------------------------------

TEST(GirdiCocuk, E_Widgetlar) {
    iz("widgets");
    const int64_t window = pencere_ac();
    const int64_t box = _tr_arayuz_kutu_yatay();
    const int64_t inner = _tr_arayuz_kutu_dikey();
    const int64_t button = _tr_arayuz_dugme(kX, 1);
    const int64_t label = _tr_arayuz_etiket(kX, 1);
    const int64_t entry = _tr_arayuz_giris();
    const int64_t strip = _tr_arayuz_sekmeler();
    const int64_t page = _tr_arayuz_kutu_dikey();
    const int64_t bar = _tr_arayuz_ilerleme_cubugu();
    const int64_t separator = _tr_arayuz_ayirici();
    const int64_t scroller = _tr_arayuz_kaydirma();
    for (int64_t id : {window, box, inner, button, label, entry, strip, page, bar, separator, scroller}) {
        ASSERT_GE(id, 0);
    }
    // A window of our own registered under kinds that name no kind: the 32-bit
    // kinds 0 and -1. Packed and laid out, it is placed like any other window.
    for (int64_t kind : {INT64_MIN, INT64_MAX}) {
        HWND own = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, GetDesktopWindow(), nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
        const int64_t external = _tr_arayuz_widget_kaydet_harici_win(own, kind);
        ASSERT_GE(external, 0);
        EXPECT_EQ(0, _tr_arayuz_pakle(scroller, external, 0, 0, 0));
    }
    EXPECT_EQ(0, _tr_arayuz_pakle(inner, separator, 0, 1, 0));
    EXPECT_EQ(0, _tr_arayuz_pakle(inner, scroller, 1, 1, 0));
    EXPECT_EQ(0, _tr_arayuz_pakle(box, inner, 1, 1, 0));
    EXPECT_EQ(0, _tr_arayuz_pakle(inner, button, 0, 0, 2));
    EXPECT_EQ(0, _tr_arayuz_pakle(box, strip, 1, 1, 0));
    EXPECT_EQ(0, _tr_pencere_icerik_ayarla(window, box));
    EXPECT_EQ(0, _tr_arayuz_sekme_kapatmali_ekle(strip, page, kX, 1));
    EXPECT_EQ(0, _tr_pencere_goster(window));

    const int64_t count = widget_sayisi();
    for (int64_t id : kotu_kimlikler(count)) {
        EXPECT_EQ(nullptr, _tr_arayuz_widget_al_hwnd(id)) << ad("widget_al_hwnd", id);
        EXPECT_EQ(nullptr, _tr_arayuz_widget_al(id)) << ad("widget_al", id);
        EXPECT_EQ(0, _tr_arayuz_dugme_basildi_mi(id)) << ad("dugme_basildi_mi", id);
        EXPECT_EQ(0, _tr_arayuz_giris_enter_mi(id)) << ad("giris_enter_mi", id);
        EXPECT_EQ(0, _tr_arayuz_sekme_degisti_mi(id)) << ad("sekme_degisti_mi", id);
        EXPECT_EQ(-1, _tr_arayuz_widget_genislik_ayarla(id, 10)) << ad("genislik_ayarla", id);
        EXPECT_EQ(-1, _tr_arayuz_widget_yukseklik_ayarla(id, 10)) << ad("yukseklik_ayarla", id);
        EXPECT_EQ(-1, _tr_arayuz_widget_gizle(id)) << ad("widget_gizle", id);
        EXPECT_EQ(-1, _tr_arayuz_widget_goster(id)) << ad("widget_goster", id);
        EXPECT_EQ(0, _tr_arayuz_css_sinif_ekle(id, kX, 1)) << ad("css_sinif_ekle", id);
        EXPECT_EQ(0, _tr_arayuz_css_sinif_kaldir(id, kX, 1)) << ad("css_sinif_kaldir", id);
        EXPECT_EQ(0, _tr_arayuz_ipucu_ayarla(id, kX, 1)) << ad("ipucu_ayarla", id);
        EXPECT_EQ(-1, _tr_arayuz_pakle(id, button, 0, 0, 0)) << ad("pakle as box", id);
        EXPECT_EQ(-1, _tr_arayuz_pakle(box, id, 0, 0, 0)) << ad("pakle as child", id);
        EXPECT_EQ(-1, _tr_arayuz_ekle(id, button)) << ad("ekle as box", id);
        EXPECT_EQ(-1, _tr_arayuz_ekle(box, id)) << ad("ekle as child", id);
        EXPECT_EQ(-1, _tr_arayuz_goster_tumu(id)) << ad("goster_tumu", id);
        win_layout_yenile(id, 100, 100);
        EXPECT_EQ(-1, _tr_arayuz_sekme_ekle(id, page, kX, 1)) << ad("sekme_ekle as strip", id);
        EXPECT_EQ(-1, _tr_arayuz_sekme_ekle(strip, id, kX, 1)) << ad("sekme_ekle as page", id);
        EXPECT_EQ(-1, _tr_arayuz_sekme_kapatmali_ekle(id, page, kX, 1)) << ad("sekme_kapatmali_ekle", id);
        EXPECT_EQ(-1, _tr_arayuz_sekme_kapatmali_ekle(strip, id, kX, 1)) << ad("kapatmali_ekle as page", id);
        EXPECT_EQ(-1, _tr_arayuz_sekme_kaldir(id, 0)) << ad("sekme_kaldir", id);
        EXPECT_EQ(-1, _tr_arayuz_sekme_sec(id, 0)) << ad("sekme_sec", id);
        EXPECT_EQ(-1, _tr_arayuz_sekme_secili(id)) << ad("sekme_secili", id);
        EXPECT_EQ(-1, _tr_arayuz_sekme_baslik_ayarla(id, 0, kX, 1)) << ad("sekme_baslik_ayarla", id);
        EXPECT_EQ(0, _tr_arayuz_sekme_sayisi(id)) << ad("sekme_sayisi", id);
        EXPECT_EQ(-1, _tr_arayuz_sekme_kapandi_mi(id)) << ad("sekme_kapandi_mi", id);
        bos_metin(_tr_arayuz_giris_metni_al(id), ad("giris_metni_al", id));
        bos_metin(_tr_arayuz_etiket_metni_al(id), ad("etiket_metni_al", id));
        EXPECT_EQ(-1, _tr_arayuz_giris_metni_ayarla(id, kX, 1)) << ad("giris_metni_ayarla", id);
        EXPECT_EQ(-1, _tr_arayuz_etiket_metni_ayarla(id, kX, 1)) << ad("etiket_metni_ayarla", id);
        EXPECT_EQ(-1, _tr_arayuz_dugme_etiket_ayarla(id, kX, 1)) << ad("dugme_etiket_ayarla", id);
        EXPECT_EQ(-1, _tr_arayuz_giris_ipucu_ayarla(id, kX, 1)) << ad("giris_ipucu_ayarla", id);
        EXPECT_EQ(-1, _tr_arayuz_ilerleme_ayarla(id, 5)) << ad("ilerleme_ayarla", id);
    }
    EXPECT_EQ(count, widget_sayisi()) << "a refused call registered a widget";
    EXPECT_EQ(-1, _tr_arayuz_widget_kaydet_harici(nullptr));
    EXPECT_EQ(-1, _tr_arayuz_widget_kaydet_harici_win(nullptr, INT64_MIN));

    iz("widget sizes, packing and layout with extreme numbers");
    for (int64_t pixels : {INT64_MIN, INT64_MAX, int64_t{-1}, int64_t{0}, int64_t{1} << 40}) {
        EXPECT_EQ(0, _tr_arayuz_widget_genislik_ayarla(button, pixels));
        EXPECT_EQ(0, _tr_arayuz_widget_yukseklik_ayarla(button, pixels));
        win_layout_yenile(box, 800, 600);
    }
    EXPECT_EQ(0, _tr_arayuz_pakle(inner, label, INT64_MIN, INT64_MAX, INT64_MAX));
    EXPECT_EQ(0, _tr_arayuz_pakle(inner, entry, INT64_MAX, INT64_MIN, INT64_MIN));
    for (int32_t size : {INT32_MIN, INT32_MAX, -1, 0, 1400}) win_layout_yenile(box, size, size);
    EXPECT_EQ(-1, _tr_arayuz_pakle(box, box, 0, 0, 0)) << "a box packed into itself";
    EXPECT_EQ(-1, _tr_arayuz_pakle(inner, box, 0, 0, 0)) << "a box packed into its own child";
    _tr_pencere_boyut_ayarla(window, 900, 700);
    _tr_pencere_olaylari_isle();

    iz("tab indices");
    EXPECT_EQ(1, _tr_arayuz_sekme_sayisi(strip));
    for (int64_t index : {int64_t{-1}, int64_t{1}, int64_t{2}, int64_t{INT32_MAX}, int64_t{INT32_MIN}, INT64_MAX}) {
        EXPECT_EQ(-1, _tr_arayuz_sekme_kaldir(strip, index)) << "sekme_kaldir index " << index;
        EXPECT_EQ(0, _tr_arayuz_sekme_baslik_ayarla(strip, index, kX, 1)) << "sekme_baslik_ayarla " << index;
        EXPECT_EQ(0, _tr_arayuz_sekme_sec(strip, index)) << "sekme_sec index " << index;
        EXPECT_EQ(1, _tr_arayuz_sekme_degisti_mi(strip));
    }
    EXPECT_EQ(1, _tr_arayuz_sekme_sayisi(strip));
    EXPECT_EQ(L"x  x", sekme_yazisi(strip, 0));
    EXPECT_EQ(0, _tr_arayuz_sekme_sec(strip, 0));
    EXPECT_EQ(0, _tr_arayuz_sekme_secili(strip));
    EXPECT_EQ(-1, _tr_arayuz_sekme_kapandi_mi(strip));

    iz("texts into widgets");
    for (const KotuMetin& text : kotu_metinler()) {
        EXPECT_EQ(0, _tr_arayuz_css_yukle(text.ptr, text.len)) << ad("css_yukle", text);
        EXPECT_EQ(0, _tr_arayuz_css_sinif_ekle(box, text.ptr, text.len)) << ad("css_sinif_ekle", text);
        EXPECT_EQ(0, _tr_arayuz_ipucu_ayarla(box, text.ptr, text.len)) << ad("ipucu_ayarla", text);

        const int64_t new_button = _tr_arayuz_dugme(text.ptr, text.len);
        EXPECT_GE(new_button, 0) << ad("dugme", text);
        gosterilen(text, geri_oku(_tr_arayuz_etiket_metni_al(new_button)), ad("a new button's label", text));
        const int64_t new_label = _tr_arayuz_etiket(text.ptr, text.len);
        EXPECT_GE(new_label, 0) << ad("etiket", text);
        EXPECT_GE(_tr_arayuz_resim_dosyadan(text.ptr, text.len), 0) << ad("resim_dosyadan", text);

        EXPECT_EQ(0, _tr_arayuz_etiket_metni_ayarla(label, text.ptr, text.len)) << ad("etiket_metni_ayarla", text);
        gosterilen(text, geri_oku(_tr_arayuz_etiket_metni_al(label)), ad("a label's text", text));
        EXPECT_EQ(0, _tr_arayuz_dugme_etiket_ayarla(button, text.ptr, text.len)) << ad("dugme_etiket_ayarla", text);
        gosterilen(text, geri_oku(_tr_arayuz_etiket_metni_al(button)), ad("a button's label", text));
        EXPECT_EQ(0, _tr_arayuz_giris_metni_ayarla(entry, text.ptr, text.len)) << ad("giris_metni_ayarla", text);
        metni_denetle(_tr_arayuz_giris_metni_al(entry), true, true, ad("giris_metni_al", text));
        EXPECT_EQ(0, _tr_arayuz_giris_ipucu_ayarla(entry, text.ptr, text.len)) << ad("giris_ipucu_ayarla", text);

        EXPECT_EQ(0, _tr_arayuz_sekme_baslik_ayarla(strip, 0, text.ptr, text.len)) << ad("sekme_baslik_ayarla", text);
        // A closable tab keeps its close mark after the title.
        std::string caption = utf8(sekme_yazisi(strip, 0, kMebibayt + 16));
        ASSERT_GE(caption.size(), 3u) << ad("a tab's caption", text);
        EXPECT_EQ("  x", caption.substr(caption.size() - 3)) << ad("a tab's caption", text);
        gosterilen(text, caption.substr(0, caption.size() - 3), ad("a tab's caption", text), true);
        const int64_t other_page = _tr_arayuz_etiket(kX, 1);
        const int64_t added = _tr_arayuz_sekme_ekle(strip, other_page, text.ptr, text.len);
        EXPECT_GE(added, 1) << ad("sekme_ekle", text);
        if (added >= 1) {
            EXPECT_EQ(0, _tr_arayuz_sekme_kaldir(strip, added));
        }
        win_layout_yenile(box, 900, 700);
    }
    // Empty text read back from an entry has storage.
    EXPECT_EQ(0, _tr_arayuz_giris_metni_ayarla(entry, nullptr, 0));
    TrMetin empty = _tr_arayuz_giris_metni_al(entry);
    EXPECT_NE(nullptr, empty.ptr);
    EXPECT_EQ(0, empty.len);
    free(empty.ptr);

    iz("progress bar");
    const std::pair<int64_t, LRESULT> positions[] = {{INT64_MIN, 0}, {-1, 0},  {101, 100},
                                                     {INT64_MAX, 100}, {int64_t{1} << 40, 100}, {37, 37}};
    for (auto [value, shown] : positions) {
        EXPECT_EQ(0, _tr_arayuz_ilerleme_ayarla(bar, value));
        EXPECT_EQ(shown, SendMessageW(_tr_arayuz_widget_al_hwnd(bar), PBM_GETPOS, 0, 0)) << value;
    }
    EXPECT_EQ(0, _tr_pencere_kapat(window));
}

// ---- Web views --------------------------------------------------------------------

TEST(GirdiCocuk, F_WebGorunumleri) {
    iz("web views");
    ASSERT_TRUE(motoru_yukle());
    const int64_t view = _tr_webgorunum_olustur();
    const int64_t second = _tr_webgorunum_olustur();
    ASSERT_GE(view, 0);
    ASSERT_EQ(view + 1, second);
    for (int64_t id : kotu_kimlikler(second + 1)) {
        EXPECT_EQ(-1, _tr_webgorunum_widget_id(id)) << ad("webgorunum_widget_id", id);
        EXPECT_EQ(-1, _tr_webgorunum_kapat(id)) << ad("webgorunum_kapat", id);
        EXPECT_EQ(-1, _tr_webgorunum_yukle(id, kX, 1)) << ad("yukle", id);
        EXPECT_EQ(-1, _tr_webgorunum_html_yukle(id, kX, 1)) << ad("html_yukle", id);
        EXPECT_EQ(-1, _tr_webgorunum_js_calistir(id, kX, 1)) << ad("js_calistir", id);
        EXPECT_EQ(-1, _tr_webgorunum_geri(id)) << ad("geri", id);
        EXPECT_EQ(-1, _tr_webgorunum_ileri(id)) << ad("ileri", id);
        EXPECT_EQ(-1, _tr_webgorunum_yenile(id)) << ad("yenile", id);
        EXPECT_EQ(-1, _tr_webgorunum_durdur(id)) << ad("durdur", id);
        EXPECT_EQ(0, _tr_webgorunum_geri_gidebilir_mi(id)) << ad("geri_gidebilir_mi", id);
        EXPECT_EQ(0, _tr_webgorunum_ileri_gidebilir_mi(id)) << ad("ileri_gidebilir_mi", id);
        bos_metin(_tr_webgorunum_baslik_al(id), ad("baslik_al", id));
        bos_metin(_tr_webgorunum_adres_al(id), ad("adres_al", id));
        EXPECT_EQ(0, _tr_webgorunum_yukleniyor_mu(id)) << ad("yukleniyor_mu", id);
        EXPECT_EQ(0, _tr_webgorunum_yuklenme_yuzdesi(id)) << ad("yuklenme_yuzdesi", id);
        EXPECT_EQ(0, _tr_webgorunum_baslik_degisti_mi(id)) << ad("baslik_degisti_mi", id);
        EXPECT_EQ(0, _tr_webgorunum_adres_degisti_mi(id)) << ad("adres_degisti_mi", id);
        EXPECT_EQ(0, _tr_webgorunum_yuklenme_bitti_mi(id)) << ad("yuklenme_bitti_mi", id);
        EXPECT_EQ(-1, _tr_webgorunum_yakinlastir(id)) << ad("yakinlastir", id);
        EXPECT_EQ(-1, _tr_webgorunum_uzaklastir(id)) << ad("uzaklastir", id);
        EXPECT_EQ(-1, _tr_webgorunum_yakinlik_sifirla(id)) << ad("yakinlik_sifirla", id);
    }

    iz("texts into a web view");
    for (const KotuMetin& text : kotu_metinler()) {
        EXPECT_EQ(0, _tr_webgorunum_yukle(view, text.ptr, text.len)) << ad("yukle", text);
        EXPECT_EQ(0, _tr_webgorunum_html_yukle(second, text.ptr, text.len)) << ad("html_yukle", text);
        EXPECT_EQ(0, _tr_webgorunum_js_calistir(second, text.ptr, text.len)) << ad("js_calistir", text);
        for (int i = 0; i < 20; ++i) {
            _tr_pencere_olaylari_isle();
            _tr_pencere_olay_bekle(5);
        }
        for (int64_t id : {view, second}) {
            metni_denetle(_tr_webgorunum_baslik_al(id), true, true, ad("baslik_al after", text));
            metni_denetle(_tr_webgorunum_adres_al(id), true, true, ad("adres_al after", text));
        }
    }
    for (int i = 0; i < 12; ++i) EXPECT_EQ(0, _tr_webgorunum_uzaklastir(view));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(0, _tr_webgorunum_yakinlastir(view));
    EXPECT_EQ(0, _tr_webgorunum_yakinlik_sifirla(view));

    iz("closing a web view");
    EXPECT_EQ(0, _tr_webgorunum_kapat(view));
    EXPECT_EQ(-1, _tr_webgorunum_kapat(view));
    EXPECT_EQ(-1, _tr_webgorunum_yukle(view, kX, 1));
    EXPECT_EQ(-1, _tr_webgorunum_yakinlastir(view));
    EXPECT_EQ(0, _tr_webgorunum_yukleniyor_mu(view));
    bos_metin(_tr_webgorunum_baslik_al(view), "baslik_al of a closed web view");
    EXPECT_EQ(view, _tr_webgorunum_olustur()) << "the closed record is taken again";
    EXPECT_EQ(0, _tr_webgorunum_kapat(view));
    EXPECT_EQ(0, _tr_webgorunum_kapat(second));
}

// ---- The program ------------------------------------------------------------------

TEST(GirdiCocuk, G_Program) {
    iz("the program");
    korvayi_baslat();
    yuklenene_kadar();
    ASSERT_EQ(1, wv_sayisi);
    ASSERT_EQ("", sekme_degismezleri());
    const std::wstring title = pencere_metni(widget_penceresi(kenar_panel_baslik));
    for (int64_t number : {int64_t{-1}, int64_t{0}, int64_t{5}, int64_t{1} << 40, INT64_MIN, INT64_MAX}) {
        EXPECT_EQ(0, kenar_paneli_ac(number));
        EXPECT_EQ(1, kenar_acik);
        EXPECT_EQ(number, aktif_panel);
        EXPECT_EQ(title, pencere_metni(widget_penceresi(kenar_panel_baslik))) << "panel " << number;
        EXPECT_EQ(0, kenar_paneli_ac(number));
        EXPECT_EQ(0, kenar_acik);
    }
    for (int64_t position : kotu_kimlikler(wv_sayisi)) EXPECT_EQ(-1, sekme_webgorunumu(position)) << position;

    for (const KotuMetin& text : kotu_metinler()) {
        const int64_t before = wv_sayisi;
        const int64_t view = yeni_sekme_ac(text.ptr, text.len);
        EXPECT_GE(view, 0) << ad("yeni_sekme_ac", text);
        EXPECT_EQ(before + 1, wv_sayisi);
        yuklenene_kadar();
        EXPECT_EQ("", sekme_degismezleri()) << ad("after yeni_sekme_ac", text);
        EXPECT_EQ(0, pencere_basligini_guncelle());
        EXPECT_EQ(0, adres_cubugunu_guncelle());
        EXPECT_EQ(0, durum_guncelle());
    }
    // Enter in the address entry holding a megabyte.
    adres_yaz_enter(std::wstring(kMebibayt, L'a'));
    yuklenene_kadar();
    EXPECT_EQ("", sekme_degismezleri());
    EXPECT_EQ(0, _tr_pencere_kapatildi_mi(ana_pencere));
}

// ---- The parent's view of the child ---------------------------------------------

void girdi_cocugunu_denetle() {
    Cocuk* child = cocuk("girdi");
    ASSERT_NE(nullptr, child);
    ASSERT_TRUE(child->basladi());
    const long code = child->bekle(170000);
    const std::string& out = child->cikti();
    const std::string& err = child->hata_ciktisi();
    // On a crash the last line on standard error names the entry points it was at.
    const size_t last = err.rfind("sweep: ");
    EXPECT_EQ(0, code) << out << "\nlast reached: " << (last == std::string::npos ? "" : err.substr(last, 120));
    EXPECT_NE(std::string::npos, out.find("[  PASSED  ] 7 tests")) << out;

    const size_t start = out.find("<<<\n");
    const size_t end = out.find(">>>\n");
    ASSERT_NE(std::string::npos, start) << out;
    ASSERT_NE(std::string::npos, end);
    const std::string printed = out.substr(start + 4, end - start - 4);
    const std::string expected = std::string("a\xff\xfe\xc0\x80z\xed\xa0\x80\n", 10) + std::string("ab\0cd\n", 6) +
                                 std::string(kMebibayt, 'a') + "\n-9223372036854775808\n9223372036854775807\n" +
                                 "dogru\nyanlis\ninf\n-inf\n1.79769e+308\n";
    EXPECT_EQ(expected.size(), printed.size());
    EXPECT_TRUE(expected == printed) << "standard output of the printing entry points differs";
}
