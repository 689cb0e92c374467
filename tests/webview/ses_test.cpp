// A page's sound through the runtime: whether it plays, the change flag, and the
// view's mute switch. The stand-in plays for an <audio autoplay> and for a script's
// element.play(); the real engine plays what a user's click starts (it lets no page
// play without one), and muting must silence it in the page itself.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include <wrl/client.h>

#include "webview/webgorunum_ic.h"
#include "webview/webgorunum_win_cz.h"
#include "widgets/arayuz_win_cz.h"
#include "window/pencere_win_cz.h"
#include "yardimci.h"

namespace {

// A page script's `wav()`: the address of a second of a 440 Hz tone as a WAV file.
const std::string WAV_BETIGI = R"(function wav() {
  const n = 16000, b = new ArrayBuffer(44 + n * 2), d = new DataView(b);
  const yaz = (o, s) => { for (let i = 0; i < s.length; i++) d.setUint8(o + i, s.charCodeAt(i)); };
  yaz(0, 'RIFF'); d.setUint32(4, 36 + n * 2, true); yaz(8, 'WAVEfmt '); d.setUint32(16, 16, true);
  d.setUint16(20, 1, true); d.setUint16(22, 1, true); d.setUint32(24, 8000, true);
  d.setUint32(28, 16000, true); d.setUint16(32, 2, true); d.setUint16(34, 16, true);
  yaz(36, 'data'); d.setUint32(40, n * 2, true);
  for (let i = 0; i < n; i++) d.setInt16(44 + i * 2, Math.sin(i * 2 * Math.PI * 440 / 8000) * 8000, true);
  return URL.createObjectURL(new Blob([b], {type: 'audio/wav'}));
}
)";

int64_t html_yukle(int64_t id, const std::string& metin) {
    return _tr_webgorunum_html_yukle(id, metin.data(), static_cast<int64_t>(metin.size()));
}

// The flag is read and cleared: a wait for it keeps what it saw.
bool ses_degisir(int64_t id) {
    bool degisti = false;
    return pompala_kadar([&] { return degisti = degisti || _tr_webgorunum_ses_degisti_mi(id) == 1; });
}

// The view answers for the whole chain of interfaces up to the sound's.
void zinciri_denetle(int64_t id) {
    ICoreWebView2* webview = gorunum_bul(id)->webview;
    for (const IID& kimlik : {IID_ICoreWebView2_5, IID_ICoreWebView2_6, IID_ICoreWebView2_7, IID_ICoreWebView2_8}) {
        Microsoft::WRL::ComPtr<IUnknown> arayuz;
        EXPECT_EQ(webview->QueryInterface(kimlik, reinterpret_cast<void**>(arayuz.GetAddressOf())), S_OK);
        EXPECT_NE(arayuz, nullptr);
    }
}

// A script's result as JSON text, once it came.
std::string sonuc(int64_t id, const std::string& betik) {
    if (_tr_webgorunum_js_sonuclu_calistir(id, betik.data(), static_cast<int64_t>(betik.size())) != 0) return "";
    bool geldi = false;
    if (!pompala_kadar([&] { return geldi = geldi || _tr_webgorunum_js_sonucu_geldi_mi(id) == 1; })) return "";
    return metin_al_birak(_tr_webgorunum_js_sonucu_al(id));
}

}  // namespace

TEST(Ses, CalmaBayragiVeSessizlikGidipGelir) {
    YALNIZ_VEKIL_MOTORLA("the real engine lets no page play without a user's click");
    motoru_hazirla();
    const int64_t id = _tr_webgorunum_olustur();
    ASSERT_GE(id, 0);
    zinciri_denetle(id);
    EXPECT_EQ(_tr_webgorunum_ses_caliyor_mu(id), 0);
    EXPECT_EQ(_tr_webgorunum_sessiz_mi(id), 0);

    ASSERT_EQ(html_yukle(id, "<p>ses</p><audio src=\"a.wav\" autoplay></audio>"), 0);
    ASSERT_TRUE(ses_degisir(id));
    EXPECT_EQ(_tr_webgorunum_ses_caliyor_mu(id), 1);

    // Muting is a change of its own; the page goes on playing, unheard.
    EXPECT_EQ(_tr_webgorunum_sessiz_yap(id, 1), 1);
    EXPECT_EQ(_tr_webgorunum_sessiz_mi(id), 1);
    EXPECT_TRUE(ses_degisir(id));
    EXPECT_EQ(_tr_webgorunum_ses_caliyor_mu(id), 1);
    // The same switch again changes nothing.
    EXPECT_EQ(_tr_webgorunum_sessiz_yap(id, 5), 1);
    bekleyenleri_isle();
    EXPECT_EQ(_tr_webgorunum_ses_degisti_mi(id), 0);

    ASSERT_EQ(_tr_webgorunum_js_calistir(id, "document.querySelector('audio').pause()", 39), 0);
    ASSERT_TRUE(ses_degisir(id));
    EXPECT_EQ(_tr_webgorunum_ses_caliyor_mu(id), 0);

    // The switch is the view's: a new document is muted too, and unmuting is heard.
    ASSERT_EQ(html_yukle(id, "<audio autoplay>"), 0);
    ASSERT_TRUE(ses_degisir(id));
    EXPECT_EQ(_tr_webgorunum_ses_caliyor_mu(id), 1);
    EXPECT_EQ(_tr_webgorunum_sessiz_mi(id), 1);
    EXPECT_EQ(_tr_webgorunum_sessiz_yap(id, 0), 1);
    EXPECT_TRUE(ses_degisir(id));
    EXPECT_EQ(_tr_webgorunum_sessiz_mi(id), 0);

    // A new document without sound stops the old one's.
    ASSERT_EQ(html_yukle(id, "<p>sessiz</p>"), 0);
    ASSERT_TRUE(ses_degisir(id));
    EXPECT_EQ(_tr_webgorunum_ses_caliyor_mu(id), 0);
    EXPECT_EQ(_tr_webgorunum_kapat(id), 0);
}

