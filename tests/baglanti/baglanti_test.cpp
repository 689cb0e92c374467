// The connection to headless Chromium, against the real engine under Wine: start,
// replies and events, messages of several megabytes both ways, the engine killed,
// start failures, and no engine left behind however the host process ends.
//
// The host's end is tested in child processes: this program again, with
// KORVA_BAGLANTI_COCUK naming a file where the child writes the engine's process
// id once it is connected; the parent then ends the child and looks for what is
// left with ps. Tests of the suite MotorCocuk run only in such a child.
#include <winsock2.h>

#include "baglanti.h"
#include "baslangic_kapisi.h"
#include "komut_satiri.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "ortak/cocuk_surec.h"

namespace {

// Runs the host's message loop until `kosul` holds or `ms` pass.
template <class Kosul>
bool pompala(Kosul kosul, DWORD ms = 60000)
{
    const ULONGLONG son = GetTickCount64() + ms;
    while (!kosul()) {
        if (GetTickCount64() >= son)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG ileti;
        while (PeekMessageW(&ileti, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&ileti);
            DispatchMessageW(&ileti);
        }
    }
    return true;
}

std::wstring genis(const std::string& metin)
{
    return std::wstring(metin.begin(), metin.end());
}

// Windows process ids under Wine repeat from one run to the next: names also
// carry a random part, so that nothing left by an earlier run is taken for ours.
std::wstring benzersiz(const wchar_t* onek)
{
    static const unsigned rastgele = std::random_device{}();
    static int sayac = 0;
    return onek + std::to_wstring(rastgele) + L"_" + std::to_wstring(++sayac);
}

std::string dosya_oku(const std::wstring& yol)
{
    std::ifstream dosya(yol.c_str(), std::ios::binary);
    std::stringstream icerik;
    icerik << dosya.rdbuf();
    return icerik.str();
}

// Runs a shell line on the Linux side and returns what it printed. A Unix program
// started from Windows gives no handle to wait on, so the line ends by renaming
// its output into place and we wait for that file.
std::string kabukta(const std::string& satir)
{
    const std::wstring ad = benzersiz(L"korva_baglanti_kabuk_");
    const std::wstring unix_yolu = L"/tmp/" + ad;
    const std::wstring windows_yolu = L"Z:\\tmp\\" + ad;
    std::wstring komut = L"Z:\\bin\\bash -c " + arguman(L"{ " + genis(satir) + L"\n} >\"$1.yazilan\" 2>&1; mv \"$1.yazilan\" \"$1\"") +
                         L" kabuk " + arguman(unix_yolu);
    STARTUPINFOW baslangic = {};
    baslangic.cb = sizeof(baslangic);
    PROCESS_INFORMATION bilgi = {};
    if (!CreateProcessW(nullptr, komut.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &baslangic, &bilgi))
        return "CreateProcessW failed";
    if (!pompala([&] { return GetFileAttributesW(windows_yolu.c_str()) != INVALID_FILE_ATTRIBUTES; }, 30000))
        return "the shell line did not finish";
    std::string cikti = dosya_oku(windows_yolu);
    DeleteFileW(windows_yolu.c_str());
    return cikti;
}

// Waits until the shell line, which counts processes, prints 0.
bool hic_kalmayinca(const std::string& sayan_satir)
{
    for (int deneme = 0; deneme < 40; ++deneme) {
        if (kabukta(sayan_satir) == "0\n")
            return true;
        Sleep(250);
    }
    return false;
}

// Counts the live (not zombie) processes in the engine's session: the engine
// starts as a session leader, so its session id is its process id.
std::string motor_sayan(int64_t motor_pid)
{
    return "ps -e -o sid=,stat= | awk '$1 == " + std::to_string(motor_pid) + " && $2 !~ /^Z/' | wc -l";
}

// A folder name that would break a shell line built by pasting it in.
std::wstring kullanici_klasoru()
{
    wchar_t gecici[MAX_PATH];
    GetTempPathW(MAX_PATH, gecici);
    return gecici + benzersiz(L"korva baglanti 'a' $(false) ; & `b` ");
}

struct Sonuc {
    bool geldi = false;
    Json sonuc;
    bool basarisiz = false;
    Json hata;
};

class Motor : public ::testing::Test {
protected:
    HRESULT baslat(MotorAyari ayar)
    {
        bool bitti = false;
        HRESULT sonuc = E_PENDING;
        const HRESULT hemen = Baglanti::baslat(ayar, [&](HRESULT hr, std::shared_ptr<Baglanti> b) {
            bitti = true;
            sonuc = hr;
            baglanti = b;
        });
        if (FAILED(hemen))
            return hemen;
        EXPECT_FALSE(bitti) << "the result came inside the call";
        EXPECT_TRUE(pompala([&] { return bitti; }, MOTOR_BASLAMA_SURESI_MS + 10000));
        EXPECT_EQ(SUCCEEDED(sonuc), baglanti != nullptr);
        return sonuc;
    }

    void baglan()
    {
        MotorAyari ayar;
        ayar.kullanici_klasoru = kullanici_klasoru();
        ASSERT_EQ(baslat(ayar), S_OK);
        baglanti->olay_dinle([this](const std::string& oturum, const std::string& yontem, const Json& p) {
            olaylar.push_back({oturum, yontem, p});
        });
        const Sonuc bilgi = komut("SystemInfo.getProcessInfo");
        for (const Json& surec : bilgi.sonuc["processInfo"])
            if (surec["type"] == "browser")
                motor_pid = surec["id"].get<int64_t>();
        ASSERT_GT(motor_pid, 0);
    }

    // Sends a command and waits for its reply.
    Sonuc komut(const std::string& yontem, Json parametreler = Json::object(), const std::string& oturum = {})
    {
        auto sonuc = std::make_shared<Sonuc>();
        baglanti->gonder(yontem, std::move(parametreler), oturum, [sonuc](const Json& s, const Json* hata) {
            sonuc->geldi = true;
            sonuc->sonuc = s;
            sonuc->basarisiz = hata != nullptr;
            if (hata)
                sonuc->hata = *hata;
        });
        EXPECT_TRUE(pompala([&] { return sonuc->geldi; })) << yontem << " got no reply";
        return *sonuc;
    }

