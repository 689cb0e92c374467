// The stand-in's PrintToPdf: a one-page PDF holding the page's title as its text,
// written whole under a temporary name and moved into place (engine_shared/yerine_yazma.h).
// It is small but valid: a catalog, one page, one standard font, one content
// stream, and a cross-reference table whose offsets are the objects' own.
#include "motor_ic.h"
#include "yerine_yazma.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The title as a PDF string's contents in the standard font's encoding: ASCII
// kept (the delimiters escaped), anything else a question mark; 200 characters at
// most, which fit one line of the page.
std::string pdf_metni(const std::wstring& baslik)
{
    std::string sonuc;
    for (wchar_t h : baslik.substr(0, 200)) {
        if (h == L'(' || h == L')' || h == L'\\')
            sonuc += '\\';
        sonuc += (h >= 0x20 && h < 0x7F) ? static_cast<char>(h) : '?';
    }
    return sonuc;
}

std::string pdf_belgesi(const std::wstring& baslik)
{
    const std::string icerik = "BT /F1 12 Tf 72 770 Td (" + pdf_metni(baslik) + ") Tj ET\n";
    const std::vector<std::string> nesneler = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F1 4 0 R >> >> "
        "/Contents 5 0 R >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
        "<< /Length " + std::to_string(icerik.size()) + " >>\nstream\n" + icerik + "endstream",
    };
    std::string belge = "%PDF-1.4\n";
    std::vector<size_t> yerler;
    for (size_t i = 0; i < nesneler.size(); ++i) {
        yerler.push_back(belge.size());
        belge += std::to_string(i + 1) + " 0 obj\n" + nesneler[i] + "\nendobj\n";
    }
    const size_t tablo = belge.size();
    belge += "xref\n0 " + std::to_string(nesneler.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t yer : yerler) {
        char satir[24];
        snprintf(satir, sizeof satir, "%010zu 00000 n \n", yer);
        belge += satir;
    }
    belge += "trailer\n<< /Size " + std::to_string(nesneler.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
             std::to_string(tablo) + "\n%%EOF\n";
    return belge;
}

}  // namespace

DWORD standin_pdf_yaz(const std::wstring& yol, const std::wstring& baslik)
{
    try {
        const std::string belge = pdf_belgesi(baslik);
        YerineYazma dosya;
        DWORD hata = dosya.ac(yol);
        if (hata == 0)
            hata = dosya.yaz(belge.data(), belge.size());
        return hata == 0 ? dosya.bitir() : hata;
    } catch (...) {
        return ERROR_OUTOFMEMORY;
    }
}
