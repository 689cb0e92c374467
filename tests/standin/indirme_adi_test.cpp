// Where a downloaded file goes: a suggested name made safe for a Windows folder, and
// the numbered name a taken one gets. Shared by both engines (engine/indirme_yolu.h).
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
