// Everyday browsing, driven as a person would: keyboard shortcuts pressed in the
// address entry, on a button and inside the page; links that open new windows;
// pages that close themselves; a page's process and the whole engine dying; the
// pointer over a link. One browser per process, started on first use; the tests of
// a suite run in the order written, each from where the one before left off.
//
// ctest runs this program against both engines (tests/ortak/motor_secimi.h): the
// Standin suite reads the stand-in's call log and uses its ways of failing; the
// Gercek suite needs the real engine's pages, links and scripts.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "korva.h"
#include "ortak/motor_secimi.h"
#include "ortak/pencere_resmi.h"
#include "webview/webgorunum_ic.h"
#include "webview/webgorunum_win_cz.h"
#include "widgets/arayuz_win_cz.h"
#include "window/pencere_win_cz.h"

namespace {

const std::wstring kDerleme = KORVA_BUILD_DIR_W;

bool gercek_motor() { return korva_test::gercek_motor_mu(); }

std::string utf8(const std::wstring& metin) {
    std::string sonuc;
    int n = WideCharToMultiByte(CP_UTF8, 0, metin.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return sonuc;
    sonuc.resize(static_cast<size_t>(n));
    WideCharToMultiByte(CP_UTF8, 0, metin.c_str(), -1, sonuc.data(), n, nullptr, nullptr);
    sonuc.resize(static_cast<size_t>(n - 1));
    return sonuc;
}

std::string metin_al(TrMetin metin) {
    std::string sonuc = metin.ptr != nullptr ? std::string(metin.ptr, static_cast<size_t>(metin.len)) : "";
    free(metin.ptr);
    return sonuc;
}

// A page written into the build folder; its address as a person types it. The
// Chromium engine is a Linux program: it reads the file by its Unix path, which
// is the Windows one without the drive Wine maps to the root.
std::string sayfa_yaz(const char* ad, const std::string& html) {
    const std::wstring yol = kDerleme + L"\\" + std::wstring(ad, ad + strlen(ad));
    std::ofstream(yol.c_str(), std::ios::binary | std::ios::trunc) << html;
    std::string adres = utf8(yol);
    std::replace(adres.begin(), adres.end(), '\\', '/');
    if (gercek_motor() && adres.rfind("Z:", 0) == 0) return "file://" + adres.substr(2);
    return "file:///" + adres;
}

std::wstring gunluk_yolu() { return kDerleme + L"\\gunluk_motor.log"; }

std::vector<std::string> gunluk() {
    std::vector<std::string> satirlar;
    std::ifstream dosya(gunluk_yolu().c_str());
    for (std::string satir; std::getline(dosya, satir);) {
        if (!satir.empty() && satir.back() == '\r') satir.pop_back();
        satirlar.push_back(satir);
    }
    return satirlar;
}

// ---- The browser --------------------------------------------------------------

void korvayi_baslat() {
    static bool basladi = false;
    if (basladi) return;
    basladi = true;
    if (!gercek_motor()) {
        DeleteFileW(gunluk_yolu().c_str());
        SetEnvironmentVariableW(L"KORVA_STANDIN_LOG", gunluk_yolu().c_str());
    }
    LoadLibraryW((kDerleme + L"\\" + korva_test::motor_klasoru() + L"\\WebView2Loader.dll").c_str());
    // A new Korva: no tabs kept from whatever ran before in the shared test profile.
    wchar_t profil[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"KORVA_PROFIL", profil, MAX_PATH) > 0) {
        DeleteFileW((std::wstring(profil) + L"\\oturum.json").c_str());
    }
    korva_baslat();
}

void tur() {
    _tr_pencere_olaylari_isle();
    olaylari_kontrol_et();
}

// Passes of the loop until `kosul` holds; false after `ms`.
bool bekle(const std::function<bool()>& kosul, DWORD ms = 20000) {
    const ULONGLONG son = GetTickCount64() + ms;
    for (;;) {
        tur();
        if (kosul()) return true;
        if (GetTickCount64() >= son) return false;
        _tr_pencere_olay_bekle(20);
    }
}

void turlar(int n) {
    for (int i = 0; i < n; ++i) {
        tur();
        _tr_pencere_olay_bekle(5);
    }
}

int64_t secili() { return _tr_arayuz_sekme_secili(sekme_defteri); }
int64_t secili_gorunum() { return sekme_webgorunumu(secili()); }
std::string baslik(int64_t konum) { return metin_al(_tr_webgorunum_baslik_al(sekme_webgorunumu(konum))); }
std::string adres(int64_t konum) { return metin_al(_tr_webgorunum_adres_al(sekme_webgorunumu(konum))); }
HWND pencere(int64_t widget) { return _tr_arayuz_widget_al_hwnd(widget); }

std::string pencere_metni(HWND hwnd) {
    wchar_t metin[512] = {};
    GetWindowTextW(hwnd, metin, 512);
    return utf8(metin);
}

// The engine's window that shows the selected page and takes its input.
HWND sayfa_penceresi() {
    return GetWindow(pencere(_tr_webgorunum_widget_id(secili_gorunum())), GW_CHILD);
}

bool baslik_olunca(int64_t konum, const std::string& beklenen) {
    return bekle([&] { return konum < wv_sayisi && baslik(konum) == beklenen; });
}

// Loads an address into the selected tab as Enter in the address entry would.
void yukle(const std::string& adres_metni, const std::string& beklenen_baslik) {
    _tr_webgorunum_yukle(secili_gorunum(), adres_metni.data(), static_cast<int64_t>(adres_metni.size()));
    ASSERT_TRUE(baslik_olunca(secili(), beklenen_baslik)) << "title " << baslik(secili());
}

void betik_calistir(const std::string& betik) {
    _tr_webgorunum_js_calistir(secili_gorunum(), betik.data(), static_cast<int64_t>(betik.size()));
}

// A key pressed on a window, with Ctrl, Shift and Alt (TR_KISAYOL_* bits) held
// while it is handled, as the keyboard would send it.
void tus_bas(HWND hedef, UINT tus, int64_t degistiriciler = 0) {
    BYTE durum[256] = {};
    GetKeyboardState(durum);
    BYTE eski[256];
    memcpy(eski, durum, sizeof eski);
    if (degistiriciler & TR_KISAYOL_CTRL) durum[VK_CONTROL] = durum[VK_LCONTROL] = 0x80;
    if (degistiriciler & TR_KISAYOL_SHIFT) durum[VK_SHIFT] = durum[VK_LSHIFT] = 0x80;
    if (degistiriciler & TR_KISAYOL_ALT) durum[VK_MENU] = durum[VK_LMENU] = 0x80;
    SetKeyboardState(durum);
    const bool alt = (degistiriciler & TR_KISAYOL_ALT) != 0;
    const LPARAM bas = 1 | (alt ? (1 << 29) : 0);
    PostMessageW(hedef, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, tus, bas);
    PostMessageW(hedef, alt ? WM_SYSKEYUP : WM_KEYUP, tus, bas | (1u << 30) | (1u << 31));
    turlar(5);
    SetKeyboardState(eski);
}

// Ctrl+W, then the passes until the tab is gone: its page is asked first and agrees
// after a trip to an empty page.
void ctrl_w() {
    const int64_t once = kapanan_sekme_sayisi;
    tus_bas(pencere(adres_girisi), 'W', TR_KISAYOL_CTRL);
    EXPECT_TRUE(bekle([once] { return kapanan_sekme_sayisi > once; }));
}

void yaz(HWND hedef, const std::string& metin) {
    for (char c : metin) PostMessageW(hedef, WM_CHAR, static_cast<unsigned char>(c), 1);
    turlar(3);
}

void tikla(HWND hedef, int x, int y, bool orta = false) {
    const LPARAM nokta = MAKELPARAM(x, y);
    PostMessageW(hedef, orta ? WM_MBUTTONDOWN : WM_LBUTTONDOWN, orta ? MK_MBUTTON : MK_LBUTTON, nokta);
    PostMessageW(hedef, orta ? WM_MBUTTONUP : WM_LBUTTONUP, 0, nokta);
}

// The middle of the page window, where the real-engine pages put what is clicked.
void sayfanin_ortasina_tikla() {
    RECT alan;
    GetClientRect(sayfa_penceresi(), &alan);
    tikla(sayfa_penceresi(), alan.right / 2, alan.bottom / 2);
}

// Another tab still loads pages: a text document put into it comes back titled.
void yukle_konumda(int64_t konum) {
    const char html[] = "<title>Calisiyor</title>";
    _tr_webgorunum_html_yukle(sekme_webgorunumu(konum), html, static_cast<int64_t>(strlen(html)));
    EXPECT_TRUE(baslik_olunca(konum, "Calisiyor"));
}

// A page that covers the whole view with one thing to click.
std::string tam_sayfa(const char* baslik_metni, const std::string& icerik) {
    return std::string("<!DOCTYPE html><html><head><title>") + baslik_metni +
           "</title><style>a,button{position:fixed;left:0;top:0;width:100%;height:100%;display:block}</style>"
           "</head><body>" + icerik + "</body></html>";
}

class Tarayici : public testing::Test {
protected:
    static void SetUpTestSuite() { korvayi_baslat(); }
};

// ---- The stand-in: shortcuts --------------------------------------------------------

using Standin = Tarayici;

TEST_F(Standin, KisayollarAdresGirisindeVeDugmedeCalisir) {
    if (gercek_motor()) GTEST_SKIP();
    ASSERT_TRUE(bekle([] { return wv_sayisi == 1; }));
    HWND giris = pencere(adres_girisi);
    SetFocus(giris);
    tus_bas(giris, 'T', TR_KISAYOL_CTRL);
    EXPECT_EQ(wv_sayisi, 2);
    EXPECT_EQ(secili(), 1);

    HWND dugme = pencere(geri_dugme);
    SetFocus(dugme);
    tus_bas(dugme, 'T', TR_KISAYOL_CTRL);
    EXPECT_EQ(wv_sayisi, 3);
    tus_bas(dugme, '1', TR_KISAYOL_CTRL);
    EXPECT_EQ(secili(), 0);
    tus_bas(dugme, VK_TAB, TR_KISAYOL_CTRL | TR_KISAYOL_SHIFT);  // wraps to the last
    EXPECT_EQ(secili(), 2);
    tus_bas(dugme, VK_TAB, TR_KISAYOL_CTRL);  // and back round to the first
    EXPECT_EQ(secili(), 0);
    tus_bas(dugme, '9', TR_KISAYOL_CTRL);
    EXPECT_EQ(secili(), 2);
    tus_bas(dugme, '8', TR_KISAYOL_CTRL);  // no eighth tab: nothing happens
    EXPECT_EQ(secili(), 2);

    HWND ana = GetAncestor(giris, GA_ROOT);
    tus_bas(dugme, VK_F11);
    EXPECT_EQ(GetWindowLongW(ana, GWL_STYLE) & WS_CAPTION, 0);
    tus_bas(dugme, VK_F11);
    EXPECT_EQ(GetWindowLongW(ana, GWL_STYLE) & WS_CAPTION, WS_CAPTION);

    tus_bas(dugme, 'L', TR_KISAYOL_CTRL);
    EXPECT_EQ(GetFocus(), giris);
    DWORD bas = 1, son = 0;
    SendMessageW(giris, EM_GETSEL, reinterpret_cast<WPARAM>(&bas), reinterpret_cast<LPARAM>(&son));
    EXPECT_EQ(bas, 0u);
    EXPECT_EQ(son, static_cast<DWORD>(GetWindowTextLengthW(giris)));
}

// Full screen: the page alone over the whole screen (the toolbar, the row of tabs,
// the sidebar, the open side panel and the status bar hidden), and F11 or Esc giving
// back the frame exactly as it was, a maximized window too. A page's element in full
// screen does the same until the page leaves it; the user's F11 outlasts the page's.
TEST_F(Standin, TamEkranYalnizSayfayiGosterirCerceveyiAynenGeriVerir) {
    if (gercek_motor()) GTEST_SKIP();
    ASSERT_TRUE(bekle([] { return wv_sayisi >= 1; }));
    HWND ana = GetAncestor(pencere(adres_girisi), GA_ROOT);
    auto dikdortgen = [](HWND hwnd) {
        RECT r = {};
        GetWindowRect(hwnd, &r);
        return std::vector<LONG>{r.left, r.top, r.right, r.bottom};
    };
    auto sayfa_alani = [&] { return dikdortgen(pencere(_tr_webgorunum_widget_id(secili_gorunum()))); };
    const std::vector<LONG> ekran = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    auto yalniz_sayfa = [&] {
        return sayfa_alani() == ekran && dikdortgen(ana) == ekran &&
               (GetWindowLongW(ana, GWL_STYLE) & WS_CAPTION) == 0 && !IsWindowVisible(pencere(adres_girisi)) &&
               !IsWindowVisible(pencere(kenar_cubugu)) && !IsWindowVisible(pencere(kenar_panel)) &&
               !IsWindowVisible(pencere(durum_etiketi));
    };
    kenar_paneli_ac(2);
    turlar(3);
    const std::vector<LONG> pencere_once = dikdortgen(ana), sayfa_once = sayfa_alani();
    auto cerceve_aynen = [&] {
        return dikdortgen(ana) == pencere_once && sayfa_alani() == sayfa_once &&
               (GetWindowLongW(ana, GWL_STYLE) & WS_CAPTION) == WS_CAPTION && IsWindowVisible(pencere(adres_girisi)) &&
               IsWindowVisible(pencere(kenar_panel)) && IsWindowVisible(pencere(durum_etiketi));
    };
    HWND sayfa = sayfa_penceresi();

    tus_bas(sayfa, VK_F11);
    EXPECT_TRUE(yalniz_sayfa());
    tus_bas(sayfa, VK_F11);
    EXPECT_TRUE(cerceve_aynen());
    tus_bas(sayfa, VK_F11);
    tus_bas(sayfa, VK_ESCAPE);
    EXPECT_TRUE(cerceve_aynen());

    // The page's own full screen, left by the page and by Esc.
    betik_calistir("document.body.requestFullscreen()");
    EXPECT_TRUE(bekle(yalniz_sayfa));
    betik_calistir("document.exitFullscreen()");
    EXPECT_TRUE(bekle(cerceve_aynen));
    betik_calistir("document.body.requestFullscreen()");
    EXPECT_TRUE(bekle(yalniz_sayfa));
    tus_bas(sayfa, VK_ESCAPE);
    EXPECT_TRUE(cerceve_aynen());
    turlar(5);
    EXPECT_EQ(_tr_webgorunum_tam_ekranda_mi(secili_gorunum()), 0);

    // Under F11 the page's exit keeps the user's full screen.
    tus_bas(sayfa, VK_F11);
    betik_calistir("document.body.requestFullscreen()");
    turlar(5);
    betik_calistir("document.exitFullscreen()");
    turlar(5);
    EXPECT_TRUE(yalniz_sayfa());
    tus_bas(sayfa, VK_F11);
    EXPECT_TRUE(cerceve_aynen());

    // Ctrl+L puts the keyboard in the address entry: the frame comes back with it.
    tus_bas(sayfa, VK_F11);
    tus_bas(sayfa, 'L', TR_KISAYOL_CTRL);
    EXPECT_TRUE(cerceve_aynen());
    EXPECT_EQ(GetFocus(), pencere(adres_girisi));

    // A maximized window comes back maximized, and its restored size is the old one.
    ShowWindow(ana, SW_MAXIMIZE);
    turlar(3);
    const std::vector<LONG> buyuk = dikdortgen(ana);
    tus_bas(sayfa, VK_F11);
    EXPECT_TRUE(yalniz_sayfa());
    tus_bas(sayfa, VK_F11);
    EXPECT_TRUE(IsZoomed(ana));
    EXPECT_EQ(dikdortgen(ana), buyuk);
    ShowWindow(ana, SW_RESTORE);
    turlar(3);
    EXPECT_TRUE(cerceve_aynen());
    kenar_paneli_ac(2);
    turlar(3);
}

TEST_F(Standin, KapatilanSekmeCtrlShiftTIleAdresiyleGeriGelir) {
    if (gercek_motor()) GTEST_SKIP();
    yukle("file:///Z:/yok/gunluk_kapanan.html", "file:///Z:/yok/gunluk_kapanan.html");
    const int64_t once = wv_sayisi;
    ctrl_w();
    EXPECT_EQ(wv_sayisi, once - 1);
    tus_bas(pencere(adres_girisi), 'T', TR_KISAYOL_CTRL | TR_KISAYOL_SHIFT);
    ASSERT_EQ(wv_sayisi, once);
    EXPECT_TRUE(bekle([] { return adres(secili()) == "file:///Z:/yok/gunluk_kapanan.html"; }));
    // Closing the last tab leaves a start page; with no tab closed before, Ctrl+Shift+T
    // brings back nothing more than there is.
    while (wv_sayisi > 1) ctrl_w();
    ctrl_w();
    EXPECT_EQ(wv_sayisi, 1);
    EXPECT_TRUE(bekle([] { return baslik(0) == "Hizli Erisim"; }));
}

TEST_F(Standin, SayfadakiKisayoluTarayiciAlirSayfaAlmaz) {
    if (gercek_motor()) GTEST_SKIP();
    yukle("about:blank", "about:blank");
    const size_t isaret = gunluk().size();
    SetFocus(sayfa_penceresi());
    // F5 in the page: the browser reloads (a call the log shows); the page, which
    // reloads by itself on F5 otherwise, never sees the key.
    tus_bas(sayfa_penceresi(), VK_F5);
    const auto satirlar = gunluk();
    int yeniden = 0, islendi = 0;
    for (size_t i = isaret; i < satirlar.size(); ++i) {
        yeniden += satirlar[i].find(" Reload") != std::string::npos;
        islendi += satirlar[i].find(" put_Handled 1") != std::string::npos;
    }
    EXPECT_EQ(yeniden, 1);
    EXPECT_EQ(islendi, 1);
    // Zoom from the page: in, then back to normal.
    tus_bas(sayfa_penceresi(), VK_OEM_PLUS, TR_KISAYOL_CTRL);
    tus_bas(sayfa_penceresi(), '0', TR_KISAYOL_CTRL);
    const auto sonra = gunluk();
    std::vector<std::string> yakinliklar;
    for (size_t i = isaret; i < sonra.size(); ++i) {
        const size_t yer = sonra[i].find(" put_ZoomFactor ");
        if (yer != std::string::npos) yakinliklar.push_back(sonra[i].substr(yer + 16));
    }
    EXPECT_EQ(yakinliklar, (std::vector<std::string>{"1.1", "1"}));
    tus_bas(sayfa_penceresi(), 'T', TR_KISAYOL_CTRL);
    EXPECT_EQ(wv_sayisi, 2);
}

// ---- The stand-in: pages that open and close windows ----------------------------

const char kBaglantiliSayfa[] =
    "<html><head><title>Baglantili</title></head><body><a href='https://ornek.test/hedef'>Baglanti</a></body></html>";

void baglantili_sayfa() {
    _tr_webgorunum_html_yukle(secili_gorunum(), kBaglantiliSayfa, static_cast<int64_t>(strlen(kBaglantiliSayfa)));
    ASSERT_TRUE(baslik_olunca(secili(), "Baglantili"));
}

// The link is the body's first word: below the stand-in's title and address.
constexpr int kBaglantiX = 24, kBaglantiY = 72;

TEST_F(Standin, OrtaTiklamaYeniSekmeyiArkadaAcarCtrlTiklamaDa) {
    if (gercek_motor()) GTEST_SKIP();
    tus_bas(pencere(adres_girisi), '1', TR_KISAYOL_CTRL);
    baglantili_sayfa();
    const int64_t once = wv_sayisi, konum = secili();
    tikla(sayfa_penceresi(), kBaglantiX, kBaglantiY, true);
    ASSERT_TRUE(bekle([&] { return wv_sayisi == once + 1; }));
    EXPECT_EQ(secili(), konum);
    EXPECT_TRUE(bekle([&] { return adres(konum + 1) == "https://ornek.test/hedef"; }));
    // A popup no click started is refused.
    betik_calistir("window.open('https://ornek.test/reklam')");
    turlar(20);
    EXPECT_EQ(wv_sayisi, once + 1);
}

// A page's own window that closes itself gives the selection and the keyboard back
// to its opener only when its tab was the selected one: closing behind the tab the
// user went to, it leaves that tab selected.
TEST_F(Standin, KendiniKapatanAcilirYalnizSeciliykenAcanaDoner) {
    if (gercek_motor()) GTEST_SKIP();
    tus_bas(pencere(adres_girisi), '1', TR_KISAYOL_CTRL);
    baglantili_sayfa();
    const int64_t once = wv_sayisi, acan = secili();
    const HWND acan_sayfasi = sayfa_penceresi();
    const auto ac_ve_kapat = [&](bool secerek) {
        tikla(sayfa_penceresi(), kBaglantiX, kBaglantiY, true);
        ASSERT_TRUE(bekle([&] { return wv_sayisi == once + 1; }));
        const int64_t acilan = sekme_webgorunumu(acan + 1);
        if (secerek) {
            _tr_arayuz_sekme_sec(sekme_defteri, acan + 1);
        } else {
            tus_bas(pencere(adres_girisi), 'T', TR_KISAYOL_CTRL);
            ASSERT_EQ(wv_sayisi, once + 2);
        }
        turlar(3);
        const char kapat[] = "window.close()";
        _tr_webgorunum_js_calistir(acilan, kapat, static_cast<int64_t>(strlen(kapat)));
        ASSERT_TRUE(bekle([&] { return sekme_webgorunumu(acan + 1) != acilan; }));
    };
    ac_ve_kapat(false);
    EXPECT_EQ(secili(), wv_sayisi - 1) << "the tab the user went to stays selected";
    ctrl_w();
    ASSERT_EQ(wv_sayisi, once);
    tus_bas(pencere(adres_girisi), '1', TR_KISAYOL_CTRL);
    ASSERT_TRUE(bekle([&] { return secili() == acan; }));
    ac_ve_kapat(true);
    EXPECT_EQ(secili(), acan);
    EXPECT_TRUE(bekle([&] { return GetFocus() == acan_sayfasi; }, 2000));
}

TEST_F(Standin, SekmeSinirindaYeniPencereMevcutSekmedeAcilir) {
    if (gercek_motor()) GTEST_SKIP();
    while (wv_sayisi < MAKS_SEKME) ASSERT_GE(hizli_erisim_ac(), 0);
    baglantili_sayfa();
    tikla(sayfa_penceresi(), kBaglantiX, kBaglantiY, true);
    EXPECT_TRUE(bekle([] { return adres(secili()) == "https://ornek.test/hedef"; }));
    EXPECT_EQ(wv_sayisi, MAKS_SEKME);
    while (wv_sayisi > 2) ctrl_w();
}

TEST_F(Standin, WindowCloseSekmesiniKapatir) {
    if (gercek_motor()) GTEST_SKIP();
    const int64_t once = wv_sayisi;
    betik_calistir("window.close()");
    EXPECT_TRUE(bekle([&] { return wv_sayisi == once - 1; }));
}

// ---- The stand-in: the link under the pointer -------------------------------------

TEST_F(Standin, DurumCubuguIsaretcininAltindakiBaglantiyiGosterir) {
    if (gercek_motor()) GTEST_SKIP();
    baglantili_sayfa();
    PostMessageW(sayfa_penceresi(), WM_MOUSEMOVE, 0, MAKELPARAM(kBaglantiX, kBaglantiY));
    EXPECT_TRUE(bekle([] { return pencere_metni(pencere(durum_etiketi)) == "https://ornek.test/hedef"; }));
    PostMessageW(sayfa_penceresi(), WM_MOUSEMOVE, 0, MAKELPARAM(kBaglantiX, 400));
    EXPECT_TRUE(bekle([] { return pencere_metni(pencere(durum_etiketi)) == "Hazir"; }));
}

// ---- The stand-in: a page's process, then the whole engine, failing ---------------

TEST_F(Standin, CokenSayfaHataSayfasiGosterirYenileGeriGetirir) {
    if (gercek_motor()) GTEST_SKIP();
    tus_bas(pencere(adres_girisi), 'T', TR_KISAYOL_CTRL);
    const int64_t diger = secili();
    tus_bas(pencere(adres_girisi), '1', TR_KISAYOL_CTRL);
    // The stand-in ends a page's process at this address; only a page gets there.
    betik_calistir("location.href = 'edge://kill'");
    ASSERT_TRUE(baslik_olunca(secili(), "Sayfa coktu"));
    EXPECT_EQ(adres(secili()), "about:blank");
    EXPECT_EQ(baslik(diger), "Hizli Erisim");
    // F5 loads the failed address again (a navigation, not a reload of the error page).
    const size_t isaret = gunluk().size();
    tus_bas(pencere(adres_girisi), VK_F5);
    EXPECT_TRUE(bekle([&] {
        const auto satirlar = gunluk();
        for (size_t i = isaret; i < satirlar.size(); ++i) {
            const std::string& satir = satirlar[i];
            if (satir.find(" Navigate ") != std::string::npos && satir.size() > 11 &&
                satir.compare(satir.size() - 11, 11, "edge://kill") == 0)
                return true;
        }
        return false;
    }));
}

TEST_F(Standin, MotorCokunceHerSekmeSoylerYenileYeniMotordaAcar) {
    if (gercek_motor()) GTEST_SKIP();
    tus_bas(pencere(adres_girisi), '1', TR_KISAYOL_CTRL);
    yukle("file:///Z:/yok/gunluk_motor.html", "file:///Z:/yok/gunluk_motor.html");
    const int64_t n = wv_sayisi;
    ASSERT_GE(n, 2);
    const size_t isaret = gunluk().size();
    tus_bas(pencere(adres_girisi), '2', TR_KISAYOL_CTRL);
    betik_calistir("location.href = 'edge://kill-engine'");
    EXPECT_TRUE(bekle([] { return pencere_metni(pencere(durum_etiketi)).rfind("Web motoru coktu", 0) == 0; }));
    tus_bas(pencere(adres_girisi), '1', TR_KISAYOL_CTRL);
    EXPECT_EQ(pencere_metni(pencere(durum_etiketi)).rfind("Web motoru coktu", 0), 0u);
    // Nothing started a new engine by itself: no controller was asked for.
    const auto satirlar = gunluk();
    EXPECT_EQ(std::count(satirlar.begin() + static_cast<long>(isaret), satirlar.end(),
                         "- CreateCoreWebView2Controller"), 0);
    EXPECT_EQ(wv_sayisi, n);
    // Reload brings the page back in a web view of the new engine, in its place.
    tus_bas(pencere(adres_girisi), 'R', TR_KISAYOL_CTRL);
    EXPECT_TRUE(bekle([] { return adres(0) == "file:///Z:/yok/gunluk_motor.html"; }));
    EXPECT_EQ(secili(), 0);
    EXPECT_EQ(wv_sayisi, n);
}

// ---- The real engine ------------------------------------------------------------

// The colour in the middle of the selected page's window as it is on the screen: what
// the window painted by itself, without asking it to paint (which would start its
// frames if they had not started).
COLORREF ekrandaki_sayfanin_ortasi() {
    HWND sayfa = sayfa_penceresi();
    RECT alan;
    GetClientRect(sayfa, &alan);
    POINT orta = {alan.right / 2, alan.bottom / 2};
    ClientToScreen(sayfa, &orta);
    HDC ekran = GetDC(nullptr);
    const COLORREF renk = GetPixel(ekran, orta.x, orta.y);
    ReleaseDC(nullptr, ekran);
    return renk;
}

using Gercek = Tarayici;

TEST_F(Gercek, HedefiBosOlanBaglantiYeniSekmedeAcilirVeSecilir) {
    if (!gercek_motor()) GTEST_SKIP();
    const std::string hedef = sayfa_yaz("gunluk_hedef.html", "<title>Hedef</title><p>Hedef</p>");
    yukle(sayfa_yaz("gunluk_bos_hedef.html",
                    tam_sayfa("Kaynak", "<a target='_blank' href='" + hedef + "'>Ac</a>")),
          "Kaynak");
    const int64_t once = wv_sayisi, konum = secili();
    sayfanin_ortasina_tikla();
    ASSERT_TRUE(bekle([&] { return wv_sayisi == once + 1; }));
    EXPECT_EQ(secili(), konum + 1);
    EXPECT_TRUE(baslik_olunca(konum + 1, "Hedef"));
    EXPECT_EQ(baslik(konum), "Kaynak");
}

TEST_F(Gercek, TiklamaylaWindowOpenYeniSekmeAcar) {
    if (!gercek_motor()) GTEST_SKIP();
    const std::string hedef = sayfa_yaz("gunluk_acilan.html", "<title>Acilan</title><p>Acilan</p>");
    yukle(sayfa_yaz("gunluk_acan.html",
                    tam_sayfa("Acan", "<button onclick=\"window.open('" + hedef + "')\">Ac</button>")),
          "Acan");
    const int64_t once = wv_sayisi, konum = secili();
    sayfanin_ortasina_tikla();
    ASSERT_TRUE(bekle([&] { return wv_sayisi == once + 1; }));
    EXPECT_TRUE(baslik_olunca(konum + 1, "Acilan"));
}

TEST_F(Gercek, OrtaTiklamaBaglantiyiArkadakiSekmedeAcar) {
    if (!gercek_motor()) GTEST_SKIP();
    const std::string hedef = sayfa_yaz("gunluk_arka.html", "<title>Arka</title><p>Arka</p>");
    yukle(sayfa_yaz("gunluk_orta.html", tam_sayfa("Orta", "<a href='" + hedef + "'>Ac</a>")), "Orta");
    const int64_t once = wv_sayisi, konum = secili();
    RECT alan;
    GetClientRect(sayfa_penceresi(), &alan);
    tikla(sayfa_penceresi(), alan.right / 2, alan.bottom / 2, true);
    ASSERT_TRUE(bekle([&] { return wv_sayisi == once + 1; }));
    EXPECT_EQ(secili(), konum);
    EXPECT_TRUE(baslik_olunca(konum + 1, "Arka"));
}

// Scripts close only what the engine lets them: not a tab whose page the user went
// to, but a tab still on its first document; the tab goes when its page does.
TEST_F(Gercek, WindowCloseMotorunKuralinaUyar) {
    if (!gercek_motor()) GTEST_SKIP();
    tus_bas(pencere(adres_girisi), 'T', TR_KISAYOL_CTRL);
    const int64_t once = wv_sayisi;
    yukle(sayfa_yaz("gunluk_kapanan.html", tam_sayfa("Kapanan", "<button onclick='window.close()'>X</button>")),
          "Kapanan");
    sayfanin_ortasina_tikla();
    turlar(100);
    EXPECT_EQ(wv_sayisi, once);
    tus_bas(pencere(adres_girisi), 'T', TR_KISAYOL_CTRL);
    ASSERT_EQ(wv_sayisi, once + 1);
    betik_calistir("window.close()");
    EXPECT_TRUE(bekle([&] { return wv_sayisi == once; }));
}

// A page's scripts reach none of the library's helpers: not from a timer, not from a
// same-site frame, not with events they make up; a window no click opened fetches
// nothing.
TEST_F(Gercek, SayfaBetikleriYardimcilaraVePencereAcmayaErisemez) {
    if (!gercek_motor() || korva_test::sunucu_adresi().empty()) GTEST_SKIP();
    const std::string iz = korva_test::sunucu_adresi("/iz?k=");
    const std::string cagir =
        "for (const w of [window, parent]) for (const ad of Object.getOwnPropertyNames(w))"
        " if (ad.startsWith('__korva')) try { w[ad]('" + iz + "bag') } catch (e) {}"
        " for (const ad of ['__korvaBaslik', '__korvaDurum', '__korvaYeniPencere', '__korvaKapat'])"
        " try { parent[ad]('" + iz + "bag') } catch (e) {}";
    const std::string sayfa = sayfa_yaz("gunluk_saldiri.html",
                    "<title>Saldiri</title><a id=a href='" + iz + "tik'>a</a>"
                    "<iframe srcdoc=\"<script>" + cagir + "</script>\"></iframe><script>"
                    "const a = document.getElementById('a');"
                    "a.addEventListener('click', (e) => e.preventDefault());"
                    "setTimeout(() => {" + cagir + ";"
                    " window.open('" + iz + "acilan');"
                    " for (const o of [{button: 1}, {button: 0, ctrlKey: true}])"
                    "  a.dispatchEvent(new MouseEvent(o.button ? 'auxclick' : 'click',"
                    "   Object.assign({bubbles: true, cancelable: true}, o)));"
                    " a.dispatchEvent(new MouseEvent('mouseover', {bubbles: true}));"
                    " document.title = 'Bitti'; }, 300);</script>");
    const int64_t once = wv_sayisi, konum = secili();
    _tr_webgorunum_yukle(secili_gorunum(), sayfa.data(), static_cast<int64_t>(sayfa.size()));
    ASSERT_TRUE(baslik_olunca(konum, "Bitti"));
    turlar(100);
    EXPECT_EQ(wv_sayisi, once);
    EXPECT_EQ(pencere_metni(pencere(durum_etiketi)), "Hazir");
    yukle(korva_test::sunucu_adresi("/izler"), "Izler:");
}

// A page whose script never returns holds its process: a new address for it fails
// over to the error page within seconds, and the next one loads.
TEST_F(Gercek, DonanSayfadanYeniAdresleCikilir) {
    if (!gercek_motor()) GTEST_SKIP();
    yukle(sayfa_yaz("gunluk_donan.html", "<title>Donan</title><script>setTimeout(() => { for (;;) {} }, 200);</script>"),
          "Donan");
    turlar(60);
    const std::string kurtulus = sayfa_yaz("gunluk_kurtulus.html",
                                            "<title>Kurtulus</title><body style='background:#00c000'></body>");
    _tr_webgorunum_yukle(secili_gorunum(), kurtulus.data(), static_cast<int64_t>(kurtulus.size()));
    EXPECT_TRUE(baslik_olunca(secili(), "Sayfa coktu")) << baslik(secili());
    yukle(kurtulus, "Kurtulus");
    // The tab's fresh page paints, and so does the next one.
    const auto yesil = [] {
        const COLORREF renk = ekrandaki_sayfanin_ortasi();
        return GetGValue(renk) > 150 && GetBValue(renk) < 100;
    };
    EXPECT_TRUE(bekle(yesil)) << std::hex << ekrandaki_sayfanin_ortasi();
    yukle(sayfa_yaz("gunluk_sonraki.html", "<title>Sonraki</title><body style='background:#0000c0'></body>"),
          "Sonraki");
    const auto mavi = [] {
        const COLORREF renk = ekrandaki_sayfanin_ortasi();
        return GetBValue(renk) > 150 && GetGValue(renk) < 100;
    };
    EXPECT_TRUE(bekle(mavi)) << std::hex << ekrandaki_sayfanin_ortasi();
}

TEST_F(Gercek, SayfaKlavyedeykenKisayolTarayicininSayfaninDegil) {
    if (!gercek_motor()) GTEST_SKIP();
    yukle(sayfa_yaz("gunluk_tuslar.html",
                    "<title>Tuslar</title><script>onkeydown = (e) => { document.title = 'Tus ' + e.key; };</script>"),
          "Tuslar");
    const int64_t once = wv_sayisi;
    sayfanin_ortasina_tikla();
    turlar(5);
    ASSERT_EQ(GetFocus(), sayfa_penceresi());
    const int64_t konum = secili();
    tus_bas(sayfa_penceresi(), 'T', TR_KISAYOL_CTRL);
    ASSERT_TRUE(bekle([&] { return wv_sayisi == once + 1; }));
    // Other keys still reach the page; the shortcut never did.
    tus_bas(pencere(adres_girisi), '1' + static_cast<UINT>(konum), TR_KISAYOL_CTRL);
    SetFocus(sayfa_penceresi());
    tus_bas(sayfa_penceresi(), 'K');
    EXPECT_TRUE(baslik_olunca(konum, "Tus k"));
}

TEST_F(Gercek, CtrlLIleAdresYazilir) {
    if (!gercek_motor()) GTEST_SKIP();
    const std::string hedef = sayfa_yaz("gunluk_yazilan.html", "<title>Yazilan</title><p>Yazilan</p>");
    SetFocus(sayfa_penceresi());
    tus_bas(sayfa_penceresi(), 'L', TR_KISAYOL_CTRL);
    HWND giris = pencere(adres_girisi);
    ASSERT_EQ(GetFocus(), giris);
    // Typing replaces the selected text, as it does after Ctrl+L in any browser.
    yaz(giris, hedef);
    EXPECT_EQ(pencere_metni(giris), hedef);
    tus_bas(giris, VK_RETURN);
    EXPECT_TRUE(baslik_olunca(secili(), "Yazilan"));
}

TEST_F(Gercek, OldurulenSayfaSureciHataSayfasiGosterirYenileGeriGetirir) {
    if (!gercek_motor()) GTEST_SKIP();
    ASSERT_GE(wv_sayisi, 2);
    const int64_t konum = secili();
    yukle(sayfa_yaz("gunluk_cokecek.html", "<title>Cokecek</title><p>Cokecek</p>"), "Cokecek");
    const std::string once = adres(konum);
    // The engine's own address that ends the page's process, given to the engine
    // as it is (the runtime would put "https://" in front of it).
    gorunum_bul(secili_gorunum())->webview->Navigate(L"chrome://crash");
    ASSERT_TRUE(baslik_olunca(konum, "Sayfa coktu"));
    // The other tabs keep working.
    const int64_t diger = konum == 0 ? 1 : 0;
    yukle_konumda(diger);
    tus_bas(pencere(adres_girisi), VK_F5);
    EXPECT_TRUE(baslik_olunca(konum, "Cokecek"));
    EXPECT_EQ(adres(konum), once);
}

}  // namespace

