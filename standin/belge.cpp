// Addresses and documents. The engine has no network: "about:" gives an empty page,
// "file:" reads the local file, "data:" decodes its own content, "view-source:" shows
// the text of one of those as it came, and network schemes end in an error document,
// except the bad-certificate servers (sertifika_hatasi), whose page loads once the
// host let their certificate pass. HTML is reduced to what the page window draws: the
// title, the body's text in runs, line breaks at block elements, and links. The
// reduction is one forward pass that never looks back, so malformed or huge input
// costs linear time and cannot make it fail.
#include "motor_ic.h"
#include "sertifika_argumanlari.h"

#include <cwctype>

// Body text kept for drawing; a longer document is cut there.
static const size_t EN_COK_METIN = 1000000;
// Bytes read from a local file; the rest of a bigger file is not shown.
static const DWORD EN_COK_DOSYA = 16u * 1024 * 1024;

static const wchar_t* const AG_SEMALARI[] = {L"http", L"https", L"ftp", L"ws", L"wss"};

// Elements that start a new line of text.
static const wchar_t* const BLOK_OGELERI[] = {
    L"p", L"div", L"br", L"h1", L"h2", L"h3", L"h4", L"h5", L"h6", L"li", L"ul", L"ol",
    L"tr", L"table", L"pre", L"blockquote", L"section", L"article", L"header", L"footer",
    L"nav", L"hr", L"dl", L"dt", L"dd", L"form", L"main", L"aside", L"body", L"figure",
};

// Elements whose content is not text of the page.
static const wchar_t* const HAM_OGELER[] = {L"script", L"style", L"title", L"textarea"};

// ---------------------------------------------------------------------------
// Text helpers.

std::wstring utf8_den(const char* bayt, size_t uzunluk)
{
    if (!bayt || uzunluk == 0 || uzunluk > 0x7fffffff)
        return std::wstring();
    int gereken = MultiByteToWideChar(CP_UTF8, 0, bayt, static_cast<int>(uzunluk), nullptr, 0);
    if (gereken <= 0)
        return std::wstring();
    std::wstring sonuc(static_cast<size_t>(gereken), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bayt, static_cast<int>(uzunluk), &sonuc[0], gereken);
    return sonuc;
}

std::string utf8_e(const std::wstring& metin)
{
    if (metin.empty() || metin.size() > 0x7fffffff)
        return std::string();
    int boy = static_cast<int>(metin.size());
    int gereken = WideCharToMultiByte(CP_UTF8, 0, metin.data(), boy, nullptr, 0, nullptr, nullptr);
    if (gereken <= 0)
        return std::string();
    std::string sonuc(static_cast<size_t>(gereken), '\0');
    WideCharToMultiByte(CP_UTF8, 0, metin.data(), boy, &sonuc[0], gereken, nullptr, nullptr);
    return sonuc;
}

LPWSTR gorev_kopyasi(const std::wstring& metin)
{
    size_t bayt = (metin.size() + 1) * sizeof(wchar_t);
    auto kopya = static_cast<LPWSTR>(CoTaskMemAlloc(bayt));
    if (kopya)
        memcpy(kopya, metin.c_str(), bayt);
    return kopya;
}

static bool bosluk_mu(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\f' || c == 0xA0;
}

std::wstring bosluklari_daralt(const std::wstring& metin)
{
    std::wstring sonuc;
    bool bosluk_bekliyor = false;
    for (wchar_t c : metin) {
        if (bosluk_mu(c)) {
            bosluk_bekliyor = true;
            continue;
        }
        if (bosluk_bekliyor && !sonuc.empty())
            sonuc += L' ';
        bosluk_bekliyor = false;
        sonuc += c;
    }
    return sonuc;
}

static std::wstring kucuk_harf(std::wstring metin)
{
    for (wchar_t& c : metin)
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    return metin;
}

static bool basi_mi(const std::wstring& metin, size_t konum, const wchar_t* onek)
{
    for (size_t i = 0; onek[i]; ++i) {
        if (konum + i >= metin.size())
            return false;
        wchar_t c = metin[konum + i];
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != onek[i])
            return false;
    }
    return true;
}

