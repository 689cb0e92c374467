// The protocol log (see protokol_gunlugu.h).
#include "protokol_gunlugu.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>

#include "ozel_erisim.h"
#include "protokol.h"

using Json = nlohmann::json;

namespace {

// The log file, appended to; made for the user alone when it is new (an existing
// one keeps its mode). Null without KORVA_CHROMIUM_LOG or when it cannot be opened.
FILE* gunlugu_ac()
{
    wchar_t yol[MAX_PATH];
    const DWORD boy = GetEnvironmentVariableW(L"KORVA_CHROMIUM_LOG", yol, MAX_PATH);
    if (boy == 0 || boy >= MAX_PATH)
        return nullptr;
    OzelErisim ozel(OzelErisim::DOSYA);
    HANDLE dosya = CreateFileW(yol, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, ozel.nitelikler(),
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (dosya == INVALID_HANDLE_VALUE)
        return nullptr;
    const int tanitici = _open_osfhandle(reinterpret_cast<intptr_t>(dosya), _O_APPEND | _O_BINARY);
    if (tanitici < 0) {
        CloseHandle(dosya);
        return nullptr;
    }
    FILE* gunluk = _fdopen(tanitici, "ab");
    if (!gunluk)
        _close(tanitici);
    return gunluk;
}

// What the user types is theirs (passwords among it): a key event is logged with
// what identifies the key or its text replaced, so the log shows that a key went,
// not which.
Json gunluk_icin(const std::string& yontem, const Json& p)
{
    static const char* const TUS_ALANLARI[] = {"text", "unmodifiedText", "key", "code", "keyIdentifier",
                                               "windowsVirtualKeyCode", "nativeVirtualKeyCode"};
    auto biter = [&yontem](const char* ad) {
        const size_t boy = strlen(ad);
        return yontem.size() >= boy && yontem.compare(yontem.size() - boy, boy, ad) == 0;
    };
    const bool tus = biter(protokol::DispatchKeyEvent::YONTEM);
    if ((!tus && !biter("Input.insertText")) || !p.is_object())
        return p;
    Json gizli = p;
    for (const char* alan : TUS_ALANLARI)
        if (gizli.contains(alan) && (tus || std::strcmp(alan, "text") == 0))
            gizli[alan] = "<gizli>";
    return gizli;
}

}  // namespace

static FILE* gunluk()
{
    static FILE* acik = gunlugu_ac();
    return acik;
}

bool gunluk_acik()
{
    return gunluk() != nullptr;
}

void gunluge_yaz(const std::string& oturum, const std::string& yontem, const Json& p)
{
    FILE* gunluk = ::gunluk();
    if (!gunluk)
        return;
    std::string metin = gunluk_icin(yontem, p).dump();
    if (metin.size() > 600)
        metin.resize(600);
    fprintf(gunluk, "%lu %s %s %s\n", GetTickCount(), oturum.substr(0, 8).c_str(), yontem.c_str(), metin.c_str());
    fflush(gunluk);
}
