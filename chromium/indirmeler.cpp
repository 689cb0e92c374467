// Downloads over the engine's browser-level events (see indirmeler.h).
//
// One download's way:
//   Browser.downloadWillBegin  -> the operation is made with a proposed path in the
//                                 user's Downloads folder; the view's DownloadStarting
//                                 decides (at once, or when its deferral completes)
//   Browser.downloadProgress   -> inProgress: bytes; completed: the file is moved
//                                 from its guid to the decided path, then the
//                                 operation completes; canceled: it is interrupted
// The host's Cancel asks the engine (Browser.cancelDownload) and the operation ends
// when the engine says it has; a file already complete is deleted instead.
#include "indirmeler.h"

#include "gorunum.h"
#include "indirme_nesneleri.h"

#include <cctype>
#include <map>
#include <thread>

using namespace protokol;

namespace {

struct Indirme {
    ComPtr<IndirmeIslemi> islem;
    bool karar_verildi = false;
    bool motor_bitirdi = false;   // the whole file is under its guid
    bool tasiniyor = false;       // ... and on its way to its final name
    ULONGLONG basi = 0;           // when the engine said it began (GetTickCount64)
    std::wstring yol;             // the final path decided
};

std::map<std::string, Indirme> g_indirmeler;   // by guid
std::wstring g_klasor;                         // the engine's folder inside the private profile
// Frames the pages navigated, by frame id: the target whose page holds them. Bounded:
// forgotten all at once when full (a download from a forgotten frame then finds no
// view and is saved without being reported).
std::map<std::string, std::string> g_cerceveler;
constexpr size_t CERCEVE_SINIRI = 4096;

// The engine names each download by a GUID (8-4-4-4-12 hex digits), and the file
// it writes takes that name in the engine's folder. An id of any other form could
// name a path elsewhere ("..\x"), so such a download is not taken on at all.
bool guid_mu(const std::string& kimlik)
{
    static const char BICIM[] = "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx";
    if (kimlik.size() != sizeof(BICIM) - 1)
        return false;
    for (size_t i = 0; i < kimlik.size(); ++i)
        if (BICIM[i] == '-' ? kimlik[i] != '-' : !isxdigit(static_cast<unsigned char>(kimlik[i])))
            return false;
    return true;
}

Indirme* bul(const std::string& guid)
{
    auto bulunan = g_indirmeler.find(guid);
    return bulunan == g_indirmeler.end() ? nullptr : &bulunan->second;
}

std::wstring gecici_yol(const std::string& guid)
{
    return g_klasor + L"\\" + utf8_den(guid);
}

void bitir(const std::string& guid, COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON neden)
{
    auto bulunan = g_indirmeler.find(guid);
    if (bulunan == g_indirmeler.end())
        return;
    ComPtr<IndirmeIslemi> islem = bulunan->second.islem;
    g_indirmeler.erase(bulunan);
    DeleteFileW(gecici_yol(guid).c_str());
    if (islem)
        islem->kesildi(neden);
}

Gorunum* cercevenin_gorunumu(const std::string& cerceve)
{
    if (Gorunum* gorunum = hedefin_gorunumu(cerceve))
        return gorunum;
    auto bulunan = g_cerceveler.find(cerceve);
    return bulunan == g_cerceveler.end() ? nullptr : hedefin_gorunumu(bulunan->second);
}

// The whole file goes to its final name on a worker thread; the operation hears
// the outcome on the UI thread.
void tasindi(const std::string& guid, COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON neden, const std::wstring& son_yol)
{
    Indirme* indirme = bul(guid);
    if (!indirme)
        return;
    if (neden != COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_NONE) {
        bitir(guid, neden);
        return;
    }
    ComPtr<IndirmeIslemi> islem = indirme->islem;
    g_indirmeler.erase(guid);
    if (islem->iptal_istendi()) {
        // Canceled while it was being moved: the file goes too.
        DeleteFileW(son_yol.c_str());
        islem->kesildi(COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_USER_CANCELED);
        return;
    }
    islem->tamamlandi(son_yol);
}

void tasi(const std::string& guid)
{
    Indirme* indirme = bul(guid);
    if (!indirme || indirme->tasiniyor)
        return;
    indirme->tasiniyor = true;
    std::wstring gecici = gecici_yol(guid), yol = indirme->yol;
    try {
        std::thread([guid, gecici, yol] {
            std::wstring son_yol = yol;
            COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON neden =
                yol.empty() ? COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_FILE_FAILED : dosyayi_yerine_tasi(gecici, son_yol);
            Baglanti::ui_da_calistir([guid, neden, son_yol] { tasindi(guid, neden, son_yol); });
        }).detach();
    } catch (const std::exception&) {
        indirme->tasiniyor = false;
        bitir(guid, COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_FILE_FAILED);
    }
}

void motora_iptal_gonder(const std::string& guid)
{
    if (std::shared_ptr<Baglanti> baglanti = motor_baglantisi())
        baglanti->gonder(CancelDownload::YONTEM, Json(CancelDownload{guid}), std::string(), [](const Json&, const Json*) {});
}

// The host's Cancel. A download the engine still writes ends when the engine says
// it has; one it finished is deleted now (or once its move is done).
void iptal_et(const std::string& guid)
{
    Indirme* indirme = bul(guid);
    if (!indirme || indirme->tasiniyor)
        return;
    if (!indirme->motor_bitirdi) {
        motora_iptal_gonder(guid);
        return;
    }
    Baglanti::ui_da_calistir([guid] { bitir(guid, COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_USER_CANCELED); });
}

void karar_ver(const std::string& guid, bool iptal, const std::wstring& yol)
{
    Indirme* indirme = bul(guid);
    if (!indirme)
        return;
    indirme->karar_verildi = true;
    indirme->yol = yol;
    indirme->islem->yol_koy(yol);
    if (iptal) {
        if (!indirme->motor_bitirdi)
            motora_iptal_gonder(guid);
        bitir(guid, COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_USER_CANCELED);
        return;
    }
    if (indirme->islem->iptal_istendi())
        iptal_et(guid);
    else if (indirme->motor_bitirdi)
        tasi(guid);
}

void indirme_basliyor(const DownloadWillBegin& olay)
{
    if (!guid_mu(olay.guid) || bul(olay.guid))
        return;
    const std::string guid = olay.guid;
    ComPtr<IndirmeIslemi> islem = indirme_islemi_olustur(utf8_den(olay.url), std::wstring(),
                                                         utf8_den(olay.suggestedFilename));
    if (!islem) {
        motora_iptal_gonder(guid);
        return;
    }
    g_indirmeler[guid].islem = islem;
    g_indirmeler[guid].basi = GetTickCount64();
    islem->iptal_islevi_koy([guid] { iptal_et(guid); });

    Gorunum* gorunum = cercevenin_gorunumu(olay.frameId);
    auto arguman = sahiplen(new (std::nothrow) IndirmeBaslamaArgumani(
        islem, [guid](bool iptal, const std::wstring& yol) { karar_ver(guid, iptal, yol); },
        [](std::function<void()> is) { return Baglanti::ui_da_calistir(std::move(is)); }));
    if (!arguman) {
        karar_ver(guid, true, islem->yol());
        return;
    }
    if (gorunum && !gorunum->kapali_mi()) {
        // Nothing of the view is touched unless it is open; its handlers may close it.
        ComPtr<Gorunum> koru(gorunum);
        gorunum->indirme_baslangicini_yay(arguman.Get());
    }
    arguman->isleyiciler_bitti();
}

void indirme_ilerledi(const DownloadProgress& olay)
{
    Indirme* indirme = bul(olay.guid);
    if (!indirme || indirme->motor_bitirdi)
        return;
    const int64_t alinan = static_cast<int64_t>(olay.receivedBytes);
    const int64_t toplam = olay.totalBytes > 0 ? static_cast<int64_t>(olay.totalBytes) : -1;
    if (olay.state == "canceled") {
        // The protocol gives no reason. Canceled by the host, it is the user's; a
        // download that ended before its first byte had no file to give (the
        // engine's own reason for an error status such as 404), else the transfer broke.
        COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON neden =
            indirme->islem->iptal_istendi() ? COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_USER_CANCELED
            : alinan == 0                   ? COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_SERVER_BAD_CONTENT
                                            : COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_NETWORK_FAILED;
        bitir(olay.guid, neden);
        return;
    }
    ComPtr<IndirmeIslemi> islem = indirme->islem;
    islem->ilerledi(alinan, toplam);
    if (olay.state != "completed")
        return;
    indirme = bul(olay.guid);   // a handler may have canceled it
    if (!indirme)
        return;
    indirme->motor_bitirdi = true;
    if (islem->iptal_istendi())
        bitir(olay.guid, COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_USER_CANCELED);
    else if (indirme->karar_verildi)
        tasi(olay.guid);
}

}  // namespace