TEST(Ses, BilinmeyenGorunumBosDegerAlir) {
    for (const int64_t id : {int64_t{-1}, int64_t{4096}, INT64_MIN}) {
        EXPECT_EQ(_tr_webgorunum_ses_degisti_mi(id), 0);
        EXPECT_EQ(_tr_webgorunum_ses_caliyor_mu(id), 0);
        EXPECT_EQ(_tr_webgorunum_sessiz_mi(id), 0);
        EXPECT_EQ(_tr_webgorunum_sessiz_yap(id, 1), 0);
    }
}

// An <audio> playing a generated WAV first, then a WebAudio oscillator: each is
// reported playing; muting mutes the element and suspends the context in the page,
// unmuting gives both back.
TEST(Ses, GercekMotorCalaniBildirirVeSusturur) {
    if (!korva_test::gercek_motor_mu()) GTEST_SKIP() << "the stand-in makes no sound to silence";
    motoru_hazirla();
    const int64_t id = _tr_webgorunum_olustur();
    ASSERT_GE(id, 0);
    zinciri_denetle(id);
    _tr_pencere_baslat();
    const int64_t pencere = _tr_pencere_olustur("Ses", 3, 600, 400);
    _tr_pencere_goster(pencere);
    _tr_pencere_icerik_ayarla(pencere, _tr_webgorunum_widget_id(id));
    bekleyenleri_isle();
    const std::string SAYFA = R"(<body style="margin:0;height:100vh"><audio id="a" loop></audio><script>
)" + WAV_BETIGI + R"(let tik = 0;
addEventListener('mousedown', () => {
  if (++tik === 1) {
    a.src = wav();
    a.play();
  } else if (!window.c) {
    window.c = new AudioContext();
    const o = c.createOscillator();
    o.connect(c.destination);
    o.start();
  }
});
</script>)";
    ASSERT_EQ(html_yukle(id, SAYFA), 0);
    ASSERT_TRUE(pompala_kadar([&] { return _tr_webgorunum_yuklenme_yuzdesi(id) == 100; }));
    const HWND sayfa = FindWindowExW(gorunum_bul(id)->hwnd, nullptr, L"KorvaChromiumSayfa", nullptr);
    ASSERT_NE(sayfa, nullptr);
    const auto tikla = [&] {
        PostMessageW(sayfa, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
        PostMessageW(sayfa, WM_LBUTTONUP, 0, MAKELPARAM(100, 100));
    };
    EXPECT_EQ(_tr_webgorunum_ses_caliyor_mu(id), 0);

    tikla();
    EXPECT_TRUE(pompala_kadar([&] { return _tr_webgorunum_ses_caliyor_mu(id) == 1; })) << "the element";
    ASSERT_EQ(sonuc(id, "a.pause(), a.paused"), "true");
    EXPECT_TRUE(pompala_kadar([&] { return _tr_webgorunum_ses_caliyor_mu(id) == 0; }));

    tikla();
    EXPECT_TRUE(pompala_kadar([&] { return _tr_webgorunum_ses_caliyor_mu(id) == 1; })) << "the context";
    ASSERT_EQ(sonuc(id, "a.play(), c.state"), "\"running\"");

    EXPECT_EQ(_tr_webgorunum_sessiz_yap(id, 1), 1);
    EXPECT_EQ(_tr_webgorunum_sessiz_mi(id), 1);
    EXPECT_TRUE(pompala_kadar([&] { return sonuc(id, "c.state + ' ' + a.muted") == "\"suspended true\""; }));
    // Silenced, not stopped: the page still plays as far as the view says.
    EXPECT_EQ(_tr_webgorunum_ses_caliyor_mu(id), 1);
    // The page cannot take the mute back from its element.
    ASSERT_EQ(sonuc(id, "a.muted = false, a.muted"), "false");
    EXPECT_TRUE(pompala_kadar([&] { return sonuc(id, "a.muted") == "true"; }));

    EXPECT_EQ(_tr_webgorunum_sessiz_yap(id, 0), 1);
    EXPECT_TRUE(pompala_kadar([&] { return sonuc(id, "c.state + ' ' + a.muted") == "\"running false\""; }));
    EXPECT_EQ(_tr_webgorunum_ses_caliyor_mu(id), 1);

    // Muted, the page loaded again from a file: what its new document starts is
    // silenced too.
    EXPECT_EQ(_tr_webgorunum_sessiz_yap(id, 1), 1);
    const std::wstring yol = gecici_klasor(L"ses") + L"\\calar.html";
    std::ofstream(yol.c_str()) << SAYFA;
    std::string adres = "file:///";
    for (const wchar_t c : yol) adres += c == L'\\' ? '/' : static_cast<char>(c);
    ASSERT_EQ(_tr_webgorunum_yukle(id, adres.data(), static_cast<int64_t>(adres.size())), 0);
    EXPECT_TRUE(pompala_kadar([&] { return _tr_webgorunum_ses_caliyor_mu(id) == 0; }));
    EXPECT_TRUE(pompala_kadar([&] { return sonuc(id, "tik") == "0"; }));
    tikla();
    EXPECT_TRUE(pompala_kadar([&] { return _tr_webgorunum_ses_caliyor_mu(id) == 1; }));
    EXPECT_TRUE(pompala_kadar([&] { return sonuc(id, "a.muted") == "true"; }));
    tikla();
    EXPECT_TRUE(pompala_kadar([&] { return sonuc(id, "window.c ? c.state : ''") == "\"suspended\""; }));
    EXPECT_EQ(_tr_webgorunum_ses_caliyor_mu(id), 1);
    _tr_pencere_gizle(pencere);
    EXPECT_EQ(_tr_webgorunum_kapat(id), 0);
}

