// The shared helpers of the robustness tests: see ortak.h.
#include "ortak.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cwctype>
#include <set>
#include <string>

#include "korva.h"
#include "webview/webgorunum_win_cz.h"
#include "wv2_arayuz.h"
#include "widgets/arayuz_ic.h"
#include "widgets/arayuz_win_cz.h"
#include "window/pencere_win_cz.h"

namespace {

HMODULE g_motor = nullptr;
bool g_korva_basladi = false;

// Pipes of a child: one thread drains each output, one feeds its input.
struct BoruOkuyucu {
    HANDLE pipe;
    std::string* into;
};

DWORD WINAPI boruyu_oku(void* parameter) {
    auto* reader = static_cast<BoruOkuyucu*>(parameter);
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(reader->pipe, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
        reader->into->append(buffer, got);
    }
    delete reader;
    return 0;
}

struct BoruYazici {
    HANDLE pipe;
    const std::string* from;
};

DWORD WINAPI boruya_yaz(void* parameter) {
    auto* writer = static_cast<BoruYazici*>(parameter);
    size_t done = 0;
    while (done < writer->from->size()) {
        DWORD wrote = 0;
        if (!WriteFile(writer->pipe, writer->from->data() + done,
                       static_cast<DWORD>(writer->from->size() - done), &wrote, nullptr)) {
            break;
        }
        done += wrote;
    }
    CloseHandle(writer->pipe);
    delete writer;
    return 0;
}

std::wstring genis(const std::string& text) {
    std::wstring wide;
    for (char c : text) wide.push_back(static_cast<unsigned char>(c));
    return wide;
}

HWND serit() { return widget_penceresi(sekme_defteri); }

void tiklat(HWND hwnd, UINT down, UINT up, WPARAM keys, POINT at) {
    const LPARAM point = MAKELPARAM(at.x, at.y);
    PostMessageW(hwnd, down, keys, point);
    PostMessageW(hwnd, up, 0, point);
}

}  // namespace

// ---- Texts ------------------------------------------------------------------------

KorumaliMetin::KorumaliMetin(const std::string& bytes) {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const size_t page = system.dwPageSize;
    const size_t pages = (bytes.size() + page - 1) / page;
    block_size_ = (pages + 1) * page;
    block_ = static_cast<char*>(VirtualAlloc(nullptr, block_size_, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD old = 0;
    VirtualProtect(block_ + pages * page, page, PAGE_NOACCESS, &old);
    bytes_ = block_ + pages * page - bytes.size();
    memcpy(bytes_, bytes.data(), bytes.size());
    length_ = static_cast<int64_t>(bytes.size());
}

KorumaliMetin::~KorumaliMetin() { VirtualFree(block_, 0, MEM_RELEASE); }

const std::vector<KotuMetin>& kotu_metinler() {
    static KorumaliMetin bos("");
    static KorumaliMetin gecersiz(std::string("a\xff\xfe\xc0\x80z\xed\xa0\x80", 9));
    static KorumaliMetin sifirli(std::string("ab\0cd", 5));
    static KorumaliMetin buyuk(std::string(kMebibayt, 'a'));
    static const std::vector<KotuMetin> metinler = {
        {"bos", bos.ptr(), 0, ""},
        {"bos isaretci, pozitif uzunluk", nullptr, 16, ""},
        {"gecersiz UTF-8", gecersiz.ptr(), gecersiz.len(), std::string("a\xff\xfe\xc0\x80z\xed\xa0\x80", 9)},
        {"icinde sifir bayti", sifirli.ptr(), sifirli.len(), "ab"},
        {"1 MiB", buyuk.ptr(), buyuk.len(), std::string(kMebibayt, 'a')},
    };
    return metinler;
}

std::vector<int64_t> kotu_kimlikler(int64_t count) {
    return {-1, count, count + 1, int64_t{1} << 40, INT64_MIN, INT64_MAX, INT64_MIN + 1, -2};
}

bool gecerli_utf8(const char* bytes, int64_t length) {
    if (length == 0) return true;
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes, static_cast<int>(length), nullptr, 0) > 0;
}

// ---- The browser in this process --------------------------------------------------

bool motoru_yukle() {
    if (g_motor == nullptr) g_motor = LoadLibraryW(KORVA_BUILD_DIR_W L"\\standin\\WebView2Loader.dll");
    return g_motor != nullptr;
}

int64_t acik_denetleyiciler() {
    if (g_motor == nullptr) return -1;
    auto count = reinterpret_cast<wv2_acik_denetleyici_sayisi_islev>(
        reinterpret_cast<void*>(GetProcAddress(g_motor, WV2_ACIK_DENETLEYICI_SAYISI_ADI)));
    return count != nullptr ? count() : -1;
}

void korvayi_baslat() {
    if (g_korva_basladi) return;
    g_korva_basladi = true;
    motoru_yukle();
    // A new Korva: no tabs kept from whatever ran before. The children run at the
    // same time, so each has a profile of its own beside the shared one, named by
    // its engine's settings: one that closes would leave its tabs to the next.
    wchar_t profil[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"KORVA_PROFIL", profil, MAX_PATH) > 0) {
        std::wstring yol = profil;
        wchar_t ayar[256] = {};
        if (GetEnvironmentVariableW(L"KORVA_ROBUST_COCUK", nullptr, 0) > 0) {
            GetEnvironmentVariableW(L"KORVA_STANDIN", ayar, 256);
            yol += L"_cocuk_";
            for (const wchar_t* c = ayar; *c != L'\0'; ++c) yol += iswalnum(*c) ? *c : L'_';
            CreateDirectoryW(yol.c_str(), nullptr);
            SetEnvironmentVariableW(L"KORVA_PROFIL", yol.c_str());
        }
        DeleteFileW((yol + L"\\oturum.json").c_str());
    }
    korva_baslat();
}