const std::wstring& indirme_klasorunu_kur(const std::wstring& profil)
{
    g_cerceveler.clear();
    g_klasor = profil.empty() ? std::wstring() : profil + L"\\indirmeler";
    if (!g_klasor.empty())
        CreateDirectoryW(g_klasor.c_str(), nullptr);
    return g_klasor;
}

void indirmeleri_bagla(Baglanti& baglanti, const std::wstring& profil)
{
    if (indirme_klasorunu_kur(profil).empty())
        return;   // no private folder: the engine's default (it asks nobody and saves nothing)
    SetDownloadBehavior davranis;
    davranis.downloadPath = motor_icin_yol(g_klasor);
    if (davranis.downloadPath.empty())
        return;
    gunluge_yaz(std::string(), std::string("-> ") + SetDownloadBehavior::YONTEM, Json(davranis));
    baglanti.gonder(SetDownloadBehavior::YONTEM, Json(davranis));
}

bool indirme_olayi(Gorunum* gorunum, const std::string& yontem, const Json& p)
{
    if (gorunum) {
        FrameNavigated olay;
        if (yontem == FrameNavigated::YONTEM && oku(p, &olay) && !olay.frame.parentId.empty()) {
            if (g_cerceveler.size() >= CERCEVE_SINIRI)
                g_cerceveler.clear();
            g_cerceveler[olay.frame.id] = gorunum->hedef();
        }
        return false;
    }
    if (yontem == DownloadWillBegin::YONTEM) {
        DownloadWillBegin olay;
        if (oku(p, &olay))
            indirme_basliyor(olay);
        return true;
    }
    if (yontem == DownloadProgress::YONTEM) {
        DownloadProgress olay;
        if (oku(p, &olay))
            indirme_ilerledi(olay);
        return true;
    }
    return false;
}

bool yeni_indirme_suruyor(ULONGLONG sure_ms)
{
    const ULONGLONG simdi = GetTickCount64();
    for (const auto& cift : g_indirmeler)
        if (!cift.second.motor_bitirdi && simdi - cift.second.basi < sure_ms)
            return true;
    return false;
}

void indirmeler_motor_bitti()
{
    std::vector<std::string> suren;
    for (auto& cift : g_indirmeler)
        if (!cift.second.tasiniyor)
            suren.push_back(cift.first);
    for (const std::string& guid : suren)
        bitir(guid, COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_DOWNLOAD_PROCESS_CRASHED);
    g_cerceveler.clear();
}