// Replaces &amp; &lt; &gt; &quot; &apos; &nbsp; and numeric references; anything
// else that starts with '&' stays as written.
static std::wstring varliklari_coz(const std::wstring& metin)
{
    static const struct { const wchar_t* ad; wchar_t karakter; } VARLIKLAR[] = {
        {L"&amp;", L'&'}, {L"&lt;", L'<'}, {L"&gt;", L'>'}, {L"&quot;", L'"'},
        {L"&apos;", L'\''}, {L"&nbsp;", L' '},
    };
    std::wstring sonuc;
    sonuc.reserve(metin.size());
    for (size_t i = 0; i < metin.size(); ++i) {
        if (metin[i] != L'&') {
            sonuc += metin[i];
            continue;
        }
        bool cozuldu = false;
        for (const auto& varlik : VARLIKLAR) {
            if (basi_mi(metin, i, varlik.ad)) {
                sonuc += varlik.karakter;
                i += wcslen(varlik.ad) - 1;
                cozuldu = true;
                break;
            }
        }
        if (!cozuldu && i + 2 < metin.size() && metin[i + 1] == L'#') {
            bool onaltilik = metin[i + 2] == L'x' || metin[i + 2] == L'X';
            size_t j = i + (onaltilik ? 3 : 2);
            unsigned long deger = 0;
            size_t basamak = 0;
            while (j < metin.size() && basamak < 8 &&
                   (onaltilik ? iswxdigit(metin[j]) : iswdigit(metin[j]))) {
                wchar_t c = metin[j];
                unsigned rakam = c <= L'9' ? c - L'0' : (c | 0x20) - L'a' + 10;
                deger = deger * (onaltilik ? 16 : 10) + rakam;
                ++j;
                ++basamak;
            }
            if (basamak > 0 && j < metin.size() && metin[j] == L';' && deger > 0 &&
                deger <= 0x10FFFF && !(deger >= 0xD800 && deger <= 0xDFFF)) {
                if (deger >= 0x10000) {
                    deger -= 0x10000;
                    sonuc += static_cast<wchar_t>(0xD800 + (deger >> 10));
                    sonuc += static_cast<wchar_t>(0xDC00 + (deger & 0x3FF));
                } else {
                    sonuc += static_cast<wchar_t>(deger);
                }
                i = j;
                cozuldu = true;
            }
        }
        if (!cozuldu)
            sonuc += L'&';
    }
    return sonuc;
}

// Percent escapes decoded as UTF-8 bytes; other characters pass through.
static std::string yuzde_coz_bayt(const std::wstring& metin)
{
    std::string bayt;
    for (size_t i = 0; i < metin.size(); ++i) {
        if (metin[i] == L'%' && i + 2 < metin.size() && iswxdigit(metin[i + 1]) &&
            iswxdigit(metin[i + 2])) {
            auto rakam = [](wchar_t c) { return c <= L'9' ? c - L'0' : (c | 0x20) - L'a' + 10; };
            bayt += static_cast<char>(rakam(metin[i + 1]) * 16 + rakam(metin[i + 2]));
            i += 2;
        } else {
            bayt += utf8_e(std::wstring(1, metin[i]));
        }
    }
    return bayt;
}

static std::wstring yuzde_coz(const std::wstring& metin)
{
    std::string bayt = yuzde_coz_bayt(metin);
    return utf8_den(bayt.data(), bayt.size());
}

static std::string base64_coz(const std::string& metin)
{
    std::string sonuc;
    unsigned birikim = 0;
    int bit = 0;
    for (char c : metin) {
        int deger;
        if (c >= 'A' && c <= 'Z') deger = c - 'A';
        else if (c >= 'a' && c <= 'z') deger = c - 'a' + 26;
        else if (c >= '0' && c <= '9') deger = c - '0' + 52;
        else if (c == '+' || c == '-') deger = 62;
        else if (c == '/' || c == '_') deger = 63;
        else continue;   // padding, white space and stray characters
        birikim = (birikim << 6) | static_cast<unsigned>(deger);
        bit += 6;
        if (bit >= 8) {
            bit -= 8;
            sonuc += static_cast<char>((birikim >> bit) & 0xFF);
        }
    }
    return sonuc;
}

