// Running this test program again as a child process: its own path, the
// environment block a child gets, starting it, and waiting for it with a bound.
// Several test programs need a fresh process for what is read once per process
// (the engine's controls, the runtime's state, the browser's start-up); what they
// do around the child (markers, logs, reports, captured output) stays with them.
#pragma once

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace korva_test {

// The path of the running program.
inline std::wstring kendi_yolu() {
    std::wstring yol(MAX_PATH, L'\0');
    for (;;) {
        const DWORD uzunluk = GetModuleFileNameW(nullptr, yol.data(), static_cast<DWORD>(yol.size()));
        if (uzunluk < yol.size()) {
            yol.resize(uzunluk);
            return yol;
        }
        yol.resize(yol.size() * 2);
    }
}

// How a child's environment differs from this process's: a value sets the
// variable, no value removes it.
using OrtamDegisiklikleri = std::vector<std::pair<std::wstring, std::optional<std::wstring>>>;

// This process's environment with `degisiklikler` applied, as the block
// CreateProcessW takes (with CREATE_UNICODE_ENVIRONMENT).
inline std::wstring ortam_blogu(const OrtamDegisiklikleri& degisiklikler) {
    // The per-drive folders are kept as entries whose names start with '='.
    auto ad = [](const std::wstring& girdi) { return girdi.substr(0, girdi.find(L'=', 1)); };
    auto ayni_ad = [](const std::wstring& a, const std::wstring& b) {
        return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                    TRUE) == CSTR_EQUAL;
    };

    std::vector<std::wstring> girdiler;
    wchar_t* mevcut = GetEnvironmentStringsW();
    for (const wchar_t* satir = mevcut; *satir != L'\0'; satir += wcslen(satir) + 1) girdiler.emplace_back(satir);
    FreeEnvironmentStringsW(mevcut);

    for (const auto& [degisen, deger] : degisiklikler) {
        girdiler.erase(std::remove_if(girdiler.begin(), girdiler.end(),
                                      [&](const std::wstring& girdi) { return ayni_ad(ad(girdi), degisen); }),
                       girdiler.end());
        if (deger) girdiler.push_back(degisen + L"=" + *deger);
    }

    // Windows looks names up in a block sorted by name with case ignored, which is
    // the order of upper-case letters: "A_B" comes after "AB".
    std::stable_sort(girdiler.begin(), girdiler.end(), [&](const std::wstring& a, const std::wstring& b) {
        const std::wstring ad_a = ad(a), ad_b = ad(b);
        return CompareStringOrdinal(ad_a.c_str(), static_cast<int>(ad_a.size()), ad_b.c_str(),
                                    static_cast<int>(ad_b.size()), TRUE) == CSTR_LESS_THAN;
    });

    std::wstring blok;
    for (const std::wstring& girdi : girdiler) {
        blok += girdi;
        blok.push_back(L'\0');
    }
    // An empty block is still two zeros.
    if (girdiler.empty()) blok.push_back(L'\0');
    blok.push_back(L'\0');
    return blok;
}

// Standard handles given to a child instead of this process's own. They must be
// inheritable; the caller keeps and closes them.
struct StandartTutamaclar {
    HANDLE girdi;
    HANDLE cikti;
    HANDLE hata;
};

// A started child: owns its process handle and closes it. Ending the owner does
// not end the child; bekle() does, when the child outlives the bound.
class CocukSurec {
public:
    CocukSurec() = default;
    explicit CocukSurec(DWORD baslatma_hatasi) : hata_(baslatma_hatasi) {}
    explicit CocukSurec(HANDLE surec) : surec_(surec) {}
    ~CocukSurec() { kapat(); }
    CocukSurec(CocukSurec&& diger) noexcept
        : surec_(std::exchange(diger.surec_, nullptr)), hata_(diger.hata_) {}
    CocukSurec& operator=(CocukSurec&& diger) noexcept {
        if (this != &diger) {
            kapat();
            surec_ = std::exchange(diger.surec_, nullptr);
            hata_ = diger.hata_;
        }
        return *this;
    }
    CocukSurec(const CocukSurec&) = delete;
    CocukSurec& operator=(const CocukSurec&) = delete;

    // True from a successful start until bekle().
    bool basladi() const { return surec_ != nullptr; }
    // Why CreateProcessW refused (its GetLastError), when it did.
    DWORD baslatma_hatasi() const { return hata_; }

    // Waits at most `sinir_ms` (INFINITE: no bound). A child still running then is
    // ended with exit code 99, so that a hung child does not outlive the run.
    // True when it finished by itself; `kod`, when given, receives the exit code
    // (and is left alone when there is no child). Closes the handle.
    bool bekle(DWORD sinir_ms, DWORD* kod = nullptr) {
        if (surec_ == nullptr) return false;
        const bool kendiliginden = WaitForSingleObject(surec_, sinir_ms) == WAIT_OBJECT_0;
        if (!kendiliginden) {
            TerminateProcess(surec_, 99);
            WaitForSingleObject(surec_, 10000);
        }
        DWORD cikis = 0;
        if (kod != nullptr && GetExitCodeProcess(surec_, &cikis)) *kod = cikis;
        kapat();
        return kendiliginden;
    }

private:
    void kapat() {
        if (surec_ != nullptr) CloseHandle(surec_);
        surec_ = nullptr;
    }

    HANDLE surec_ = nullptr;
    DWORD hata_ = 0;
};

// Starts `program` with `argumanlar` after its quoted path. Empty `ortam`: the
// child gets this process's environment as it is; empty `klasor`: this process's
// working folder; no `tutamaclar`: the child inherits no handles at all.
inline CocukSurec cocuk_baslat(const std::wstring& program, const std::wstring& argumanlar,
                               const OrtamDegisiklikleri& ortam = {}, const std::wstring& klasor = {},
                               const StandartTutamaclar* tutamaclar = nullptr) {
    std::wstring komut = L"\"" + program + L"\" " + argumanlar;
    std::wstring blok;
    if (!ortam.empty()) blok = ortam_blogu(ortam);

    STARTUPINFOW baslangic = {};
    baslangic.cb = sizeof(baslangic);
    if (tutamaclar != nullptr) {
        baslangic.dwFlags = STARTF_USESTDHANDLES;
        baslangic.hStdInput = tutamaclar->girdi;
        baslangic.hStdOutput = tutamaclar->cikti;
        baslangic.hStdError = tutamaclar->hata;
    }
    PROCESS_INFORMATION bilgi = {};
    // Wine now and then refuses a start with ERROR_INTERNAL_ERROR on a busy machine
    // (a program copied a moment before, seen once in many runs): that one is asked
    // again; every other refusal is the answer.
    for (int deneme = 1;; ++deneme) {
        if (CreateProcessW(program.c_str(), komut.data(), nullptr, nullptr, tutamaclar != nullptr ? TRUE : FALSE,
                           blok.empty() ? 0 : CREATE_UNICODE_ENVIRONMENT, blok.empty() ? nullptr : blok.data(),
                           klasor.empty() ? nullptr : klasor.c_str(), &baslangic, &bilgi))
            break;
        const DWORD hata = GetLastError();
        if (hata != ERROR_INTERNAL_ERROR || deneme == 3) return CocukSurec(hata);
        Sleep(200);
    }
    CloseHandle(bilgi.hThread);
    return CocukSurec(bilgi.hProcess);
}

}  // namespace korva_test
