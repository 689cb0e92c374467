// Writing a whole file under a name the user chose, shared by both engine libraries
// (header-only, like the rest of engine_shared/): the bytes go to "<name>.yaziliyor-<pid>"
// beside it, and only a complete file is moved over the final name (replacing what
// the user agreed to replace in the save dialog). A failure removes the temporary
// file, so nothing partial is ever left under either name.
#pragma once

#include <windows.h>

#include <string>

// A full path: a drive and a separator (C:\...) or a network path (\\server\...).
inline bool tam_yol_mu(const wchar_t* yol)
{
    if (!yol || !yol[0])
        return false;
    const bool ayirac_1 = yol[1] == L'\\' || yol[1] == L'/';
    const bool surucu = ((yol[0] >= L'A' && yol[0] <= L'Z') || (yol[0] >= L'a' && yol[0] <= L'z')) && yol[1] == L':' &&
                        (yol[2] == L'\\' || yol[2] == L'/');
    return surucu || ((yol[0] == L'\\' || yol[0] == L'/') && ayirac_1 && yol[2]);
}

// The temporary name beside `yol` for this process.
inline std::wstring yazilan_gecici_ad(const std::wstring& yol)
{
    return yol + L".yaziliyor-" + std::to_wstring(GetCurrentProcessId());
}

// One file being written: opened at its temporary name, written in pieces, and
// either moved into place (bitir) or removed (birak; also at destruction).
class YerineYazma {
public:
    YerineYazma() = default;
    YerineYazma(const YerineYazma&) = delete;
    YerineYazma& operator=(const YerineYazma&) = delete;
    ~YerineYazma() { birak(); }

    // 0, or the system's error (a folder that does not exist or cannot be written).
    DWORD ac(const std::wstring& yol)
    {
        birak();
        if (yol.empty())
            return ERROR_INVALID_NAME;
        yol_ = yol;
        gecici_ = yazilan_gecici_ad(yol);
        dosya_ = CreateFileW(gecici_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
        return dosya_ == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    }

    // 0, or the error (ERROR_DISK_FULL...); a short write counts as a full disk.
    DWORD yaz(const void* bayt, size_t boy)
    {
        const char* p = static_cast<const char*>(bayt);
        while (boy > 0) {
            DWORD parca = boy > (1u << 30) ? (1u << 30) : static_cast<DWORD>(boy);
            DWORD yazilan = 0;
            if (dosya_ == INVALID_HANDLE_VALUE || !WriteFile(dosya_, p, parca, &yazilan, nullptr))
                return dosya_ == INVALID_HANDLE_VALUE ? ERROR_INVALID_HANDLE : GetLastError();
            if (yazilan == 0)
                return ERROR_DISK_FULL;
            p += yazilan;
            boy -= yazilan;
        }
        return 0;
    }

    // Flushes and closes the file and gives it its final name: 0, or the error (the
    // temporary file is then gone).
    DWORD bitir()
    {
        if (dosya_ == INVALID_HANDLE_VALUE)
            return ERROR_INVALID_HANDLE;
        DWORD hata = FlushFileBuffers(dosya_) ? 0 : GetLastError();
        CloseHandle(dosya_);
        dosya_ = INVALID_HANDLE_VALUE;
        if (hata == 0 && !MoveFileExW(gecici_.c_str(), yol_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            hata = GetLastError();
        if (hata != 0)
            DeleteFileW(gecici_.c_str());
        gecici_.clear();
        return hata;
    }

    // Drops an unfinished file.
    void birak()
    {
        if (dosya_ != INVALID_HANDLE_VALUE) {
            CloseHandle(dosya_);
            dosya_ = INVALID_HANDLE_VALUE;
            DeleteFileW(gecici_.c_str());
        }
        gecici_.clear();
    }

    bool acik_mi() const { return dosya_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE dosya_ = INVALID_HANDLE_VALUE;
    std::wstring yol_, gecici_;
};

// The HRESULT a PrintToPdf handler gets for a system error (S_OK for 0).
inline HRESULT yazma_sonucu(DWORD hata)
{
    return hata == 0 ? S_OK : HRESULT_FROM_WIN32(hata);
}