// A file's or a data address's bytes as text: UTF-16 with its byte order mark, or UTF-8.
static std::wstring baytlari_metne(const std::string& bayt)
{
    if (bayt.size() >= 2 && static_cast<unsigned char>(bayt[0]) == 0xFF &&
        static_cast<unsigned char>(bayt[1]) == 0xFE)
        return std::wstring(reinterpret_cast<const wchar_t*>(bayt.data() + 2), (bayt.size() - 2) / 2);
    size_t bas = bayt.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    return utf8_den(bayt.data() + bas, bayt.size() - bas);
}

// ---------------------------------------------------------------------------
// Addresses.

// The scheme in lower case, or "" when the text does not start with one. A single
// letter is taken for a drive ("C:\...") rather than a scheme.
static std::wstring sema(const std::wstring& adres)
{
    size_t i = 0;
    while (i < adres.size() && (iswalnum(adres[i]) || adres[i] == L'+' || adres[i] == L'-' ||
                                adres[i] == L'.') && adres[i] < 0x80)
        ++i;
    if (i < 2 || i >= adres.size() || adres[i] != L':' || !iswalpha(adres[0]))
        return std::wstring();
    return kucuk_harf(adres.substr(0, i));
}

static bool ag_semasi_mi(const std::wstring& ad)
{
    for (const wchar_t* s : AG_SEMALARI)
        if (ad == s)
            return true;
    return false;
}

// Where the authority ("//host") of an address ends; npos without one.
static size_t yetki_sonu(const std::wstring& adres)
{
    size_t iki_nokta = adres.find(L':');
    if (iki_nokta == std::wstring::npos || adres.compare(iki_nokta + 1, 2, L"//") != 0)
        return std::wstring::npos;
    size_t son = adres.find_first_of(L"/?#", iki_nokta + 3);
    return son == std::wstring::npos ? adres.size() : son;
}

bool mutlak_adres_mi(const std::wstring& adres)
{
    std::wstring ad = sema(adres);
    if (ad.empty())
        return false;
    for (wchar_t c : adres)
        if (c < 0x20 || c == 0x7F)
            return false;
    if (ag_semasi_mi(ad)) {
        size_t son = yetki_sonu(adres);
        if (son == std::wstring::npos)
            return false;
        size_t bas = ad.size() + 3;
        if (son <= bas)
            return false;
        for (size_t i = bas; i < son; ++i)
            if (adres[i] == L' ')
                return false;
    }
    return true;
}

static Belge hata_belgesi(const std::wstring& adres, const wchar_t* baslik, const wchar_t* neden,
                          const wchar_t* kod)
{
    std::wstring metin = std::wstring(baslik) + L"\n\n" + adres + L"\n" + neden + L"\n\n" + kod;
    Belge belge = duz_metin_belgesi(metin);
    return belge;
}

// `kaynak`: the text is shown as it came (a source view), whatever its type.
static Yukleme veri_adresini_yukle(const std::wstring& adres, bool kaynak = false)
{
    Yukleme yukleme;
    size_t virgul = adres.find(L',');
    if (virgul == std::wstring::npos) {
        yukleme.basarili = FALSE;
        yukleme.belge = hata_belgesi(adres, L"Bu adres açılamıyor", L"Veri adresinde virgül yok.",
                                     L"INVALID_URL");
        return yukleme;
    }
    std::wstring ust = kucuk_harf(adres.substr(5, virgul - 5));
    bool base64 = ust.size() >= 7 && ust.compare(ust.size() - 7, 7, L";base64") == 0;
    std::wstring tur = ust.substr(0, ust.find(L';'));
    std::string bayt = yuzde_coz_bayt(adres.substr(virgul + 1));
    if (base64)
        bayt = base64_coz(bayt);
    std::wstring metin = baytlari_metne(bayt);
    yukleme.belge = tur == L"text/html" && !kaynak ? html_coz(metin) : duz_metin_belgesi(metin);
    return yukleme;
}