void tur() {
    _tr_pencere_olaylari_isle();
    olaylari_kontrol_et();
}

void yuklenene_kadar(int most) {
    for (int i = 0; i < most; ++i) {
        tur();
        const int64_t view = sekme_webgorunumu(_tr_arayuz_sekme_secili(sekme_defteri));
        if (view < 0 || _tr_webgorunum_yukleniyor_mu(view) == 0) return;
        _tr_pencere_olay_bekle(10);
    }
}

void kapanana_kadar(int64_t once, int most) {
    for (int i = 0; i < most && kapanan_sekme_sayisi <= once; ++i) {
        tur();
        if (kapanan_sekme_sayisi <= once) _tr_pencere_olay_bekle(10);
    }
}

HWND widget_penceresi(int64_t widget) { return _tr_arayuz_widget_al_hwnd(widget); }

HWND ana_pencere_hwnd() {
    HWND root = widget_penceresi(ana_kutu);
    return root != nullptr ? GetAncestor(root, GA_ROOT) : nullptr;
}

std::wstring pencere_metni(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(wcslen(text.c_str()));
    return text;
}

// The menu button opens the system's modal menu, which nobody here would close: a
// timer that its loop dispatches closes it, as Esc would. It stops after a while.
namespace {
int menu_kapatici_turu = 0;
void CALLBACK menuyu_kapat(HWND, UINT, UINT_PTR timer, DWORD) {
    EndMenu();
    if (++menu_kapatici_turu >= 50) {
        menu_kapatici_turu = 0;
        KillTimer(nullptr, timer);
    }
}
}  // namespace

void dugmeye_tikla(int64_t button) {
    if (button == menu_dugme) SetTimer(nullptr, 0, 10, menuyu_kapat);
    PostMessageW(widget_penceresi(button), BM_CLICK, 0, 0);
}

