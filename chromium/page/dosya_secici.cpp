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

std::wstring kabul_desenleri(const std::string& kabul)
{
    static const struct {
        const char* tur;
        const char* desenler;
    } TURLER[] = {
        {"image/*", "*.png;*.jpg;*.jpeg;*.gif;*.webp;*.bmp;*.svg;*.ico;*.avif"},
        {"audio/*", "*.mp3;*.wav;*.ogg;*.oga;*.opus;*.flac;*.m4a;*.aac;*.weba"},
        {"video/*", "*.mp4;*.webm;*.ogv;*.mov;*.mkv;*.avi"},
        {"text/*", "*.txt;*.html;*.htm;*.css;*.csv;*.js"},
        {"image/png", "*.png"},
        {"image/jpeg", "*.jpg;*.jpeg"},
        {"image/gif", "*.gif"},
        {"image/webp", "*.webp"},
        {"image/svg+xml", "*.svg"},
        {"text/plain", "*.txt"},
        {"text/html", "*.html;*.htm"},
        {"text/csv", "*.csv"},
        {"application/pdf", "*.pdf"},
        {"application/json", "*.json"},
        {"application/zip", "*.zip"},
    };
    std::string desenler;
    auto ekle = [&desenler](const std::string& desen) {
        if (!desenler.empty())
            desenler += ';';
        desenler += desen;
    };
    size_t bas = 0;
    while (bas <= kabul.size()) {
        size_t son = kabul.find(',', bas);
        if (son == std::string::npos)
            son = kabul.size();
        std::string parca = kabul.substr(bas, son - bas);
        bas = son + 1;
        size_t ilk = parca.find_first_not_of(" \t"), sonuncu = parca.find_last_not_of(" \t");
        if (ilk == std::string::npos)
            continue;
        parca = parca.substr(ilk, sonuncu - ilk + 1);
        for (char& c : parca)
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        // An extension: letters, digits and a few signs, nothing a pattern would misread.
        if (parca.size() > 1 && parca[0] == '.' && parca.find_first_of("*?;\"|<>/\\ ") == std::string::npos) {
            ekle("*" + parca);
            continue;
        }
        for (const auto& satir : TURLER)
            if (parca == satir.tur)
                ekle(satir.desenler);
    }
    return utf8_den(desenler.substr(0, 4096));
}

DosyaSecici::DosyaSecici(Giden& giden, DosyaDinleyicisi& dinleyici) : giden_(giden), dinleyici_(dinleyici) {}

int DosyaSecici::kur(const Giden::Yanit& yanit)
{
    giden_.gonder(SetInterceptFileChooserDialog{true}, yanit);
    return 1;
}

void DosyaSecici::acildi(const FileChooserOpened& olay)
{
    if (olay.backendNodeId <= 0 || soruluyor_)
        return;
    soruluyor_ = true;
    int64_t girdi = olay.backendNodeId;
    bool coklu = olay.mode == "selectMultiple";
    // The kinds of file the input accepts; asked anyway when they cannot be read.
    giden_.gonder(DescribeNode{girdi}, [this, girdi, coklu](const Json& sonuc, const Json* hata) {
        DescribeNodeYaniti yanit;
        std::string kabul;
        if (!hata && oku(sonuc, &yanit))
            for (size_t i = 0; i + 1 < yanit.node.attributes.size(); i += 2)
                if (yanit.node.attributes[i] == "accept")
                    kabul = yanit.node.attributes[i + 1];
        sor(girdi, coklu, kabul_desenleri(kabul));
    });
}

void DosyaSecici::sor(int64_t girdi, bool coklu, const std::wstring& desenler)
{
    dinleyici_.dosya_sor(coklu, desenler, [this, girdi](const std::vector<std::wstring>& dosyalar) {
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
}