// The colour in the middle of the selected page's picture, as its window paints it.
COLORREF sayfanin_ortasi() {
    const korva_test::PencereResmi resim(sayfa_penceresi());
    return resim.piksel(resim.genislik() / 2, resim.yukseklik() / 2);
}

// A page that changes colour on a timer goes on painting in its tab after another tab
// was opened and closed again: the tab shown stays the engine's front page.
TEST_F(Gercek, GorunenSekmeBaskaSekmedenSonraBoyamayaDevamEder) {
    if (!gercek_motor()) GTEST_SKIP();
    // A tab of its own, the last one: the next new tab comes right after it.
    const int64_t once = wv_sayisi;
    tus_bas(pencere(adres_girisi), 'T', TR_KISAYOL_CTRL);
    ASSERT_TRUE(bekle([&] { return wv_sayisi == once + 1; }));
    yukle(sayfa_yaz("gunluk_sayac.html",
                    "<title>Sayac</title><body style='margin:0'><script>let n = 0; setInterval(() => "
                    "{ document.body.style.background = ++n % 2 ? '#c00000' : '#0000c0'; }, 150);</script></body>"),
          "Sayac");
    const int64_t konum = secili();
    tus_bas(pencere(adres_girisi), 'T', TR_KISAYOL_CTRL);
    ASSERT_TRUE(bekle([&] { return secili() != konum; }));
    tus_bas(pencere(adres_girisi), VK_TAB, TR_KISAYOL_CTRL | TR_KISAYOL_SHIFT);
    ASSERT_TRUE(bekle([&] { return secili() == konum; }));
    // Both colours come to the screen, one after the other, again and again.
    for (int tur = 0; tur < 3; ++tur) {
        EXPECT_TRUE(bekle([] { return GetRValue(sayfanin_ortasi()) > 150; }, 5000)) << tur;
        EXPECT_TRUE(bekle([] { return GetBValue(sayfanin_ortasi()) > 150; }, 5000)) << tur;
    }
}

// A page's title of 16 MB: Korva goes on, its tab shows the first 4,096 characters
// at most, and its window the first 100 with " - Korva" still at the end.
TEST_F(Gercek, DevBaslikKirpilir) {
    if (!gercek_motor()) GTEST_SKIP();
    yukle(sayfa_yaz("gunluk_uzun_baslik.html",
                    "<title>Kisa</title><script>setTimeout(() => { document.title = 'x'.repeat(16 << 20); }, 0);"
                    "</script>"),
          "Kisa");
    ASSERT_TRUE(bekle([] { return baslik(secili()).rfind("xxxx", 0) == 0; }));
    EXPECT_EQ(baslik(secili()).size(), 4096u);
    HWND ana = GetAncestor(pencere(adres_girisi), GA_ROOT);
    EXPECT_TRUE(IsWindow(ana));
    wchar_t ad[256] = {};
    GetWindowTextW(ana, ad, 256);
    EXPECT_EQ(std::wstring(100, L'x') + L"... - Korva", ad);
}
