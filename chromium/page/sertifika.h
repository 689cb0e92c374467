// A page's server certificates that the engine cannot verify. The engine is told to
// hold every such request (of the page's documents and of their resources alike)
// and to ask us, before it would fail it and show its own warning page. The view
// hands each question to the host as ServerCertificateErrorDetected, and the
// request waits until the host has decided (at once, or when its deferral
// completes):
//
//   a host let pass (sertifika_argumanlari.h)  -> goes on, the host is not asked
//   ALWAYS_ALLOW                                -> goes on; the host is let pass
//                                                  for the engine's run
//   CANCEL, DEFAULT                             -> refused: the request fails, a
//                                                  navigation with the certificate's
//                                                  status (the engine's own warning
//                                                  page is not shown: the page stays)
//
// Certificate errors name the network error (ERR_CERT_DATE_INVALID...); those the
// interface has no status of its own for are reported as an invalid certificate.
#pragma once

#include "giden.h"
#include "yonlendirici.h"

#include <windows.h>

#include "wv2_arayuz.h"

#include <functional>
#include <memory>
#include <string>

class SertifikaDinleyicisi {
public:
    using Karar = std::function<void(COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION)>;
    // Asks the host about `adres`'s certificate; `karar` runs once with its answer.
    virtual void sertifika_sor(COREWEBVIEW2_WEB_ERROR_STATUS durum, const std::wstring& adres, Karar karar) = 0;
    // A request was refused for its certificate: the navigation under way, if it
    // was its document, fails with `durum`.
    virtual void sertifika_reddedildi(COREWEBVIEW2_WEB_ERROR_STATUS durum) = 0;

protected:
    ~SertifikaDinleyicisi() = default;
};

class Sertifikalar {
public:
    Sertifikalar(Giden& giden, SertifikaDinleyicisi& dinleyici);

    // Sets the page target up; every answer reaches `yanit`. Returns how many.
    int kur(const Giden::Yanit& yanit);

    // ---- From the engine: a request's certificate the engine cannot verify.
    void yonlendir(Yonlendirici& yonlendirici) { yonlendirici.sahiplen(this, &Sertifikalar::hata_geldi); }

private:
    void hata_geldi(const protokol::CertificateError& olay);
    void yanitla(int64_t olay, bool devam);

    Giden& giden_;
    SertifikaDinleyicisi& dinleyici_;
    // Gone with this manager: a decision that comes later answers nothing.
    std::shared_ptr<bool> canli_ = std::make_shared<bool>(true);
};

// The status of a certificate error named as the engine names it (with or without
// "net::"); CERTIFICATE_IS_INVALID for one the interface has no status of its own for.
COREWEBVIEW2_WEB_ERROR_STATUS sertifika_durumu(const std::string& hata_turu);
