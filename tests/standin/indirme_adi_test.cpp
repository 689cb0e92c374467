// Where a downloaded file goes: a suggested name made safe for a Windows folder (and
// short enough for a Linux one), the numbered name a taken one gets, and the final
// move. Shared by both engines (engine_shared/indirme_yolu.h).
#include <gtest/gtest.h>

#include <string>

#include "indirme_yolu.h"

TEST(IndirmeAdi, SuggestedNamesBecomeSafeFileNames) {
    EXPECT_EQ(L"rapor.pdf", guvenli_dosya_adi(L"rapor.pdf"));
    EXPECT_EQ(L"gizli.txt", guvenli_dosya_adi(L"..\\..\\Windows/gizli.txt")) << "no folder part survives";
    EXPECT_EQ(L"a_b_c_d_.txt", guvenli_dosya_adi(L"a<b>c:d?.txt"));
    EXPECT_EQ(L"x_y", guvenli_dosya_adi(std::wstring(L"x\ty")));
    EXPECT_EQ(L"_con.txt", guvenli_dosya_adi(L"con.txt")) << "a device name is no file";
    EXPECT_EQ(L"indirme", guvenli_dosya_adi(L""));
    EXPECT_EQ(L"indirme", guvenli_dosya_adi(L" ... "));
    EXPECT_EQ(L"ad", guvenli_dosya_adi(L"ad. . "));
    const std::wstring uzun = guvenli_dosya_adi(std::wstring(500, L'a') + L".zip");
    EXPECT_EQ(200u, uzun.size());
    EXPECT_EQ(L".zip", uzun.substr(196)) << "the extension is kept";
}

TEST(IndirmeAdi, ATakenNameGetsItsNumberBeforeTheExtension) {
    EXPECT_EQ(L"C:\\d\\a.bin", numarali_yol(L"C:\\d\\a.bin", 0));
    EXPECT_EQ(L"C:\\d\\a (1).bin", numarali_yol(L"C:\\d\\a.bin", 1));
    EXPECT_EQ(L"C:\\d\\a.tar (2).gz", numarali_yol(L"C:\\d\\a.tar.gz", 2));
    EXPECT_EQ(L"C:\\d\\README (1)", numarali_yol(L"C:\\d\\README", 1));
    EXPECT_EQ(L"C:\\d\\.profile (1)", numarali_yol(L"C:\\d\\.profile", 1));
    EXPECT_EQ(L"C:\\d.x\\ad (3)", numarali_yol(L"C:\\d.x\\ad", 3)) << "a dot in the folder is no extension";
}

TEST(IndirmeAdi, ALongNameIsCutToWhatTheFileSystemTakes) {
    // Under Wine a name is at most 255 bytes of UTF-8; "ğ" is two of them.
    const std::wstring turkce = guvenli_dosya_adi(std::wstring(180, L'\x011f') + L".tar");
    EXPECT_LE(utf8_boyu(turkce), EN_UZUN_AD_BAYTI);
    EXPECT_EQ(L".tar", turkce.substr(turkce.size() - 4)) << "the extension is kept";
    EXPECT_EQ(std::wstring(118, L'\x011f') + L".tar", turkce);
    // A character outside the first plane is a surrogate pair: never cut in two.
    std::wstring cift;
    for (int i = 0; i < 100; ++i)
        cift += L"a\xD83D\xDE00";   // "a" and an emoji: 5 bytes of UTF-8
    const std::wstring kesik = guvenli_dosya_adi(cift + L".png");
    EXPECT_LE(utf8_boyu(kesik), EN_UZUN_AD_BAYTI);
    EXPECT_EQ(L".png", kesik.substr(kesik.size() - 4));
    const wchar_t son = kesik[kesik.size() - 5];
    EXPECT_TRUE(son == L'a' || son == 0xDE00) << "a pair's first half ends the name";
}

