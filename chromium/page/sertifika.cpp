// A page's server certificates that the engine cannot verify (see sertifika.h).
#include "sertifika.h"
#include "motor_ic.h"
#include "sertifika_argumanlari.h"

using namespace protokol;

COREWEBVIEW2_WEB_ERROR_STATUS sertifika_durumu(const std::string& hata_turu)
{
    std::string ad = hata_turu.compare(0, 5, "net::") == 0 ? hata_turu : "net::" + hata_turu;
    COREWEBVIEW2_WEB_ERROR_STATUS durum = hata_durumu(ad);
    bool sertifika_durumu = durum >= COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_COMMON_NAME_IS_INCORRECT &&
                            durum <= COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_IS_INVALID;
    return sertifika_durumu ? durum : COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_IS_INVALID;
}

Sertifikalar::Sertifikalar(Giden& giden, SertifikaDinleyicisi& dinleyici) : giden_(giden), dinleyici_(dinleyici) {}

// An engine that refuses the override still makes a working page: it fails such
// requests itself and shows its own warning page, so its refusal is no failure.
int Sertifikalar::kur(const Giden::Yanit& yanit)
{
    Giden::Yanit hatasiz = [yanit](const Json& sonuc, const Json*) { yanit(sonuc, nullptr); };
    giden_.gonder(SecurityEnable{}, hatasiz);
    giden_.gonder(SetOverrideCertificateErrors{true}, hatasiz);
    return 2;
}

void Sertifikalar::hata_geldi(const CertificateError& olay)
{
    if (olay.eventId < 0)
        return;   // nothing to answer: the engine fails the request in the end
    std::wstring adres = hostun_adresi(olay.requestURL);
    if (sertifikasi_izinli_mi(adres)) {
        yanitla(olay.eventId, true);
        return;
    }
    COREWEBVIEW2_WEB_ERROR_STATUS durum = sertifika_durumu(olay.errorType);
    std::weak_ptr<bool> canli = canli_;
    int64_t kimlik = olay.eventId;
    dinleyici_.sertifika_sor(durum, adres,
                             [this, canli, kimlik, adres, durum](COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION eylem) {
                                 bool izin = eylem == COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_ALWAYS_ALLOW;
                                 if (izin)
                                     sertifikaya_izin_ver(adres);
                                 if (canli.expired())
                                     return;
                                 if (!izin)
                                     dinleyici_.sertifika_reddedildi(durum);
                                 yanitla(kimlik, izin);
                             });
}

void Sertifikalar::yanitla(int64_t olay, bool devam)
{
    giden_.gonder(HandleCertificateError{olay, devam ? "continue" : "cancel"}, [](const Json&, const Json*) {});
}