// Muted, a page plays nothing: an element in no document, and the element and
// audio context of a frame, are silenced too, the element kept so against the
// page's unmute, and all given back on unmute. The frame's element counts as
// playing.
TEST(Ses, GercekMotorBelgeDisindakiniVeCercedekiniSusturur) {
    if (!korva_test::gercek_motor_mu()) GTEST_SKIP() << "the stand-in makes no sound to silence";
    motoru_hazirla();
    const int64_t id = _tr_webgorunum_olustur();
    ASSERT_GE(id, 0);
    zinciri_denetle(id);
    const std::string SAYFA = R"(<iframe srcdoc="<audio id=a loop></audio>"></iframe><script>
)" + WAV_BETIGI + R"(</script>)";
    ASSERT_EQ(html_yukle(id, SAYFA), 0);
    ASSERT_TRUE(pompala_kadar([&] { return _tr_webgorunum_yuklenme_yuzdesi(id) == 100; }));
    ASSERT_TRUE(pompala_kadar([&] { return sonuc(id, "!!(frames[0] && frames[0].a)") == "true"; }));

    ASSERT_EQ(sonuc(id, "window.f = frames[0]; f.a.src = wav(); f.a.play(); 1"), "1");
    EXPECT_TRUE(pompala_kadar([&] { return _tr_webgorunum_ses_caliyor_mu(id) == 1; })) << "the frame's element";
    ASSERT_EQ(sonuc(id, "window.d = new Audio(wav()); d.loop = true; d.play(); f.c = new f.AudioContext(); "
                        "const o = f.c.createOscillator(); o.connect(f.c.destination); o.start(); 1"),
              "1");
    ASSERT_TRUE(pompala_kadar([&] { return sonuc(id, "[d.paused, f.c.state].join(' ')") == "\"false running\""; }));

    const char durum[] = "[d.muted, f.a.muted, f.c.state].join(' ')";
    EXPECT_EQ(_tr_webgorunum_sessiz_yap(id, 1), 1);
    EXPECT_TRUE(pompala_kadar([&] { return sonuc(id, durum) == "\"true true suspended\""; })) << sonuc(id, durum);
    EXPECT_EQ(_tr_webgorunum_ses_caliyor_mu(id), 1);
    ASSERT_EQ(sonuc(id, "d.muted = false, d.muted"), "false");
    EXPECT_TRUE(pompala_kadar([&] { return sonuc(id, "d.muted") == "true"; })) << "the page cannot take it back";

    EXPECT_EQ(_tr_webgorunum_sessiz_yap(id, 0), 1);
    EXPECT_TRUE(pompala_kadar([&] { return sonuc(id, durum) == "\"false false running\""; })) << sonuc(id, durum);
    EXPECT_EQ(_tr_webgorunum_kapat(id), 0);
}
