// Downloads the engine reports with ids that are not its GUIDs: played into the
// library's download handling without an engine, they are never taken on, and no
// file outside the engine's folder is moved or deleted for them, while a download
// with a GUID beside them still reaches the Downloads folder.
#include "indirmeler.h"
#include "protokol.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string oku(const std::wstring& yol)
{
    std::ifstream dosya(yol.c_str(), std::ios::binary);
    std::stringstream icerik;
    icerik << dosya.rdbuf();
    return icerik.str();
}

void yaz(const std::wstring& yol, const std::string& icerik)
{
    std::ofstream(yol.c_str(), std::ios::binary) << icerik;
}

void olay(const char* yontem, const Json& parametreler)
{
    EXPECT_TRUE(indirme_olayi(nullptr, yontem, parametreler)) << yontem << " was not taken as a download's";
}

void basladi(const std::string& kimlik, const char* ad)
{
    olay(protokol::DownloadWillBegin::YONTEM,
         {{"frameId", "F"}, {"guid", kimlik}, {"url", "http://127.0.0.1/x"}, {"suggestedFilename", ad}});
}

void ilerledi(const std::string& kimlik, const char* durum)
{
    olay(protokol::DownloadProgress::YONTEM, {{"guid", kimlik}, {"state", durum}, {"totalBytes", 6}, {"receivedBytes", 6}});
}

}  // namespace

TEST(IndirmeKimligi, AnIdThatIsNoGuidNeverNamesAPath)
{
    const std::wstring kok = std::wstring(KORVA_BUILD_DIR_W) + L"\\indirme_kimligi_testi";
    const std::wstring profil = kok + L"\\profil", indirilenler = kok + L"\\indirilenler";
    SHFILEOPSTRUCTW silme = {};
    const std::wstring silinecek = kok + L'\0';
    silme.wFunc = FO_DELETE;
    silme.pFrom = silinecek.c_str();
    silme.fFlags = FOF_NO_UI;
    SHFileOperationW(&silme);
    ASSERT_TRUE(CreateDirectoryW(kok.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(profil.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(indirilenler.c_str(), nullptr));
    SetEnvironmentVariableW(L"KORVA_INDIRME_KLASORU", indirilenler.c_str());
    const std::wstring motor_klasoru = indirme_klasorunu_kur(profil);
    ASSERT_EQ(profil + L"\\indirmeler", motor_klasoru);

    // A file beside the engine's folder, which "..\kurban.bin" would name.
    const std::wstring kurban = profil + L"\\kurban.bin";
    yaz(kurban, "kurban");
    basladi("..\\kurban.bin", "a.bin");
    ilerledi("..\\kurban.bin", "completed");
    basladi("../kurban.bin", "b.bin");
    ilerledi("../kurban.bin", "canceled");
    basladi("..\\..\\x", "c.bin");
    basladi("0123456789ab-cdef-0123-4567-89abcdef0123", "d.bin");   // the dashes misplaced
    EXPECT_FALSE(yeni_indirme_suruyor(600000)) << "a download with a bad id was taken on";

    // A GUID beside them goes its way to the Downloads folder.
    const std::string guid = "0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0";
    yaz(motor_klasoru + L"\\" + std::wstring(guid.begin(), guid.end()), "butun!");
    basladi(guid, "iyi.bin");
    ilerledi(guid, "completed");
    const std::wstring iyi = indirilenler + L"\\iyi.bin";
    for (int deneme = 0; deneme < 200 && GetFileAttributesW(iyi.c_str()) == INVALID_FILE_ATTRIBUTES; ++deneme)
        Sleep(50);
    EXPECT_EQ("butun!", oku(iyi));

    EXPECT_EQ("kurban", oku(kurban)) << "the file a bad id named was moved or deleted";
    for (const wchar_t* ad : {L"a.bin", L"b.bin", L"c.bin", L"d.bin"})
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((indirilenler + L"\\" + ad).c_str())) << ad;
    SetEnvironmentVariableW(L"KORVA_INDIRME_KLASORU", nullptr);
}