namespace {

// Runs a shell line on the Linux side and waits for it: it ends by creating a file,
// since a Unix program started from Windows gives no handle to wait on.
bool kabukta(const std::wstring& satir, const std::wstring& bitti_windows, const std::wstring& bitti_unix)
{
    DeleteFileW(bitti_windows.c_str());   // an earlier run's
    std::wstring komut = L"Z:\\bin\\sh -c \"" + satir + L" && touch '" + bitti_unix + L"'\"";
    STARTUPINFOW baslangic = {};
    baslangic.cb = sizeof(baslangic);
    PROCESS_INFORMATION bilgi = {};
    if (!CreateProcessW(nullptr, komut.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &baslangic, &bilgi))
        return false;
    CloseHandle(bilgi.hThread);
    CloseHandle(bilgi.hProcess);
    for (int deneme = 0; deneme < 600; ++deneme) {
        if (GetFileAttributesW(bitti_windows.c_str()) != INVALID_FILE_ATTRIBUTES)
            return true;
        Sleep(50);
    }
    return false;
}

std::string oku(const std::wstring& yol)
{
    std::string icerik;
    HANDLE dosya = CreateFileW(yol.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (dosya == INVALID_HANDLE_VALUE)
        return "(none)";
    char tampon[256];
    DWORD okunan = 0;
    while (ReadFile(dosya, tampon, sizeof(tampon), &okunan, nullptr) && okunan > 0)
        icerik.append(tampon, okunan);
    CloseHandle(dosya);
    return icerik;
}

}  // namespace

// The final move, into a folder of the Linux side: a dangling symbolic link there
// (which Windows calls see as nothing) is never replaced, and a name too long for a
// Linux file system in plain bytes is already cut, so its data arrives whole.
TEST(IndirmeAdi, TheFinalMoveTakesNoLinksPlaceAndKeepsLongNames) {
    const std::wstring klasor = std::wstring(KORVA_BUILD_DIR_W) + L"\\indirme_adi_testi";
    std::wstring unix_klasor = klasor.substr(2);
    for (wchar_t& c : unix_klasor)
        if (c == L'\\')
            c = L'/';
    ASSERT_TRUE(kabukta(L"rm -rf '" + unix_klasor + L"' && mkdir -p '" + unix_klasor + L"' && ln -s /yok/hicbir/yer '" +
                            unix_klasor + L"/ad.bin'",
                        klasor + L"\\hazir", unix_klasor + L"/hazir"));
    auto gecici = [&](const wchar_t* ad, const char* icerik) {
        const std::wstring yol = klasor + L"\\" + ad;
        HANDLE dosya = CreateFileW(yol.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        DWORD yazilan = 0;
        WriteFile(dosya, icerik, static_cast<DWORD>(strlen(icerik)), &yazilan, nullptr);
        CloseHandle(dosya);
        return yol;
    };

    std::wstring yol = klasor + L"\\ad.bin";
    ASSERT_EQ(COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_NONE, dosyayi_yerine_tasi(gecici(L"g1", "veri"), yol));
    EXPECT_EQ(klasor + L"\\ad (1).bin", yol);
    EXPECT_EQ("veri", oku(yol));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((klasor + L"\\g1").c_str())) << "the temporary name stays";
    ASSERT_TRUE(kabukta(L"[ -L '" + unix_klasor + L"/ad.bin' ] && [ \\\"$(readlink '" + unix_klasor +
                            L"/ad.bin')\\\" = /yok/hicbir/yer ]",
                        klasor + L"\\bag_yerinde", unix_klasor + L"/bag_yerinde"))
        << "the link was replaced";

    const std::wstring uzun_ad = guvenli_dosya_adi(std::wstring(250, L'\x03bb') + L".txt");
    yol = klasor + L"\\" + uzun_ad;
    ASSERT_EQ(COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_NONE, dosyayi_yerine_tasi(gecici(L"g2", "uzun veri"), yol));
    EXPECT_EQ(klasor + L"\\" + uzun_ad, yol);
    EXPECT_EQ("uzun veri", oku(yol));
    EXPECT_EQ(L".txt", yol.substr(yol.size() - 4));
}
