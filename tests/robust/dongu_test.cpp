// The browser under load on the stand-in engine: a thousand tabs opened and closed
// (in a child process), and twenty thousand passes of its loop with clicks, Enter
// and tab closes injected at random (in this one). After every step the tabs, the pairing table and
// the web views must still agree (sekme_degismezleri). The random sequences are
// seeded, so a failure names a step that repeats on every run.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <random>
#include <string>
#include <vector>

#include "korva.h"
#include "ortak.h"
#include "webview/webgorunum_win_cz.h"
#include "widgets/arayuz_win_cz.h"
#include "window/pencere_win_cz.h"

namespace {

std::wstring sekme_yazisi(int position) {
    wchar_t text[256] = {};
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 256;
    SendMessageW(widget_penceresi(sekme_defteri), TCM_GETITEMW, position, reinterpret_cast<LPARAM>(&item));
    return text;
}

// The positions of the tabs a user could click now.
std::vector<int> gorunur_sekmeler() {
    std::vector<int> positions;
    for (int p = 0; p < wv_sayisi; ++p) {
        if (sekme_gorunur(p)) positions.push_back(p);
    }
    return positions;
}

// Closes a tab the user can see, picked at random, by its close mark; the position.
int rastgele_sekme_kapat(std::mt19937& random) {
    const std::vector<int> positions = gorunur_sekmeler();
    if (positions.empty()) return -1;
    const int position = positions[random() % positions.size()];
    kapatma_isaretine_tikla(position);
    return position;
}

// New tab, clicked as a user does, still opens a start page at the end and selects it.
void yeni_sekme_hala_calisir() {
    if (wv_sayisi >= MAKS_SEKME) {
        kapatma_isaretine_tikla(gorunur_sekmeler().back());
        tur();
    }
    const int64_t before = wv_sayisi;
    dugmeye_tikla(yeni_sekme_dugme);
    tur();
    yuklenene_kadar();
    ASSERT_EQ(before + 1, wv_sayisi);
    EXPECT_EQ(before, _tr_arayuz_sekme_secili(sekme_defteri));
    EXPECT_EQ(L"Hizli Erisim  x", sekme_yazisi(static_cast<int>(before)));
    EXPECT_EQ(L"Hizli Erisim - Korva", pencere_metni(ana_pencere_hwnd()));
    EXPECT_EQ("", sekme_degismezleri());
}

}  // namespace

// Runs in a child of its own, alongside the long run in the parent.
TEST(DonguCocuk, BinSekmeAcilipKapaninca_SekmelerVeGorunumlerUyusur) {
    ASSERT_TRUE(motoru_yukle()) << "the stand-in engine is not in the build folder";
    korvayi_baslat();
    yuklenene_kadar();
    ASSERT_EQ("", sekme_degismezleri());

    // Up to the limit first, then opens and closes at random.
    std::mt19937 random(20261207);
    int opened = 0, closed = 0;
    int64_t widgets_when_full = -1;
    bool reached_limit = false;
    for (int step = 0; opened < 1000 || closed < 1000; ++step) {
        const int64_t before = wv_sayisi;
        const bool open = before < MAKS_SEKME && opened < 1000 &&
                          (!reached_limit || closed >= 1000 || before <= 1 || random() % 2 == 0);
        if (open) {
            const int64_t view = hizli_erisim_ac();
            ASSERT_GE(view, 0) << "step " << step;
            ASSERT_EQ(before + 1, wv_sayisi) << "step " << step;
            ASSERT_EQ(view, sekme_webgorunumu(before)) << "step " << step;
            ++opened;
        } else {
            // A close is a click, which only a pass of the loop turns into action.
            const int64_t kapanan = kapanan_sekme_sayisi;
            ASSERT_GE(rastgele_sekme_kapat(random), 0) << "no tab to click at step " << step;
            kapanana_kadar(kapanan);
            // Closing the only tab puts a start page in its place.
            ASSERT_EQ(before > 1 ? before - 1 : 1, wv_sayisi) << "step " << step;
            ++closed;
        }
        ASSERT_EQ("", sekme_degismezleri()) << "step " << step;

        if (wv_sayisi == MAKS_SEKME && !reached_limit) {
            reached_limit = true;
            // The limit: the program refuses a 65th tab, and so does its button.
            ASSERT_EQ(-1, hizli_erisim_ac());
            dugmeye_tikla(yeni_sekme_dugme);
            tur();
            ASSERT_EQ(MAKS_SEKME, wv_sayisi);
            ASSERT_EQ("", sekme_degismezleri()) << "after the refused tab at step " << step;
            widgets_when_full = widget_sayisi();
        }
    }
    ASSERT_GE(widgets_when_full, 0) << "the churn never reached the tab limit";
    // Closed tabs give their web views back, and a reused web view keeps its host
    // window's widget: the widget table stopped growing once every record existed.
    EXPECT_EQ(widgets_when_full, widget_sayisi());
    yeni_sekme_hala_calisir();
}

