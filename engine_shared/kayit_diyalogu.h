// The save dialog both the browser and the engine library over Chromium show before
// writing a page to a file (header-only, like the rest of engine_shared/): the system's
// GetSaveFileNameW, proposing "<Downloads>\<title><extension>" with the title made
// safe as a downloaded file's name is (indirme_yolu.h), and asking before it
// replaces a file that is there. comdlg32 is loaded by the first dialog
// (gec_yuklenen.h).
#pragma once

#include "indirme_yolu.h"


#include <algorithm>

#include <string>
#include <vector>

// The name proposed for a page of title `baslik` (empty: "sayfa"), with `uzanti`
// (".pdf", ".mhtml").
inline std::wstring kayit_adi_oner(const std::wstring& baslik, const std::wstring& uzanti)
{
    std::wstring govde = baslik.empty() ? std::wstring(L"sayfa") : baslik;
    // The title may hold dots and slashes of its own: the extension is added after
    // the title is made a name, so that it is never cut or taken as a folder.
    std::wstring ad = guvenli_dosya_adi(govde + uzanti);
    if (ad.size() < uzanti.size() || ad.compare(ad.size() - uzanti.size(), uzanti.size(), uzanti) != 0)
        ad = L"sayfa" + uzanti;
    return ad;
}

// Shows the dialog owned by `sahip`; true with the chosen full path in `yol`, false
// when the user canceled (or the dialog could not be shown). `tur_adi` names the
// kind of file in the dialog's list ("PDF belgesi"); `pencere_basligi` is the
// dialog's title (null: the system's own).
inline bool kayit_yolu_sor(HWND sahip, const std::wstring& baslik, const std::wstring& uzanti,
                           const std::wstring& tur_adi, std::wstring* yol,
                           const wchar_t* pencere_basligi = nullptr)
{
    const std::wstring klasor = indirme_klasoru();
    const std::wstring onerilen = kayit_adi_oner(baslik, uzanti);
    std::vector<wchar_t> tampon(32768, L'\0');
    onerilen.copy(tampon.data(), std::min(onerilen.size(), tampon.size() - 1));
    // "<kind> (*.ext)\0*.ext\0\0"
    std::wstring suzgec = tur_adi + L" (*" + uzanti + L")" + L'\0' + L"*" + uzanti + L'\0' + L'\0';
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = sahip;
    ofn.lpstrFilter = suzgec.c_str();
    ofn.lpstrTitle = pencere_basligi;
    ofn.lpstrFile = tampon.data();
    ofn.nMaxFile = static_cast<DWORD>(tampon.size());
    ofn.lpstrInitialDir = klasor.empty() ? nullptr : klasor.c_str();
    ofn.lpstrDefExt = uzanti.c_str() + (uzanti.empty() ? 0 : 1);
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER | OFN_HIDEREADONLY;
    if (!kayit_dosyasi_sor(&ofn))
        return false;
    *yol = tampon.data();
    return !yol->empty();
}