static bool html_dosyasi_mi(const std::wstring& yol, const std::wstring& metin)
{
    std::wstring kucuk = kucuk_harf(yol);
    for (const wchar_t* uzanti : {L".html", L".htm", L".xhtml", L".shtml"}) {
        size_t boy = wcslen(uzanti);
        if (kucuk.size() >= boy && kucuk.compare(kucuk.size() - boy, boy, uzanti) == 0)
            return true;
    }
    size_t bas = 0;
    while (bas < metin.size() && bosluk_mu(metin[bas]))
        ++bas;
    return basi_mi(metin, bas, L"<!doctype html") || basi_mi(metin, bas, L"<html");
}

static Yukleme dosya_adresini_yukle(const std::wstring& adres, bool kaynak = false)
{
    Yukleme yukleme;
    // file:///C:/dir/page.html is the path C:\dir\page.html; file://host/share/x is
    // the network path \\host\share\x.
    std::wstring yol = adres.substr(5);
    yol = yol.substr(0, yol.find_first_of(L"?#"));
    if (yol.compare(0, 3, L"///") == 0)
        yol = yol.substr(3);
    else if (yol.compare(0, 2, L"//") == 0)
        yol = L"\\\\" + yol.substr(2);
    yol = yuzde_coz(yol);
    for (wchar_t& c : yol)
        if (c == L'/')
            c = L'\\';

    HANDLE dosya = CreateFileW(yol.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (yol.empty() || dosya == INVALID_HANDLE_VALUE) {
        yukleme.basarili = FALSE;
        yukleme.belge = hata_belgesi(adres, L"Bu dosyaya erişilemiyor",
                                     L"Dosya taşınmış, silinmiş ya da okunamıyor olabilir.",
                                     L"FILE_NOT_FOUND");
        return yukleme;
    }
    std::string bayt;
    char tampon[65536];
    DWORD okunan = 0;
    while (bayt.size() < EN_COK_DOSYA && ReadFile(dosya, tampon, sizeof tampon, &okunan, nullptr) &&
           okunan > 0)
        bayt.append(tampon, okunan);
    CloseHandle(dosya);
    std::wstring metin = baytlari_metne(bayt);
    yukleme.belge = html_dosyasi_mi(yol, metin) && !kaynak ? html_coz(metin) : duz_metin_belgesi(metin);
    return yukleme;
}

// view-source:<address>: the page's text as plain text, titled with the whole
// address. A network address fails as it does alone; the source of a source, or of
// something that is no address, is refused.
static Yukleme kaynak_adresini_yukle(const std::wstring& adres)
{
    static const size_t ONEK = wcslen(L"view-source:");
    std::wstring ic = adres.substr(ONEK);
    std::wstring ad = sema(ic);
    Yukleme yukleme;
    if (ad == L"about")
        return yukleme;
    if (ad.empty() || ad == L"view-source" || !mutlak_adres_mi(ic)) {
        yukleme.basarili = FALSE;
        yukleme.belge = hata_belgesi(adres, L"Bu adres açılamıyor",
                                     L"Kaynağı gösterilecek adres geçersiz.", L"INVALID_URL");
        return yukleme;
    }
    if (ad == L"file")
        yukleme = dosya_adresini_yukle(ic, true);
    else if (ad == L"data")
        yukleme = veri_adresini_yukle(ic, true);
    else
        return adresi_yukle(ic);
    if (yukleme.basarili)
        yukleme.belge.baslik = adres;
    return yukleme;
}

COREWEBVIEW2_WEB_ERROR_STATUS sertifika_hatasi(const std::wstring& adres)
{
    static const struct { const wchar_t* on_ek; COREWEBVIEW2_WEB_ERROR_STATUS durum; } TURLER[] = {
        {L"suresi-gecmis.", COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_EXPIRED},
        {L"ad-uyusmuyor.", COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_COMMON_NAME_IS_INCORRECT},
        {L"iptal.", COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_REVOKED},
    };
    static const std::wstring SONEK = L"kotu-sertifika.test";
    if (sema(adres) != L"https")
        return COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;
    std::wstring host = sertifika_hostu(adres);
    host = host.substr(0, host.find(L':'));
    bool bizim = host == SONEK || (host.size() > SONEK.size() &&
                                   host.compare(host.size() - SONEK.size(), SONEK.size(), SONEK) == 0 &&
                                   host[host.size() - SONEK.size() - 1] == L'.');
    if (!bizim)
        return COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;
    for (const auto& tur : TURLER)
        if (host.compare(0, wcslen(tur.on_ek), tur.on_ek) == 0)
            return tur.durum;
    return COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_IS_INVALID;
}

Belge sertifika_uyarisi_belgesi(const std::wstring& adres)
{
    return hata_belgesi(adres, L"Bağlantınız gizli değil", L"Sunucunun sertifikası doğrulanamadı.",
                        L"CERT_INVALID");
}

Yukleme adresi_yukle(const std::wstring& adres)
{
    if (sertifika_hatasi(adres) != COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN) {
        // Reached only once the certificate was let pass: the server's page.
        Yukleme gecti;
        gecti.belge = duz_metin_belgesi(L"Sertifikası doğrulanamayan sunucu\n\n" + adres);
        gecti.belge.baslik = L"Sertifikası doğrulanamayan sunucu";
        return gecti;
    }
    std::wstring ad = sema(adres);
    Yukleme yukleme;
    if (ad == L"about")
        return yukleme;
    if (ad == L"data")
        return veri_adresini_yukle(adres);
    if (ad == L"file")
        return dosya_adresini_yukle(adres);
    if (ad == L"view-source")
        return kaynak_adresini_yukle(adres);
    yukleme.basarili = FALSE;
    if (ag_semasi_mi(ad)) {
        yukleme.durum = COREWEBVIEW2_WEB_ERROR_STATUS_HOST_NAME_NOT_RESOLVED;
        yukleme.belge = hata_belgesi(adres, L"Bu siteye ulaşılamıyor",
                                     L"Sunucunun adı çözümlenemedi: bu web motoru ağa bağlanmaz.",
                                     L"HOST_NAME_NOT_RESOLVED");
    } else if (kucuk_harf(adres) == L"edge://kill-engine") {
        // Ends the whole engine: every view's page goes.
        yukleme.motor_coktu = true;
    } else if (kucuk_harf(adres) == L"edge://kill") {
        // As in the real engine, this address ends the page's process.
        yukleme.surec_coktu = true;
        yukleme.belge = hata_belgesi(adres, L"Sayfa çöktü", L"Sayfanın süreci sonlandı.",
                                     L"RENDER_PROCESS_EXITED");
    } else {
        yukleme.belge = hata_belgesi(adres, L"Bu adres açılamıyor",
                                     L"Bu web motoru bu türden adresleri açamaz.", L"UNKNOWN_SCHEME");
    }
    return yukleme;
}

std::wstring baglantiyi_coz(const std::wstring& taban, const std::wstring& href_ham)
{
    std::wstring href = bosluklari_daralt(href_ham);
    if (href.empty() || href[0] == L'#')
        return std::wstring();
    if (!sema(href).empty())
        return mutlak_adres_mi(href) ? href : std::wstring();
    size_t yetki = yetki_sonu(taban);
    if (yetki == std::wstring::npos)
        return std::wstring();
    std::wstring sonuc;
    if (href.compare(0, 2, L"//") == 0) {
        sonuc = taban.substr(0, taban.find(L':') + 1) + href;
    } else if (href[0] == L'/') {
        sonuc = taban.substr(0, yetki) + href;
    } else {
        std::wstring yol = taban.substr(0, taban.find_first_of(L"?#", yetki));
        if (href[0] == L'?') {
            sonuc = yol + href;
        } else {
            size_t egik = yol.rfind(L'/');
            sonuc = (egik == std::wstring::npos || egik < yetki ? yol + L"/" : yol.substr(0, egik + 1)) + href;
        }
    }
    return mutlak_adres_mi(sonuc) ? sonuc : std::wstring();
}

// ---------------------------------------------------------------------------
// Documents.

// Builds the runs of a document, collapsing white space as a browser does.
struct BelgeYazici {
    Belge belge;
    size_t uzunluk = 0;
    bool bosluk_bekliyor = false;

    void metin_ekle(const std::wstring& metin, int baglanti)
    {
        for (wchar_t c : metin) {
            if (uzunluk >= EN_COK_METIN)
                return;
            if (bosluk_mu(c)) {
                bosluk_bekliyor = true;
                continue;
            }
            auto& parcalar = belge.parcalar;
            bool satir_basi = parcalar.empty() || parcalar.back().satir_sonu;
            if (satir_basi || parcalar.back().baglanti != baglanti)
                parcalar.push_back(Parca{std::wstring(), baglanti, false});
            if (bosluk_bekliyor && !satir_basi) {
                parcalar.back().metin += L' ';
                belge.duz_metin += L' ';
            }
            bosluk_bekliyor = false;
            parcalar.back().metin += c;
            belge.duz_metin += c;
            ++uzunluk;
        }
    }

    void satir_kir()
    {
        bosluk_bekliyor = false;
        if (belge.parcalar.empty() || belge.parcalar.back().satir_sonu)
            return;
        belge.parcalar.push_back(Parca{std::wstring(), -1, true});
        belge.duz_metin += L'\n';
    }
};

Belge duz_metin_belgesi(const std::wstring& metin)
{
    BelgeYazici yazici;
    size_t bas = 0;
    while (bas < metin.size() && yazici.uzunluk < EN_COK_METIN) {
        size_t son = metin.find(L'\n', bas);
        if (son == std::wstring::npos)
            son = metin.size();
        yazici.metin_ekle(metin.substr(bas, son - bas), -1);
        // Every line of a text ends its own line, empty ones included.
        yazici.belge.parcalar.push_back(Parca{std::wstring(), -1, true});
        yazici.belge.duz_metin += L'\n';
        yazici.bosluk_bekliyor = false;
        bas = son + 1;
    }
    return std::move(yazici.belge);
}

static bool listede_mi(const std::wstring& ad, const wchar_t* const* liste, size_t sayi)
{
    for (size_t i = 0; i < sayi; ++i)
        if (ad == liste[i])
            return true;
    return false;
}

// The value of one attribute in a tag's attribute text, or false when absent.
static bool ozellik_bul(const std::wstring& ozellikler, const wchar_t* aranan, std::wstring* deger)
{
    size_t i = 0, n = ozellikler.size();
    while (i < n) {
        while (i < n && (bosluk_mu(ozellikler[i]) || ozellikler[i] == L'/'))
            ++i;
        size_t ad_basi = i;
        while (i < n && !bosluk_mu(ozellikler[i]) && ozellikler[i] != L'=' && ozellikler[i] != L'/')
            ++i;
        std::wstring ad = kucuk_harf(ozellikler.substr(ad_basi, i - ad_basi));
        while (i < n && bosluk_mu(ozellikler[i]))
            ++i;
        std::wstring bulunan;
        if (i < n && ozellikler[i] == L'=') {
            ++i;
            while (i < n && bosluk_mu(ozellikler[i]))
                ++i;
            if (i < n && (ozellikler[i] == L'"' || ozellikler[i] == L'\'')) {
                wchar_t tirnak = ozellikler[i++];
                size_t son = ozellikler.find(tirnak, i);
                if (son == std::wstring::npos)
                    son = n;
                bulunan = ozellikler.substr(i, son - i);
                i = son + 1;
            } else {
                size_t bas = i;
                while (i < n && !bosluk_mu(ozellikler[i]))
                    ++i;
                bulunan = ozellikler.substr(bas, i - bas);
            }
        }
        if (!ad.empty() && ad == aranan) {
            *deger = varliklari_coz(bulunan);
            return true;
        }
        if (ad.empty() && i == ad_basi)
            ++i;   // a stray character: step over it
    }
    return false;
}

// Where a tag that starts at `bas` ends ('>' outside quotes); npos if never.
static size_t etiket_sonu(const std::wstring& html, size_t bas)
{
    wchar_t tirnak = 0;
    for (size_t i = bas; i < html.size(); ++i) {
        wchar_t c = html[i];
        if (tirnak) {
            if (c == tirnak)
                tirnak = 0;
        } else if (c == L'"' || c == L'\'') {
            tirnak = c;
        } else if (c == L'>') {
            return i;
        }
    }
    return std::wstring::npos;
}

// Finds "</name" from `bas`, case-insensitively; npos if never.
static size_t kapanis_bul(const std::wstring& html, size_t bas, const std::wstring& ad)
{
    std::wstring aranan = L"</" + ad;
    for (size_t i = html.find(L"</", bas); i != std::wstring::npos; i = html.find(L"</", i + 2))
        if (basi_mi(html, i, aranan.c_str()))
            return i;
    return std::wstring::npos;
}

Belge html_coz(const std::wstring& html)
{
    BelgeYazici yazici;
    bool baslik_bulundu = false;
    int baglanti = -1;
    std::wstring metin;
    size_t i = 0, n = html.size();
    auto metni_bosalt = [&] {
        yazici.metin_ekle(varliklari_coz(metin), baglanti);
        metin.clear();
    };
    while (i < n) {
        if (html[i] != L'<') {
            metin += html[i++];
            continue;
        }
        if (basi_mi(html, i, L"<!--")) {
            size_t son = html.find(L"-->", i + 4);
            i = son == std::wstring::npos ? n : son + 3;
            continue;
        }
        size_t j = i + 1;
        bool kapanis = j < n && html[j] == L'/';
        if (kapanis)
            ++j;
        bool bildirim = j < n && (html[j] == L'!' || html[j] == L'?');
        size_t ad_basi = j;
        while (j < n && html[j] < 0x80 && iswalnum(html[j]))
            ++j;
        if (!bildirim && j == ad_basi) {
            metin += html[i++];    // a lone '<' is text
            continue;
        }
        size_t son = etiket_sonu(html, j);
        if (son == std::wstring::npos)
            break;                 // an unfinished tag ends the document
        metni_bosalt();
        std::wstring ad = kucuk_harf(html.substr(ad_basi, j - ad_basi));
        i = son + 1;
        if (bildirim)
            continue;
        if (!kapanis && listede_mi(ad, HAM_OGELER, sizeof HAM_OGELER / sizeof *HAM_OGELER)) {
            size_t kapanis_yeri = kapanis_bul(html, i, ad);
            size_t icerik_sonu = kapanis_yeri == std::wstring::npos ? n : kapanis_yeri;
            if (ad == L"title" && !baslik_bulundu) {
                yazici.belge.baslik = bosluklari_daralt(varliklari_coz(html.substr(i, icerik_sonu - i)));
                baslik_bulundu = true;
            }
            size_t kapanis_sonu = kapanis_yeri == std::wstring::npos ? n : etiket_sonu(html, kapanis_yeri);
            i = kapanis_sonu == std::wstring::npos ? n : kapanis_sonu + 1;
            continue;
        }
        if (ad == L"a") {
            std::wstring href;
            if (kapanis)
                baglanti = -1;
            else if (ozellik_bul(html.substr(j, son - j), L"href", &href)) {
                yazici.belge.baglantilar.push_back(href);
                baglanti = static_cast<int>(yazici.belge.baglantilar.size() - 1);
            }
            continue;
        }
        // An <audio> or <video> that plays by itself: the page plays sound once loaded.
        if (!kapanis && (ad == L"audio" || ad == L"video")) {
            std::wstring deger;
            if (ozellik_bul(html.substr(j, son - j), L"autoplay", &deger))
                yazici.belge.ses_caliyor = true;
        }
        if (listede_mi(ad, BLOK_OGELERI, sizeof BLOK_OGELERI / sizeof *BLOK_OGELERI))
            yazici.satir_kir();
    }
    metni_bosalt();
    return std::move(yazici.belge);
}