TEST(Dongu, YirmiBinTurdaRastgeleTiklamaEnterVeKapatma_Dayanir) {
    ASSERT_TRUE(motoru_yukle());
    korvayi_baslat();
    std::mt19937 random(42);
    const int64_t* const buttons[] = {&geri_dugme,      &ileri_dugme, &yenile_dugme, &ana_sayfa_dugme,
                                      &yeni_sekme_dugme, &menu_dugme,  &sb_yer_imi,   &sb_gecmis,
                                      &sb_indirme,       &sb_ayar};
    const std::wstring addresses[] = {L"ornek",
                                      L"about:blank",
                                      L"data:text/html,<title>Veri</title>metin",
                                      L"https://ornek.invalid/yol",
                                      L"",
                                      L"  bosluklu adres",
                                      L"file:///Z:/olmayan/dosya.html",
                                      L"javascript:void(0)",
                                      L"\u00e7\u011f\u0131\u00f6\u015f\u00fc"};
    const int64_t widgets_before = widget_sayisi();
    int64_t most_tabs = wv_sayisi;
    for (int pass = 0; pass < 20000; ++pass) {
        // About one pass in thirty gets an event; most passes, as in use, get none.
        const unsigned roll = random() % 1000;
        bool event = true;
        if (roll < 10) {
            dugmeye_tikla(*buttons[random() % 10]);
        } else if (roll < 14) {
            dugmeye_tikla(yeni_sekme_dugme);
        } else if (roll < 20) {
            adres_yaz_enter(addresses[random() % 9]);
        } else if (roll < 24) {
            rastgele_sekme_kapat(random);
        } else if (roll < 32) {
            const std::vector<int> positions = gorunur_sekmeler();
            if (!positions.empty()) sekmeye_tikla(positions[random() % positions.size()]);
        } else {
            event = false;
        }
        tur();
        if (wv_sayisi > most_tabs) most_tabs = wv_sayisi;
        if (event || pass % 100 == 0) {
            ASSERT_EQ("", sekme_degismezleri()) << "pass " << pass;
            ASSERT_EQ(0, _tr_pencere_kapatildi_mi(ana_pencere)) << "pass " << pass;
            ASSERT_EQ(kenar_acik != 0, (GetWindowLongW(widget_penceresi(kenar_panel), GWL_STYLE) & WS_VISIBLE) != 0)
                << "the side panel's state and its window disagree at pass " << pass;
        }
    }
    // The widget table grows only while web view records are first made.
    EXPECT_LE(widget_sayisi(), widgets_before + MAKS_SEKME);
    yeni_sekme_hala_calisir();
    std::printf("long run: at most %lld tabs open at once\n", static_cast<long long>(most_tabs));
}

void sekme_cocugunu_denetle() {
    Cocuk* child = cocuk("sekme");
    ASSERT_NE(nullptr, child);
    ASSERT_TRUE(child->basladi());
    const long code = child->bekle(400000);
    EXPECT_EQ(0, code) << child->cikti() << child->hata_ciktisi();
    EXPECT_NE(std::string::npos, child->cikti().find("[  PASSED  ] 1 test")) << child->cikti();
}
