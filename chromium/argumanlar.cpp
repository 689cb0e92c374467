// The text helpers every file uses, and the engine's load errors as the interface's
// statuses. (The event arguments are engine_shared/olay_argumanlari.h.)
#include "motor_ic.h"

#include <new>

std::wstring utf8_den(const std::string& metin)
{
    if (metin.empty())
        return std::wstring();
    int boy = MultiByteToWideChar(CP_UTF8, 0, metin.data(), static_cast<int>(metin.size()), nullptr, 0);
    std::wstring sonuc(boy > 0 ? boy : 0, L'\0');
    if (boy > 0)
        MultiByteToWideChar(CP_UTF8, 0, metin.data(), static_cast<int>(metin.size()), &sonuc[0], boy);
    return sonuc;
}

std::string utf8_e(const std::wstring& metin)
{
    if (metin.empty())
        return std::string();
    int boy = WideCharToMultiByte(CP_UTF8, 0, metin.data(), static_cast<int>(metin.size()), nullptr, 0,
                                  nullptr, nullptr);
    std::string sonuc(boy > 0 ? boy : 0, '\0');
    if (boy > 0)
        WideCharToMultiByte(CP_UTF8, 0, metin.data(), static_cast<int>(metin.size()), &sonuc[0], boy, nullptr,
                            nullptr);
    return sonuc;
}

LPWSTR gorev_kopyasi(const std::wstring& metin)
{
    auto* kopya = static_cast<LPWSTR>(CoTaskMemAlloc((metin.size() + 1) * sizeof(wchar_t)));
    if (kopya) {
        memcpy(kopya, metin.c_str(), (metin.size() + 1) * sizeof(wchar_t));
    }
    return kopya;
}

COREWEBVIEW2_WEB_ERROR_STATUS hata_durumu(const std::string& hata_metni)
{
    static const struct { const char* metin; COREWEBVIEW2_WEB_ERROR_STATUS durum; } TABLO[] = {
        {"net::ERR_NAME_NOT_RESOLVED", COREWEBVIEW2_WEB_ERROR_STATUS_HOST_NAME_NOT_RESOLVED},
        {"net::ERR_NAME_RESOLUTION_FAILED", COREWEBVIEW2_WEB_ERROR_STATUS_HOST_NAME_NOT_RESOLVED},
        {"net::ERR_CONNECTION_REFUSED", COREWEBVIEW2_WEB_ERROR_STATUS_CANNOT_CONNECT},
        {"net::ERR_ADDRESS_UNREACHABLE", COREWEBVIEW2_WEB_ERROR_STATUS_SERVER_UNREACHABLE},
        {"net::ERR_CONNECTION_TIMED_OUT", COREWEBVIEW2_WEB_ERROR_STATUS_TIMEOUT},
        {"net::ERR_TIMED_OUT", COREWEBVIEW2_WEB_ERROR_STATUS_TIMEOUT},
        {"net::ERR_CONNECTION_RESET", COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_RESET},
        {"net::ERR_CONNECTION_ABORTED", COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_ABORTED},
        {"net::ERR_CONNECTION_CLOSED", COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_ABORTED},
        {"net::ERR_INTERNET_DISCONNECTED", COREWEBVIEW2_WEB_ERROR_STATUS_DISCONNECTED},
        {"net::ERR_EMPTY_RESPONSE", COREWEBVIEW2_WEB_ERROR_STATUS_ERROR_HTTP_INVALID_SERVER_RESPONSE},
        {"net::ERR_INVALID_HTTP_RESPONSE", COREWEBVIEW2_WEB_ERROR_STATUS_ERROR_HTTP_INVALID_SERVER_RESPONSE},
        {"net::ERR_TOO_MANY_REDIRECTS", COREWEBVIEW2_WEB_ERROR_STATUS_REDIRECT_FAILED},
        {"net::ERR_ABORTED", COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED},
        {"net::ERR_CERT_COMMON_NAME_INVALID", COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_COMMON_NAME_IS_INCORRECT},
        {"net::ERR_CERT_DATE_INVALID", COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_EXPIRED},
        {"net::ERR_CERT_AUTHORITY_INVALID", COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_IS_INVALID},
        {"net::ERR_CERT_INVALID", COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_IS_INVALID},
        {"net::ERR_CERT_REVOKED", COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_REVOKED},
    };
    for (const auto& satir : TABLO)
        if (hata_metni == satir.metin)
            return satir.durum;
    return COREWEBVIEW2_WEB_ERROR_STATUS_UNEXPECTED_ERROR;
}