    // A page target and a flat session on it.
    std::string sayfa_oturumu()
    {
        const Sonuc hedef = komut("Target.createTarget", {{"url", "about:blank"}});
        const Sonuc oturum =
            komut("Target.attachToTarget", {{"targetId", hedef.sonuc.value("targetId", "")}, {"flatten", true}});
        return oturum.sonuc.value("sessionId", "");
    }

    void TearDown() override
    {
        if (!baglanti)
            return;
        baglanti->kapat();
        baglanti.reset();
        if (motor_pid > 0) {
            EXPECT_TRUE(hic_kalmayinca(motor_sayan(motor_pid))) << "the engine outlived its connection";
        }
    }

    struct Olay {
        std::string oturum, yontem;
        Json parametreler;
    };
    std::shared_ptr<Baglanti> baglanti;
    std::vector<Olay> olaylar;
    int64_t motor_pid = 0;
};

TEST_F(Motor, RepliesMatchTheirCommandsAndEventsCarryTheirSession)
{
    ASSERT_NO_FATAL_FAILURE(baglan());
    const std::string oturum = sayfa_oturumu();
    ASSERT_FALSE(oturum.empty());

    // Hooks run on the reading thread and keep what they take from the UI thread.
    const DWORD ui = GetCurrentThreadId();
    std::atomic<DWORD> hook_thread{0};
    baglanti->on_isleyici("Runtime.consoleAPICalled", [&](const std::string& s, Json& ileti) {
        hook_thread = s == oturum && ileti["params"]["args"][0]["value"] == "yakalandi" ? GetCurrentThreadId() : 1;
        return true;
    });
    EXPECT_FALSE(komut("Runtime.enable", Json::object(), oturum).basarisiz);

    // Two commands in flight at once get their own replies.
    Sonuc birinci, ikinci;
    baglanti->gonder("Runtime.evaluate", {{"expression", "6*7"}}, oturum, [&](const Json& s, const Json*) {
        birinci.geldi = true;
        birinci.sonuc = s;
    });
    baglanti->gonder("Runtime.evaluate", {{"expression", "'iki'"}}, oturum, [&](const Json& s, const Json*) {
        ikinci.geldi = true;
        ikinci.sonuc = s;
    });
    ASSERT_TRUE(pompala([&] { return birinci.geldi && ikinci.geldi; }));
    EXPECT_EQ(birinci.sonuc["result"]["value"], 42);
    EXPECT_EQ(ikinci.sonuc["result"]["value"], "iki");

    const Sonuc hatali = komut("Yok.boyleBirKomut");
    EXPECT_TRUE(hatali.basarisiz);
    EXPECT_TRUE(hatali.hata.contains("code"));

    komut("Runtime.evaluate", {{"expression", "console.log('yakalandi')"}}, oturum);
    ASSERT_TRUE(pompala([&] { return hook_thread != 0; }));
    EXPECT_NE(hook_thread, ui);
    EXPECT_NE(hook_thread, 1u);
    bool baglamli = false;
    for (const Olay& olay : olaylar) {
        EXPECT_NE(olay.yontem, "Runtime.consoleAPICalled");
        if (olay.yontem == "Runtime.executionContextCreated" && olay.oturum == oturum)
            baglamli = true;
    }
    EXPECT_TRUE(baglamli);
}

TEST_F(Motor, MessagesOfSeveralMegabytesGoBothWays)
{
    ASSERT_NO_FATAL_FAILURE(baglan());
    const std::string oturum = sayfa_oturumu();
    const std::string buyuk(3 * 1024 * 1024, 'a');
    const Sonuc giden = komut("Runtime.evaluate", {{"expression", "'" + buyuk + "'.length"}}, oturum);
    EXPECT_EQ(giden.sonuc["result"]["value"], buyuk.size());
    const Sonuc gelen = komut("Runtime.evaluate",
                              {{"expression", "'0123456789'.repeat(512 * 1024)"}, {"returnByValue", true}}, oturum);
    const std::string deger = gelen.sonuc["result"].value("value", "");
    EXPECT_EQ(deger.size(), 5u * 1024 * 1024);
    EXPECT_EQ(deger.substr(deger.size() - 10), "0123456789");
}

TEST_F(Motor, AKilledEngineFailsWhatWaitsThenReportsItsEndOnce)
{
    ASSERT_NO_FATAL_FAILURE(baglan());
    const std::string oturum = sayfa_oturumu();
    int kapanis = 0;
    baglanti->kapaninca([&] { ++kapanis; });
    Sonuc bekleyen;
    baglanti->gonder("Runtime.evaluate", {{"expression", "new Promise(() => {})"}, {"awaitPromise", true}}, oturum,
                     [&](const Json&, const Json* hata) {
                         bekleyen.geldi = true;
                         bekleyen.basarisiz = hata != nullptr;
                         EXPECT_EQ(kapanis, 0) << "the end was reported before the reply failed";
                     });
    ASSERT_EQ(kabukta("kill -9 " + std::to_string(motor_pid) + " && echo tamam"), "tamam\n");
    ASSERT_TRUE(pompala([&] { return kapanis > 0; }));
    EXPECT_TRUE(bekleyen.geldi && bekleyen.basarisiz);
    EXPECT_FALSE(baglanti->acik_mi());

    // A command now fails at once, but still from the message loop.
    Sonuc sonra;
    baglanti->gonder("Browser.getVersion", Json::object(), {}, [&](const Json&, const Json* hata) {
        sonra.geldi = true;
        sonra.basarisiz = hata != nullptr;
    });
    EXPECT_FALSE(sonra.geldi);
    ASSERT_TRUE(pompala([&] { return sonra.geldi; }, 5000));
    EXPECT_TRUE(sonra.basarisiz);
    pompala([] { return false; }, 300);
    EXPECT_EQ(kapanis, 1);
}

// ---- Start failures ---------------------------------------------------------------

struct BaslamaHatasi {
    const char* ad;
    const char* ikili;  // empty: a stand-in that lives on and never answers
    HRESULT beklenen;
};

class MotorBaslamaz : public Motor, public ::testing::WithParamInterface<BaslamaHatasi> {};

TEST_P(MotorBaslamaz, TheFailureReachesTheCallback)
{
    MotorAyari ayar;
    ayar.kullanici_klasoru = kullanici_klasoru();
    ayar.ikili = GetParam().ikili;
    std::wstring ad = benzersiz(L"");
    ad.erase(std::remove(ad.begin(), ad.end(), L'_'), ad.end());
    const std::string sessiz = "/tmp/korva_sessiz_motor_" + std::string(ad.begin(), ad.end());
    // Sleeping a time no other process on the machine sleeps names it for pgrep.
    const std::string uyku = "sleep 600." + std::string(ad.begin(), ad.end());
    if (ayar.ikili.empty()) {
        ASSERT_EQ(kabukta("printf '#!/bin/sh\\nexec " + uyku + "\\n' >" + sessiz + " && chmod +x " + sessiz +
                          " && echo tamam"),
                  "tamam\n");
        ayar.ikili = sessiz;
    }
    EXPECT_EQ(baslat(ayar), GetParam().beklenen);
    if (ayar.ikili == sessiz) {
        // Given up on, it is ended too.
        EXPECT_TRUE(hic_kalmayinca("pgrep -c -f '^" + uyku + "$'"));
        kabukta("rm -f " + sessiz);
    }
}

INSTANTIATE_TEST_SUITE_P(, MotorBaslamaz,
                         ::testing::Values(BaslamaHatasi{"NoBinary", "/yok/boyle/bir/chromium",
                                                         HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
                                           BaslamaHatasi{"ExitsAtOnce", "/bin/false", E_FAIL},
                                           BaslamaHatasi{"NeverAnswers", "", HRESULT_FROM_WIN32(ERROR_TIMEOUT)}),
                         [](const auto& bilgi) { return std::string(bilgi.param.ad); });

// ---- The host process ends --------------------------------------------------------

std::wstring cocuk_dosyasi()
{
    wchar_t yol[MAX_PATH] = {};
    GetEnvironmentVariableW(L"KORVA_BAGLANTI_COCUK", yol, MAX_PATH);
    return yol;
}

// In the child: connect, say the engine's process id, then wait to be ended.
TEST_F(Motor, MotorCocuk)
{
    if (cocuk_dosyasi().empty())
        GTEST_SKIP() << "runs only as a child";
    ASSERT_NO_FATAL_FAILURE(baglan());
    {
        std::ofstream dosya((cocuk_dosyasi() + L".yaziliyor").c_str());
        dosya << motor_pid << "\n";
    }
    MoveFileW((cocuk_dosyasi() + L".yaziliyor").c_str(), cocuk_dosyasi().c_str());
    pompala([] { return false; }, 120000);
}

class HostEnds : public ::testing::TestWithParam<const char*> {};

TEST_P(HostEnds, NoEngineProcessIsLeft)
{
    wchar_t gecici[MAX_PATH];
    GetTempPathW(MAX_PATH, gecici);
    const std::wstring ad = benzersiz(L"korva_baglanti_cocuk_");
    const std::wstring dosya = gecici + ad;
    // The name also marks the child's command line, which Wine shows to ps: that
    // is how the shell finds the child's Unix process.
    korva_test::CocukSurec cocuk = korva_test::cocuk_baslat(
        korva_test::kendi_yolu(), L"--gtest_filter=Motor.MotorCocuk " + ad, {{L"KORVA_BAGLANTI_COCUK", dosya}});
    ASSERT_TRUE(cocuk.basladi());
    ASSERT_TRUE(pompala([&] { return GetFileAttributesW(dosya.c_str()) != INVALID_FILE_ATTRIBUTES; }, 60000));
    const int64_t motor_pid = atoll(dosya_oku(dosya).c_str());
    DeleteFileW(dosya.c_str());
    ASSERT_GT(motor_pid, 0);
    ASSERT_GT(atoi(kabukta(motor_sayan(motor_pid)).c_str()), 0);

    if (std::string(GetParam()) == "TerminateProcess") {
        cocuk.bekle(0);
    } else {
        const std::string cocuk_pid = kabukta(
            "ps -eo pid=,args= | awk -v ad=' " + std::string(ad.begin(), ad.end()) +
            "' 'index($0, \"korva_baglanti_tests.exe\") && substr($0, length($0) - length(ad) + 1) == ad "
            "{ print $1 }'");
        ASSERT_EQ(std::count(cocuk_pid.begin(), cocuk_pid.end(), '\n'), 1) << cocuk_pid;
        EXPECT_EQ(kabukta("kill -9 " + std::to_string(atoll(cocuk_pid.c_str())) + " && echo tamam"), "tamam\n");
    }
    EXPECT_TRUE(hic_kalmayinca(motor_sayan(motor_pid)));
    cocuk.bekle(10000);
}

INSTANTIATE_TEST_SUITE_P(, HostEnds, ::testing::Values("TerminateProcess", "KillMinus9"),
                         [](const auto& bilgi) { return std::string(bilgi.param); });

}  // namespace

// ---- Raw hooks: events taken before they are parsed -------------------------------

#include "kare.h"

#include <mutex>

namespace {

TEST_F(Motor, ARawHookTakesItsEventBeforeItIsParsed)
{
    ASSERT_NO_FATAL_FAILURE(baglan());
    const std::string oturum = sayfa_oturumu();
    ASSERT_FALSE(oturum.empty());
    // What the hooks see lives as long as they might run.
    struct Gorulen {
        std::atomic<DWORD> konsol_is_parcacigi{0};
        std::atomic<int> ayrisik_konsol{0}, reddedilen{0};
        KareCozucu cozucu;
        std::mutex kilit;
        std::shared_ptr<Kare> kare;
        int sayi = 0, bozuk = 0;
    };
    auto gorulen = std::make_shared<Gorulen>();

    // Taken as text on the reading thread; the parsed hook of the same method does
    // not run, nor does the listener hear it.
    baglanti->ham_isleyici("Runtime.consoleAPICalled", [gorulen, oturum](const std::string& s, std::string_view ileti) {
        if (s == oturum && ileti.find("ham-yakalandi") != std::string_view::npos)
            gorulen->konsol_is_parcacigi = GetCurrentThreadId();
        return true;
    });
    baglanti->on_isleyici("Runtime.consoleAPICalled", [gorulen](const std::string&, Json&) {
        ++gorulen->ayrisik_konsol;
        return true;
    });
    // Declined: the event goes the usual way.
    baglanti->ham_isleyici("Runtime.executionContextCreated", [gorulen](const std::string&, std::string_view) {
        ++gorulen->reddedilen;
        return false;
    });
    EXPECT_FALSE(komut("Runtime.enable", Json::object(), oturum).basarisiz);
    komut("Runtime.evaluate", {{"expression", "console.log('ham-yakalandi')"}}, oturum);
    ASSERT_TRUE(pompala([&] { return gorulen->konsol_is_parcacigi != 0; }));
    EXPECT_NE(gorulen->konsol_is_parcacigi, GetCurrentThreadId());
    EXPECT_EQ(gorulen->ayrisik_konsol, 0);
    EXPECT_GT(gorulen->reddedilen, 0);
    bool baglamli = false;
    for (const Olay& olay : olaylar) {
        EXPECT_NE(olay.yontem, "Runtime.consoleAPICalled");
        if (olay.yontem == "Runtime.executionContextCreated" && olay.oturum == oturum)
            baglamli = true;
    }
    EXPECT_TRUE(baglamli);

    // Frames: cut apart, acknowledged and decoded on the reading thread.
    Baglanti* kaynak = baglanti.get();
    baglanti->ham_isleyici("Page.screencastFrame", [gorulen, kaynak](const std::string& s, std::string_view ileti) {
        KareIletisi parcalar;
        if (!kare_iletisini_ayir(ileti, &parcalar) || parcalar.oturum != s)
            return false;
        kaynak->gonder("Page.screencastFrameAck", {{"sessionId", parcalar.onay}}, s);
        std::shared_ptr<Kare> kare = gorulen->cozucu.coz(parcalar.veri);
        std::lock_guard<std::mutex> kilit(gorulen->kilit);
        ++gorulen->sayi;
        if (kare)
            gorulen->kare = std::move(kare);
        else
            ++gorulen->bozuk;
        return true;
    });
    komut("Page.enable", Json::object(), oturum);
    komut("Page.bringToFront", Json::object(), oturum);
    // Started first: a page already painted sends no frame until it changes.
    komut("Page.startScreencast", {{"format", "jpeg"}, {"quality", 80}}, oturum);
    komut("Page.navigate", {{"url", "data:text/html,<body style='background:blue'></body>"}}, oturum);
    std::string son_gorulen = "no frame";
    const auto mavi_mi = [&] {
        std::lock_guard<std::mutex> kilit(gorulen->kilit);
        const Kare* kare = gorulen->kare.get();
        if (!kare || kare->genislik < 10 || kare->yukseklik < 10)
            return false;
        const uint8_t* p =
            kare->pikseller.data() + (static_cast<size_t>(kare->yukseklik / 2) * kare->genislik + kare->genislik / 2) * 4;
        son_gorulen = std::to_string(gorulen->sayi) + " frames, the last " + std::to_string(kare->genislik) + "x" +
                      std::to_string(kare->yukseklik) + ", BGRA in its middle " + std::to_string(p[0]) + " " +
                      std::to_string(p[1]) + " " + std::to_string(p[2]) + " " + std::to_string(p[3]);
        return p[0] > 230 && p[1] < 25 && p[2] < 25 && p[3] == 255;
    };
    EXPECT_TRUE(pompala(mavi_mi, 30000)) << "no blue frame came: " << son_gorulen;
    komut("Page.stopScreencast", Json::object(), oturum);
    baglanti->ham_isleyici("Page.screencastFrame", nullptr);
    EXPECT_EQ(gorulen->bozuk, 0);
    for (const Olay& olay : olaylar)
        EXPECT_NE(olay.yontem, "Page.screencastFrame");
}

// Commands of one stream go one at a time: those asked while one is awaited are
// merged into one, which goes the moment the engine answers, while the UI thread
// is busy elsewhere (here: not pumping at all).
TEST_F(Motor, AStreamsNextCommandGoesWithoutTheUiThread)
{
    ASSERT_NO_FATAL_FAILURE(baglan());
    const std::string oturum = sayfa_oturumu();
    ASSERT_FALSE(oturum.empty());
    struct Gorulen {
        std::mutex kilit;
        std::vector<std::string> yazilar;
    };
    auto gorulen = std::make_shared<Gorulen>();
    baglanti->ham_isleyici("Runtime.consoleAPICalled", [gorulen](const std::string&, std::string_view ileti) {
        for (const char* harf : {"akis-A", "akis-B", "akis-C"})
            if (ileti.find(harf) != std::string_view::npos) {
                std::lock_guard<std::mutex> kilit(gorulen->kilit);
                gorulen->yazilar.push_back(harf);
            }
        return true;
    });
    ASSERT_FALSE(komut("Runtime.enable", Json::object(), oturum).basarisiz);
    int birlesen = 0;
    const Baglanti::Birlestir birlestir = [&birlesen](Json& bekleyen, const Json& yeni) {
        ++birlesen;
        bekleyen["expression"] = bekleyen["expression"].get<std::string>() + ";" + yeni["expression"].get<std::string>();
    };
    const auto yaz = [](const char* harf) {
        Json parametreler;
        parametreler["expression"] = std::string("console.log('akis-") + harf + "')";
        return parametreler;
    };
    // The first keeps the page busy, so the other two surely wait for it.
    baglanti->sirayla_gonder("deneme", "Runtime.evaluate",
                             {{"expression", "const t = Date.now(); while (Date.now() - t < 300); console.log('akis-A')"}},
                             oturum, birlestir);
    baglanti->sirayla_gonder("deneme", "Runtime.evaluate", yaz("B"), oturum, birlestir);
    baglanti->sirayla_gonder("deneme", "Runtime.evaluate", yaz("C"), oturum, birlestir);
    EXPECT_EQ(birlesen, 1);
    const auto hepsi = [&] {
        std::lock_guard<std::mutex> kilit(gorulen->kilit);
        return gorulen->yazilar.size() >= 3;
    };
    for (int i = 0; i < 600 && !hepsi(); ++i)
        Sleep(50);
    std::lock_guard<std::mutex> kilit(gorulen->kilit);
    EXPECT_EQ(gorulen->yazilar, (std::vector<std::string>{"akis-A", "akis-B", "akis-C"}));
}

}  // namespace

// ---- A private channel ------------------------------------------------------------

namespace {

// The engine's protocol is reachable by no other process: no socket of the engine's
// listens, its secrets are in no command line, and its profile is its user's alone.
TEST_F(Motor, NobodyElseCanReachTheEngine)
{
    ASSERT_NO_FATAL_FAILURE(baglan());
    const std::string pid = std::to_string(motor_pid);
    // The shell that started the engine holds the port and the token in its
    // environment; they are looked for in every command line without ever being on
    // one (grep reads them from a file).
    const std::string rapor = kabukta(
        "ortam=/proc/$(ps -o ppid= -p " + pid + " | tr -d ' ')/environ\n"
        "tr '\\0' '\\n' <$ortam | sed -n 's/^KORVA_BAGLANTI_JETONU=//p' >/tmp/$$.jeton\n"
        "tr '\\0' '\\n' <$ortam | sed -n 's/^KORVA_BAGLANTI_PORTU=//p' >/tmp/$$.port\n"
        "echo secrets $(wc -c </tmp/$$.jeton) $(grep -c '^[0-9]*$' /tmp/$$.port)\n"
        "pids=$(ps -e -o pid=,sid= | awk '$2 == " + pid + " { print $1 }' | paste -sd'|')\n"
        "echo engine processes $([ -n \"$pids\" ] && echo some || echo none)\n"
        "echo listening $(ss -ltnpH | grep -cE \"pid=($pids),\")\n"
        "echo pipe $(tr '\\0' '\\n' </proc/" + pid + "/cmdline | grep -c '^--remote-debugging-pipe$')\n"
        "echo token in a command line $(awk 1 RS='\\0' /proc/[0-9]*/cmdline 2>/dev/null | grep -cFf /tmp/$$.jeton)\n"
        "echo port in a command line $(awk 1 RS='\\0' /proc/[0-9]*/cmdline 2>/dev/null | grep -cwFf /tmp/$$.port)\n"
        "rm -f /tmp/$$.jeton /tmp/$$.port\n"
        "d=$(tr '\\0' '\\n' </proc/" + pid + "/cmdline | sed -n 's/^--user-data-dir=//p')\n"
        "echo profile $(stat -c %a \"$d\") open to others $(find \"$d\" ! -type l -perm /077 | wc -l)"
        " files $([ $(find \"$d\" | wc -l) -gt 3 ] && echo some)\n");
    EXPECT_EQ(rapor,
              "secrets 33 1\nengine processes some\nlistening 0\npipe 1\ntoken in a command line 0\nport in a command line 0\n"
              "profile 700 open to others 0 files some\n");
}

// Another process connecting to the library's listener while the engine starts holds
// nothing up: a connection that stays silent, or says the wrong thing, is dropped.
TEST_F(Motor, AConnectionWithoutTheTokenIsDroppedWhileTheEngineStarts)
{
    struct Yabanci {
        SOCKET sessiz = INVALID_SOCKET, yanlis = INVALID_SOCKET;
        ULONGLONG baglandi = 0;
    };
    auto yabanci = std::make_shared<Yabanci>();
    MotorAyari ayar;
    ayar.kullanici_klasoru = kullanici_klasoru();
    ayar.dinliyor = [yabanci](int port) {
        sockaddr_in adres = {};
        adres.sin_family = AF_INET;
        adres.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        adres.sin_port = htons(static_cast<u_short>(port));
        for (SOCKET* soket : {&yabanci->sessiz, &yabanci->yanlis}) {
            *soket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
            connect(*soket, reinterpret_cast<sockaddr*>(&adres), sizeof(adres));
        }
        send(yabanci->yanlis, "korva 0123\n", 11, 0);
        yabanci->baglandi = GetTickCount64();
    };
    ASSERT_EQ(baslat(ayar), S_OK);
    ASSERT_NE(yabanci->sessiz, INVALID_SOCKET);
    ASSERT_NE(yabanci->yanlis, INVALID_SOCKET);
    // Dropped: the library closed its end (a read ends), within about half a second.
    for (SOCKET soket : {yabanci->sessiz, yabanci->yanlis}) {
        fd_set kume;
        FD_ZERO(&kume);
        FD_SET(soket, &kume);
        timeval sure = {10, 0};
        ASSERT_EQ(select(0, &kume, nullptr, nullptr, &sure), 1);
        char bayt;
        EXPECT_LE(recv(soket, &bayt, 1, 0), 0);
        closesocket(soket);
    }
    EXPECT_LT(GetTickCount64() - yabanci->baglandi, 5000u);
    const Sonuc surum = komut("Browser.getVersion");
    EXPECT_FALSE(surum.basarisiz);
    EXPECT_NE(surum.sonuc.value("product", ""), "");
    for (const Json& surec : komut("SystemInfo.getProcessInfo").sonuc["processInfo"])
        if (surec["type"] == "browser")
            motor_pid = surec["id"].get<int64_t>();
}

// ---- The gate's checks, without an engine -----------------------------------------

// A greeting is judged only once it is whole: a wrong byte anywhere is answered
// exactly like the right greeting until the last byte is in.
TEST(Kapi, AGreetingIsJudgedOnlyWhenWhole)
{
    const std::string selam = kapi_selami(std::string(JETON_HANESI, 'c'));
    ASSERT_EQ(selam.size(), JETON_HANESI + 7);
    for (size_t yer = 0; yer < selam.size(); ++yer) {
        std::string yanlis = selam;
        yanlis[yer] ^= 1;
        SelamDenetcisi denetci(selam);
        for (size_t i = 0; i + 1 < yanlis.size(); ++i)
            ASSERT_EQ(denetci.al(&yanlis[i], 1), SelamDenetcisi::Durum::Bekliyor) << "wrong byte at " << yer;
        EXPECT_EQ(denetci.al(yanlis.data() + yanlis.size() - 1, 1), SelamDenetcisi::Durum::Yanlis) << yer;
    }
    SelamDenetcisi dogru(selam);
    EXPECT_EQ(dogru.al(selam.data(), 5), SelamDenetcisi::Durum::Bekliyor);
    // Bytes past the greeting are not the gate's to read.
    const std::string fazlasi = selam.substr(5) + "ekstra";
    EXPECT_EQ(dogru.al(fazlasi.data(), fazlasi.size()), SelamDenetcisi::Durum::Dogru);
    EXPECT_EQ(dogru.eksik(), 0u);
}

// The owner of a connection's other end, as the system's TCP table (recorded from
// /proc/net/tcp) lists it: only an established socket with exactly both ends counts.
TEST(Kapi, TheOwnerOfAConnectionIsReadFromTheTcpTable)
{
    const char* const TABLO =
        "  sl  local_address rem_address   st tx_queue rx_queue tr tm->when retrnsmt   uid  timeout inode\n"
        "   0: 0100007F:A1B2 00000000:0000 0A 00000000:00000000 00:00000000 00000000  1000        0 811 1 0 100 0 0 10 0\n"
        "   1: 0100007F:C350 0100007F:A1B2 01 00000000:00000000 00:00000000 00000000 65534        0 812 1 0 20 4 30 10 -1\n"
        "   2: 0100007F:A1B2 0100007F:C350 01 00000000:00000000 00:00000000 00000000  1000        0 813 1 0 20 4 30 10 -1\n"
        "   3: 0100007F:C351 0100007F:A1B2 06 00000000:00000000 03:00001770 00000000     0        0 0 3 0\n"
        "   4: 0100007F:C352 0100007F:A1B2 01 00000000:00000000 00:00000000 00000000  1000        0 814 1 0 20 4 30 10 -1\n"
        "   5: garbage\n"
        "   6: 0100007F:C353 0100007F:A1B2 01 00000000:00000000 00:00000000 00000000  12x4        0 815\n";
    const uint32_t yerel = htonl(INADDR_LOOPBACK);
    const TcpUcu kapi = {yerel, 0xA1B2};
    EXPECT_EQ(tcp_sahibi(TABLO, kapi, TcpUcu{}, TCP_DINLIYOR), 1000);
    EXPECT_EQ(tcp_sahibi(TABLO, {yerel, 0xC350}, kapi, TCP_KURULU), 65534);  // another user's
    EXPECT_EQ(tcp_sahibi(TABLO, {yerel, 0xC352}, kapi, TCP_KURULU), 1000);
    EXPECT_EQ(tcp_sahibi(TABLO, {yerel, 0xC351}, kapi, TCP_KURULU), -1);     // not established (uid 0 shown)
    EXPECT_EQ(tcp_sahibi(TABLO, {yerel, 0xC353}, kapi, TCP_KURULU), -1);     // an unreadable owner
    EXPECT_EQ(tcp_sahibi(TABLO, {yerel, 0xC354}, kapi, TCP_KURULU), -1);     // not in the table
    EXPECT_EQ(tcp_sahibi(TABLO, {htonl(0x7F000002), 0xC350}, kapi, TCP_KURULU), -1);
    EXPECT_EQ(tcp_sahibi("", kapi, TcpUcu{}, TCP_DINLIYOR), -1);
    // This process's own table can be read.
    std::string tablo;
    EXPECT_TRUE(tcp_tablosunu_oku(&tablo));
    EXPECT_EQ(tablo.compare(0, 4, "  sl"), 0) << tablo.substr(0, 80);
}

// Another local user at the gate: a flood of connections kept up until told to stop,
// each with the greeting's right start and a guess at the token's first digit, and
// silent connections that wait (0.4 s, less than a greeting's time) to see whether
// they are kept. Its findings: "<prefix>.sessiz" as soon as the silent ones are
// done, "<prefix>.rapor" at the end.
const char* const YABANCI = R"(import os, select, socket, sys, threading, time
port, onek = int(sys.argv[1]), sys.argv[2]
def yaz(ek, metin):
    with open(onek + ek + '.yazilan', 'w') as f:
        f.write(metin)
    os.rename(onek + ek + '.yazilan', onek + ek)
def baglan():
    s = socket.socket()
    s.connect(('127.0.0.1', port))
    return s
def kapandi(s):
    try:
        return not s.recv(64)
    except OSError:
        return True
sayac = {'acilan': 0, 'kapatilan': 0}
def sel():
    acik, bitis = [], time.monotonic() + 60
    while not os.path.exists(onek + '.dur') and time.monotonic() < bitis:
        for _ in range(40 - len(acik)):
            try:
                s = baglan()
                s.send(b'korva ' + b'0123456789abcdef'[sayac['acilan'] % 16:][:1])
                acik.append(s)
            except OSError:
                sayac['kapatilan'] += 1
            sayac['acilan'] += 1
        if not os.path.exists(onek + '.hazir'):
            open(onek + '.hazir', 'w').close()
        for s in select.select(acik, [], [], 0.05)[0]:
            if kapandi(s):
                acik.remove(s)
                s.close()
                sayac['kapatilan'] += 1
    for s in acik:
        s.close()
t = threading.Thread(target=sel)
t.start()
while not os.path.exists(onek + '.hazir'):
    time.sleep(0.01)
sessiz = [baglan() for _ in range(16)]
kapanan, son = set(), time.monotonic() + 0.4
while len(kapanan) < len(sessiz) and time.monotonic() < son:
    for s in select.select([s for s in sessiz if s not in kapanan], [], [], max(0, son - time.monotonic()))[0]:
        if kapandi(s):
            kapanan.add(s)
yaz('.sessiz', '%d/%d' % (len(kapanan), len(sessiz)))
t.join()
yaz('.rapor', '%d/%d' % (sayac['kapatilan'], sayac['acilan']))
)";

// Runs YABANCI as the user nobody against a port, and reads what it found.
class Yabanci {
public:
    explicit Yabanci(int port) : ad_(benzersiz(L"korva_yabanci_"))
    {
        const std::string onek = "/tmp/" + std::string(ad_.begin(), ad_.end());
        {
            std::ofstream dosya(yol(L".py").c_str(), std::ios::binary);
            dosya << YABANCI;
        }
        if (kabukta("chmod 644 " + onek + ".py && echo tamam") != "tamam\n")
            return;
        std::wstring komut = L"Z:\\usr\\bin\\setpriv --reuid=65534 --regid=65534 --clear-groups /usr/bin/python3 " +
                             genis(onek) + L".py " + std::to_wstring(port) + L" " + genis(onek);
        STARTUPINFOW baslangic = {};
        baslangic.cb = sizeof(baslangic);
        PROCESS_INFORMATION bilgi = {};
        basladi_ = CreateProcessW(nullptr, komut.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &baslangic,
                                  &bilgi) != FALSE;
    }
    ~Yabanci()
    {
        durdur();
        for (const wchar_t* ek : {L".py", L".hazir", L".sessiz", L".rapor", L".dur"})
            DeleteFileW(yol(ek).c_str());
    }
    // Waits (without pumping messages) for one of its files; "" when it never came.
    std::string bekle(const wchar_t* ek, DWORD ms = 20000)
    {
        for (DWORD gecen = 0; basladi_ && gecen < ms; gecen += 20) {
            if (GetFileAttributesW(yol(ek).c_str()) != INVALID_FILE_ATTRIBUTES)
                return dosya_oku(yol(ek));
            Sleep(20);
        }
        return "";
    }
    void durdur() { std::ofstream(yol(L".dur").c_str()).put('\n'); }
    // A closed and b opened, from "a/b".
    static std::pair<int, int> oran(const std::string& metin)
    {
        int a = -1, b = -1;
        sscanf(metin.c_str(), "%d/%d", &a, &b);
        return {a, b};
    }

private:
    std::wstring yol(const wchar_t* ek) const { return L"Z:\\tmp\\" + ad_ + ek; }
    std::wstring ad_;
    bool basladi_ = false;
};

bool root_muyuz()
{
    return kabukta("id -u") == "0\n";
}

// At the gate itself, with no shell coming until the test sends one: another user's
// connections are closed at once, unread, however many keep coming, and the shell
// still gets in.
TEST(Kapi, AnotherUsersConnectionsAreClosedUnreadAndTheShellStillGetsIn)
{
    if (!root_muyuz())
        GTEST_SKIP() << "needs to run as root to act as another user";
    WSADATA winsock;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &winsock), 0);
    int port = 0;
    SoketSahibi dinleyen(kapi_dinleyicisi_ac(&port));
    std::string jeton;
    ASSERT_NE(dinleyen.soket, INVALID_SOCKET);
    ASSERT_TRUE(jeton_uret(&jeton));
    std::atomic<SOCKET> kabul{INVALID_SOCKET};
    std::atomic<bool> bitti{false};
    std::thread kapi([&] {
        kabul = kabugu_kabul_et(dinleyen.soket, port, jeton, GetTickCount64() + 60000);
        bitti = true;
    });
    Yabanci yabanci(port);
    const auto sessiz = Yabanci::oran(yabanci.bekle(L".sessiz"));
    EXPECT_EQ(sessiz.first, 16) << "silent connections kept: the gate read another user's connection";
    EXPECT_FALSE(bitti);

    // The shell, this user's, while the flood goes on.
    SoketSahibi kabuk(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in adres = {};
    adres.sin_family = AF_INET;
    adres.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    adres.sin_port = htons(static_cast<u_short>(port));
    EXPECT_EQ(connect(kabuk.soket, reinterpret_cast<sockaddr*>(&adres), sizeof(adres)), 0);
    const std::string selam = kapi_selami(jeton) + "x";
    const int gonderilen = send(kabuk.soket, selam.data(), static_cast<int>(selam.size()), 0);
    kapi.join();
    ASSERT_EQ(gonderilen, static_cast<int>(selam.size()));
    SoketSahibi gelen(kabul.load());
    ASSERT_NE(gelen.soket, INVALID_SOCKET);
    // It is the shell's connection, and the byte after the greeting is still there.
    char bayt = 0;
    EXPECT_EQ(recv(gelen.soket, &bayt, 1, 0), 1);
    EXPECT_EQ(bayt, 'x');

    yabanci.durdur();
    const auto sel = Yabanci::oran(yabanci.bekle(L".rapor"));
    EXPECT_GE(sel.second, 40);
    EXPECT_GE(sel.first, sel.second - 40) << "all but those still open when it stopped were closed";
}

