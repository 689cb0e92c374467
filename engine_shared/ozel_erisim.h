// Folders and files that only their user may open, made so from their first moment
// (header-only, like the rest of engine_shared/; Korva's profile and the Chromium engine's
// protocol log use it).
//
// A new file or folder gets a security descriptor whose list grants the current
// user and names nobody else. On Windows the entries the parent folder passes on
// are added to it as usual (the list is not protected), so a profile inside the
// user's own application data stays as Windows keeps it there. Under Wine the list
// becomes the new entry's Unix mode: nothing for other users; Wine gives the user's
// rights to the user's group as well, so the group keeps what the umask leaves it
// (the launching scripts use 077). An entry that exists already keeps its mode: a
// list set on it later would open it to the group under Wine.
#pragma once

#include <windows.h>

#include <sddl.h>

#include <string>

class OzelErisim {
public:
    enum Tur { DOSYA, KLASOR };

    explicit OzelErisim(Tur tur)
    {
        HANDLE jeton = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &jeton))
            return;
        BYTE tampon[SECURITY_MAX_SID_SIZE + sizeof(TOKEN_USER)];
        DWORD boy = 0;
        wchar_t* kimlik = nullptr;
        if (GetTokenInformation(jeton, TokenUser, tampon, sizeof(tampon), &boy) &&
            ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(tampon)->User.Sid, &kimlik)) {
            // A folder: everything, passed on to what is made inside. A file: read,
            // write and delete (it is written, then renamed into place), no execute.
            const std::wstring liste = tur == KLASOR ? std::wstring(L"D:(A;OICI;FA;;;") + kimlik + L")"
                                                     : std::wstring(L"D:(A;;FRFWSD;;;") + kimlik + L")";
            if (ConvertStringSecurityDescriptorToSecurityDescriptorW(liste.c_str(), SDDL_REVISION_1, &tanim_, nullptr))
                nitelikler_.lpSecurityDescriptor = tanim_;
            LocalFree(kimlik);
        }
        CloseHandle(jeton);
    }
    ~OzelErisim() { LocalFree(tanim_); }
    OzelErisim(const OzelErisim&) = delete;
    OzelErisim& operator=(const OzelErisim&) = delete;

    // For CreateFileW, CreateDirectoryW and SHCreateDirectoryExW; null when the
    // descriptor could not be made, and the entry is then made as by default.
    SECURITY_ATTRIBUTES* nitelikler() { return tanim_ ? &nitelikler_ : nullptr; }

private:
    PSECURITY_DESCRIPTOR tanim_ = nullptr;
    SECURITY_ATTRIBUTES nitelikler_ = {sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
};