void adres_yaz_enter(const std::wstring& text) {
    HWND entry = widget_penceresi(adres_girisi);
    SetWindowTextW(entry, text.c_str());
    PostMessageW(entry, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessageW(entry, WM_KEYUP, VK_RETURN, 0xC01C0001);
}

bool sekme_dikdortgeni(int position, RECT* rect) {
    return SendMessageW(serit(), TCM_GETITEMRECT, position, reinterpret_cast<LPARAM>(rect)) != 0;
}

bool sekme_gorunur(int position) {
    RECT item, client;
    if (!sekme_dikdortgeni(position, &item)) return false;
    GetClientRect(serit(), &client);
    // The scroll arrows of a strip too narrow for its tabs cover about 40 pixels
    // at its right end.
    return item.left >= 0 && item.right <= client.right - 48 && item.bottom <= client.bottom;
}

void kapatma_isaretine_tikla(int position) {
    RECT item;
    if (!sekme_dikdortgeni(position, &item)) return;
    tiklat(serit(), WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, {item.right - 3, (item.top + item.bottom) / 2});
}

void sekmeye_tikla(int position) {
    RECT item;
    if (!sekme_dikdortgeni(position, &item)) return;
    tiklat(serit(), WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, {item.left + 6, (item.top + item.bottom) / 2});
}

int native_sekme_sayisi() { return static_cast<int>(SendMessageW(serit(), TCM_GETITEMCOUNT, 0, 0)); }

std::string sekme_degismezleri() {
    const int64_t n = wv_sayisi;
    auto hata = [&](const std::string& what) { return what + " (wv_sayisi " + std::to_string(n) + ")"; };
    if (n < 1 || n > MAKS_SEKME) return hata("tab count outside 1 to 64");
    if (_tr_arayuz_sekme_sayisi(sekme_defteri) != n) {
        return hata("the strip counts " + std::to_string(_tr_arayuz_sekme_sayisi(sekme_defteri)) + " tabs");
    }
    if (native_sekme_sayisi() != n) return hata("the native control holds " + std::to_string(native_sekme_sayisi()));
    const Widget* strip = widget_bul(sekme_defteri);
    if (strip == nullptr || strip->tab_count != n) return hata("the strip's record disagrees");
    if (sekme_webgorunumu(n) != -1 || sekme_webgorunumu(-1) != -1) return hata("pairing table answers past its end");
    const int64_t selected = _tr_arayuz_sekme_secili(sekme_defteri);
    if (selected < 0 || selected >= n) return hata("selection " + std::to_string(selected) + " outside the tabs");
    std::set<int64_t> views;
    for (int64_t p = 0; p < n; ++p) {
        const std::string at = " at position " + std::to_string(p);
        const int64_t view = sekme_webgorunumu(p);
        if (view < 0 || view >= 65) return hata("web view id " + std::to_string(view) + at);
        if (!views.insert(view).second) return hata("web view " + std::to_string(view) + " paired twice" + at);
        const int64_t widget = _tr_webgorunum_widget_id(view);
        HWND host = widget_penceresi(widget);
        if (host == nullptr || strip->tab_pages[p] != host) return hata("the tab's page is not its web view's host" + at);
        const bool shown = (GetWindowLongW(host, GWL_STYLE) & WS_VISIBLE) != 0;
        if (shown != (p == selected)) return hata(std::string(shown ? "page shown" : "selected page hidden") + at);
        // A live web view answers with storage; a closed or failed one gives no text.
        TrMetin address = _tr_webgorunum_adres_al(view);
        const bool alive = address.ptr != nullptr;
        free(address.ptr);
        if (!alive) return hata("web view " + std::to_string(view) + " is not alive" + at);
    }
    const int64_t open = acik_denetleyiciler();
    if (open > 65) return hata(std::to_string(open) + " controllers open");
    if (open >= 0 && open != n) return hata(std::to_string(open) + " controllers open for the open tabs");
    return std::string();
}

int64_t widget_sayisi() {
    // Registered records always have a window, and ids are dense from 0.
    int64_t count = 0;
    while (_tr_arayuz_widget_al_hwnd(count) != nullptr) ++count;
    return count;
}

// ---- Child processes --------------------------------------------------------------

Cocuk::Cocuk(const std::string& filter, const std::string& standin_controls, const std::string& input)
    : input_(input) {
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE out_write = nullptr, err_write = nullptr, in_read = nullptr;
    CreatePipe(&out_read_, &out_write, &inherit, 0);
    CreatePipe(&err_read_, &err_write, &inherit, 0);
    CreatePipe(&in_read, &in_write_, &inherit, 0);
    SetHandleInformation(out_read_, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(err_read_, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(in_write_, HANDLE_FLAG_INHERIT, 0);

    const korva_test::StandartTutamaclar handles{in_read, out_write, err_write};
    process_ = korva_test::cocuk_baslat(
        korva_test::kendi_yolu(), L"--gtest_filter=" + genis(filter),
        {{L"KORVA_ROBUST_COCUK", L"1"},
         {L"KORVA_STANDIN", standin_controls.empty() ? std::nullopt : std::optional(genis(standin_controls))}},
        {}, &handles);
    CloseHandle(out_write);
    CloseHandle(err_write);
    CloseHandle(in_read);
    readers_[0] = CreateThread(nullptr, 0, boruyu_oku, new BoruOkuyucu{out_read_, &out_}, 0, nullptr);
    readers_[1] = CreateThread(nullptr, 0, boruyu_oku, new BoruOkuyucu{err_read_, &err_}, 0, nullptr);
    readers_[2] = CreateThread(nullptr, 0, boruya_yaz, new BoruYazici{in_write_, &input_}, 0, nullptr);
    in_write_ = nullptr;  // the writer thread closes it
}

long Cocuk::bekle(DWORD limit_ms) {
    long code = -1;
    if (process_.basladi()) {
        DWORD exit_code = 0;
        code = process_.bekle(limit_ms, &exit_code) ? static_cast<long>(exit_code) : -2;
    }
    for (HANDLE& reader : readers_) {
        if (reader == nullptr) continue;
        WaitForSingleObject(reader, 10000);
        CloseHandle(reader);
        reader = nullptr;
    }
    // Standard output in text mode ends lines with a carriage return too.
    for (std::string* text : {&out_, &err_}) {
        std::string plain;
        plain.reserve(text->size());
        for (size_t i = 0; i < text->size(); ++i) {
            if ((*text)[i] == '\r' && i + 1 < text->size() && (*text)[i + 1] == '\n') continue;
            plain.push_back((*text)[i]);
        }
        text->swap(plain);
    }
    return code;
}

Cocuk::~Cocuk() {
    if (process_.basladi()) bekle(0);
    if (out_read_ != nullptr) CloseHandle(out_read_);
    if (err_read_ != nullptr) CloseHandle(err_read_);
}

bool cocuk_mu() { return GetEnvironmentVariableW(L"KORVA_ROBUST_COCUK", nullptr, 0) > 0; }

// ---- The children of a parent run ----------------------------------------------

namespace {

std::vector<std::pair<std::string, Cocuk*>>& baslayan_cocuklar() {
    static std::vector<std::pair<std::string, Cocuk*>> children;
    return children;
}

}  // namespace

const std::vector<CocukTanimi>& cocuk_tanimlari() {
    static const std::vector<CocukTanimi> definitions = [] {
        std::vector<CocukTanimi> list;
        // Standard input for the line reader of the sweep: a short line, a line
        // longer than the reader's buffer, an empty line, then the end.
        list.push_back({"sekme", "Dongu.BinSekmeAcilipKapaninca_SekmelerVeGorunumlerUyusur", "DonguCocuk.*", "", ""});
        list.push_back({"girdi", "Girdi.HerGirisNoktasiKotuGirdiyeDayanir", "GirdiCocuk.*", "",
                        "abc\n" + std::string(5000, 'x') + "\n\n"});
        for (const char* controls :
             {"env=fail", "env=error", "env=never", "env=sync", "controller=fail", "controller=error",
              "controller=never", "controller=sync", "controller=noview", "title=none", "title=empty",
              "source=none", "delay=300"}) {
            list.push_back({std::string("motor ") + controls, "MotorHatalari.HerDenetimdeKorvaCalisirVeKapanir",
                            "MotorHatasiCocuk.*", controls, ""});
        }
        return list;
    }();
    return definitions;
}

void cocuklari_baslat() {
    const testing::UnitTest& unit = *testing::UnitTest::GetInstance();
    auto selected = [&](const std::string& name) {
        for (int s = 0; s < unit.total_test_suite_count(); ++s) {
            const testing::TestSuite& suite = *unit.GetTestSuite(s);
            for (int t = 0; t < suite.total_test_count(); ++t) {
                const testing::TestInfo& info = *suite.GetTestInfo(t);
                if (info.should_run() && name == std::string(suite.name()) + "." + info.name()) return true;
            }
        }
        return false;
    };
    for (const CocukTanimi& definition : cocuk_tanimlari()) {
        if (!selected(definition.okuyan_test)) continue;
        baslayan_cocuklar().emplace_back(
            definition.ad, new Cocuk(definition.filter, definition.standin_controls, definition.input));
    }
}

Cocuk* cocuk(const std::string& ad) {
    for (auto& [name, child] : baslayan_cocuklar()) {
        if (name == ad) return child;
    }
    return nullptr;
}