// The same race at a real start: Korva's engine starts with its own shell.
TEST_F(Motor, AnotherUsersFloodDoesNotKeepTheEngineFromStarting)
{
    if (!root_muyuz())
        GTEST_SKIP() << "needs to run as root to act as another user";
    std::unique_ptr<Yabanci> yabanci;
    MotorAyari ayar;
    ayar.kullanici_klasoru = kullanici_klasoru();
    ayar.dinliyor = [&](int port) {
        yabanci = std::make_unique<Yabanci>(port);
        yabanci->bekle(L".hazir");  // the shell starts with the flood in the listener's queue
    };
    ASSERT_EQ(baslat(ayar), S_OK);
    ASSERT_TRUE(yabanci);
    EXPECT_NE(yabanci->bekle(L".sessiz"), "") << "the other user's flood did not run";
    EXPECT_FALSE(komut("Browser.getVersion").basarisiz);
    for (const Json& surec : komut("SystemInfo.getProcessInfo").sonuc["processInfo"])
        if (surec["type"] == "browser")
            motor_pid = surec["id"].get<int64_t>();
}

// ---- A stand-in engine that answers badly on purpose --------------------------------

// Each command's method names the fault its answer carries; everything else gets a
// plain answer. `derin` is 60,000 levels of arrays.
const char* const SAHTE_MOTOR = R"(#!/bin/bash
yaz() { printf '%s\0' "$1" >&4; }
derin=$(head -c 60000 /dev/zero | tr '\0' '[')$(head -c 60000 /dev/zero | tr '\0' ']')
while IFS= read -r -d '' komut <&3; do
  [[ $komut =~ \"id\":([0-9]+) ]] || continue
  id=${BASH_REMATCH[1]}; y=; [[ $komut =~ \"method\":\"([A-Za-z0-9.]*)\" ]] && y=${BASH_REMATCH[1]}
  iyi="{\"id\":$id,\"result\":{\"tamam\":true}}"
  case $y in
    Derin) yaz "{\"id\":$id,\"result\":{\"a\":$derin}}" ;;
    DerinOlay) yaz "{\"method\":\"Derin.olay\",\"params\":{\"a\":$derin}}"; yaz "$iyi" ;;
    KimliksizDerin) yaz "$derin"; yaz "$iyi" ;;
    YanlisSonuc) yaz "{\"id\":$id,\"result\":5}" ;;
    YanlisHata) yaz "{\"id\":$id,\"error\":\"yok\"}" ;;
    MetinKimlik) yaz "{\"id\":\"$id\",\"result\":{\"ilk\":true}}"; yaz "$iyi" ;;
    YanlisOlaylar) yaz '{"method":7,"params":{}}'; yaz '{"method":"Kotu.olay","params":"x"}'
      yaz '{"method":"Kotu.olay","sessionId":5,"params":{}}'; yaz '[1,2]'; yaz '{"method":"Iyi.olay","params":{}}'
      yaz "$iyi" ;;
    BozukUtf8) printf '{"id":%s,"result":{"a":"\377\376"}}\0' "$id" >&4 ;;
    Yarim) yaz "{\"id\":$id,\"result\":{\"a\":" ;;
    Uzunluk) printf '\0\0Content-Length: 400000000\r\n\r\n\0\202\177\0\0\0\0\27\327\204\0' >&4; yaz "$iyi" ;;
    Buyuk) { printf '{"id":%s,"result":{"a":"' "$id"; head -c 300000000 /dev/zero | tr '\0' a; printf '"}}\0'; } >&4 ;;
    BuyukOlay) { printf '{"method":"Runtime.consoleAPICalled","params":{"a":"'; head -c 300000000 /dev/zero | tr '\0' a
      printf '"}}\0'; } >&4; yaz "$iyi" ;;
    *) yaz "$iyi" ;;
  esac
