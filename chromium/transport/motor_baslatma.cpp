// Starting the engine and waiting for its first answer (see motor_baslatma.h; the
// shell line and its secrets are komut_satiri.cpp's, the gate baslangic_kapisi.cpp's).
#include <winsock2.h>
#include <ws2tcpip.h>

#include "motor_baslatma.h"

#include "baglanti_ic.h"
#include "baslangic_kapisi.h"
#include "json_tarama.h"
#include "komut_satiri.h"

namespace {

// How long one send may wait for the engine to take the bytes.
constexpr DWORD GONDERME_SINIRI_MS = 10000;

// Sends one command on a fresh channel and waits within `sinir` for its answer: the
// engine has started when its protocol answers. S_OK, ERROR_TIMEOUT, or E_FAIL when
// the channel ended first (the engine, or its shell, gave up).
HRESULT ilk_yaniti_bekle(MotorKanali& kanal, const Sinir& sinir)
{
    if (!kanal.gonder(R"({"id":0,"method":"Browser.getVersion"})"))
        return E_FAIL;
    std::string ileti;
    for (;;) {
        const DWORD kalan = sinir.kalan();
        if (kalan == 0)
            return HRESULT_FROM_WIN32(ERROR_TIMEOUT);
        switch (kanal.ileti_oku(&ileti, kalan)) {
        case MotorKanali::Okuma::Ileti:
            break;
        case MotorKanali::Okuma::ZamanAsimi:
            return HRESULT_FROM_WIN32(ERROR_TIMEOUT);
        default:
            return E_FAIL;
        }
        // Nothing else is expected before it: no domain has been enabled yet.
        std::string_view anahtar, deger;
        JsonNesneGezgini gezgin(ileti);
        int64_t id = -1;
        while (id < 0 && gezgin.sonraki(&anahtar, &deger))
            if (json_anahtar_mi(anahtar, "id") && !json_tamsayi(deger, &id))
                break;
        if (id == 0)
            return S_OK;
    }
}

}  // namespace

HRESULT motoru_baslat(const MotorAyari& ayar, std::unique_ptr<MotorKanali>* cikti)
{
    const Sinir sinir(MOTOR_BASLAMA_SURESI_MS);
    const std::string ikili = motor_ikilisi(ayar);
    if (!unix_dosyasi_var(ikili))
        return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);

    // The profile: a folder of our own inside the host's, made and locked by the shell.
    const std::wstring profil = motor_profil_klasoru(ayar.kullanici_klasoru);
    if (profil.empty() || !klasor_olustur(profil.substr(0, profil.rfind(L'\\'))))
        return E_FAIL;
    const std::string profil_unix = motor_icin_yol(profil);
    const std::string kabuk = "/bin/bash";
    const std::wstring oturumcu_windows = motor_yolundan("/usr/bin/setsid");
    if (profil_unix.empty() || oturumcu_windows.empty())
        return E_FAIL;

    int dinleme_portu = 0;
    SoketSahibi dinleyen(kapi_dinleyicisi_ac(&dinleme_portu));
    std::string jeton;
    if (dinleyen.soket == INVALID_SOCKET || !jeton_uret(&jeton))
        return E_FAIL;
    if (ayar.dinliyor)
        ayar.dinliyor(dinleme_portu);

    // The shell runs in a session of its own: a signal to this process's group (a
    // Ctrl+C in the terminal, a time-out that kills the group) must not end the shell
    // before this process, or nothing would be left to end the engine. The port and
    // the token go in its environment, which only this user can read, not on its
    // command line, which every user can.
    std::wstring komut = motor_komutu(oturumcu_windows, kabuk, profil_unix, ikili);
    std::wstring ortam = ortam_blogu({{L"KORVA_BAGLANTI_PORTU", std::to_string(dinleme_portu)},
                                      {L"KORVA_BAGLANTI_JETONU", jeton}});

    STARTUPINFOW baslangic = {};
    baslangic.cb = sizeof(baslangic);
    PROCESS_INFORMATION bilgi = {};
    if (!CreateProcessW(nullptr, komut.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT, ortam.data(),
                        nullptr, &baslangic, &bilgi))
        return E_FAIL;
    // Under Wine a Unix program starts with no process handle: its lifetime is held by
    // the socket below, not by anything CreateProcessW returns. Wine then leaves the
    // rest of the answer as it found it, so the thread handle is closed only beside a
    // real process handle: closing a stale value would close whichever handle of this
    // process has that number now (the listener, once).
    if (bilgi.hProcess != nullptr) {
        CloseHandle(bilgi.hProcess);
        if (bilgi.hThread != nullptr)
            CloseHandle(bilgi.hThread);
    }

    SoketSahibi soket(kabugu_kabul_et(dinleyen.soket, dinleme_portu, jeton, GetTickCount64() + sinir.kalan()));
    if (soket.soket == INVALID_SOCKET)
        return HRESULT_FROM_WIN32(ERROR_TIMEOUT);
    closesocket(dinleyen.birak());

    // Commands are small and wait for their answers: no Nagle delay on them. A send
    // that the engine does not take within the bound cuts the connection instead of
    // holding the UI thread.
    BOOL gecikmesiz = TRUE;
    setsockopt(soket.soket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&gecikmesiz),
               sizeof(gecikmesiz));
    DWORD gonderme = GONDERME_SINIRI_MS;
    setsockopt(soket.soket, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&gonderme), sizeof(gonderme));
    auto kanal = std::make_unique<MotorKanali>(soket.birak());
    const HRESULT sonuc = ilk_yaniti_bekle(*kanal, sinir);
    if (FAILED(sonuc))
        return sonuc;  // the channel closes with `kanal`, and the shell ends the engine
    *cikti = std::move(kanal);
    return S_OK;
}
