// A page's file inputs (see dosya_secici.h).
#include "dosya_secici.h"
#include "motor_ic.h"

using namespace protokol;

std::string motorun_dosya_yolu(const std::wstring& yol)
{
    using UnixAdiIslevi = char*(CDECL*)(LPCWSTR);
    static UnixAdiIslevi unix_adi = reinterpret_cast<UnixAdiIslevi>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!unix_adi)
        return utf8_e(yol);   // the engine runs on this system itself
    char* unix_yolu = unix_adi(yol.c_str());
    if (!unix_yolu)
        return std::string();
    std::string sonuc = unix_yolu;
    HeapFree(GetProcessHeap(), 0, unix_yolu);
    return sonuc;
}

DosyaSecici::DosyaSecici(Giden& giden, DosyaDinleyicisi& dinleyici) : giden_(giden), dinleyici_(dinleyici) {}

int DosyaSecici::kur(const Giden::Yanit& yanit)
{
    giden_.gonder(SetInterceptFileChooserDialog{true}, yanit);
    return 1;
}

bool DosyaSecici::olay(const std::string& yontem, const Json& p)
{
    if (yontem != FileChooserOpened::YONTEM)
        return false;
    FileChooserOpened olay;
    if (!oku(p, &olay) || olay.backendNodeId <= 0 || soruluyor_)
        return true;
    soruluyor_ = true;
    int64_t girdi = olay.backendNodeId;
    dinleyici_.dosya_sor(olay.mode == "selectMultiple", [this, girdi](const std::vector<std::wstring>& dosyalar) {
        soruluyor_ = false;
        SetFileInputFiles komut;
        komut.backendNodeId = girdi;
        for (const auto& dosya : dosyalar) {
            std::string yol = motorun_dosya_yolu(dosya);
            if (!yol.empty())
                komut.files.push_back(std::move(yol));
        }
        if (!komut.files.empty())
            giden_.gonder(komut, [](const Json&, const Json*) {});
    });
    return true;
}