done
)";

TEST_F(Motor, AnEngineSpeakingBadlyFailsWhatWaitsAndNeverTakesTheHostDown)
{
    const std::wstring ad = benzersiz(L"korva_sahte_motor_");
    {
        std::ofstream dosya((L"Z:\\tmp\\" + ad).c_str(), std::ios::binary);
        dosya << SAHTE_MOTOR;
    }
    const std::string yol = "/tmp/" + std::string(ad.begin(), ad.end());
    ASSERT_EQ(kabukta("chmod 700 " + yol + " && echo tamam"), "tamam\n");
    MotorAyari ayar;
    ayar.kullanici_klasoru = kullanici_klasoru();
    ayar.ikili = yol;
    ASSERT_EQ(baslat(ayar), S_OK);
    baglanti->olay_dinle([this](const std::string& oturum, const std::string& yontem, const Json& p) {
        olaylar.push_back({oturum, yontem, p});
    });
    int kapanis = 0;
    baglanti->kapaninca([&] { ++kapanis; });

    struct Durum {
        const char* yontem;
        const char* hata;  // a part of the failure's message; null: the plain answer comes
    };
    const Durum durumlar[] = {
        {"Derin", "nested too deeply"},        {"DerinOlay", nullptr},
        {"KimliksizDerin", nullptr},           {"YanlisSonuc", "malformed"},
        {"YanlisHata", "malformed"},           {"MetinKimlik", nullptr},
        {"YanlisOlaylar", nullptr},            {"BozukUtf8", "not valid JSON"},
        {"Yarim", "not valid JSON"},           {"Uzunluk", nullptr},
        // Past the size bound: skipped, and a reply fails alone.
        {"Buyuk", "larger than the bound"},    {"BuyukOlay", nullptr},
    };
    for (const Durum& durum : durumlar) {
        // The reply is kept by copying it: a copy recurses once a level.
        const Sonuc sonuc = komut(durum.yontem);
        ASSERT_TRUE(sonuc.geldi) << durum.yontem;
        if (durum.hata != nullptr) {
            EXPECT_TRUE(sonuc.basarisiz) << durum.yontem;
            EXPECT_NE(sonuc.hata.value("message", "").find(durum.hata), std::string::npos)
                << durum.yontem << ": " << sonuc.hata.dump();
        } else {
            EXPECT_FALSE(sonuc.basarisiz) << durum.yontem << ": " << sonuc.hata.dump();
            EXPECT_EQ(sonuc.sonuc, Json({{"tamam", true}})) << durum.yontem;
        }
        EXPECT_TRUE(baglanti->acik_mi()) << durum.yontem;
    }
    std::vector<std::string> duyulan;
    for (const Olay& olay : olaylar)
        duyulan.push_back(olay.yontem);
    EXPECT_EQ(duyulan, std::vector<std::string>{"Iyi.olay"});

    EXPECT_EQ(kapanis, 0);
    baglanti.reset();
    kabukta("rm -f " + yol);
}

}  // namespace
