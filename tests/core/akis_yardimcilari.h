// Helpers for the runtime core's tests: capture what goes to a standard stream,
// feed bytes to standard input, and re-run this test program as a child process
// on a fresh runtime state. Everything goes through temporary files, with the
// stream's descriptor pointed at the file for the duration and put back after.
#pragma once

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "ortak/cocuk_surec.h"

namespace korva_test {

inline std::wstring gecici_dosya_yolu() {
    wchar_t folder[MAX_PATH];
    wchar_t path[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, L"krv", 0, path);
    return path;
}

inline std::string dosyayi_oku(const std::wstring& path) {
    std::string content;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (file == nullptr) return content;
    char buffer[4096];
    size_t read;
    while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, read);
    std::fclose(file);
    return content;
}

inline void dosyaya_yaz(const std::wstring& path, const std::string& content) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (file == nullptr) return;
    std::fwrite(content.data(), 1, content.size(), file);
    std::fclose(file);
}

// Points a standard stream's descriptor at a file until put back. The file is
// opened in binary mode, so the bytes read back are exactly the bytes written.
class AkisYonlendirme {
public:
    AkisYonlendirme(FILE* stream, const std::wstring& path, int open_flags)
        : stream_(stream), descriptor_(_fileno(stream)) {
        std::fflush(stream_);
        std::clearerr(stream_);
        const int file = _wopen(path.c_str(), open_flags | _O_BINARY, _S_IREAD | _S_IWRITE);
        saved_ = _dup(descriptor_);
        if (file >= 0) {
            _dup2(file, descriptor_);
            _close(file);
        }
    }
    ~AkisYonlendirme() { geri_koy(); }
    AkisYonlendirme(const AkisYonlendirme&) = delete;
    AkisYonlendirme& operator=(const AkisYonlendirme&) = delete;

    void geri_koy() {
        if (restored_) return;
        restored_ = true;
        std::fflush(stream_);
        if (saved_ >= 0) {
            _dup2(saved_, descriptor_);
            _close(saved_);
        } else {
            _close(descriptor_);
        }
        std::clearerr(stream_);
    }

private:
    FILE* stream_;
    int descriptor_;
    int saved_ = -1;
    bool restored_ = false;
};

// Everything written on `stream` between construction and bitir().
class AkisYakalama {
public:
    explicit AkisYakalama(FILE* stream)
        : path_(gecici_dosya_yolu()), redirect_(stream, path_, _O_CREAT | _O_TRUNC | _O_WRONLY) {}
    ~AkisYakalama() {
        redirect_.geri_koy();
        DeleteFileW(path_.c_str());
    }

    std::string bitir() {
        redirect_.geri_koy();
        return dosyayi_oku(path_);
    }

private:
    std::wstring path_;
    AkisYonlendirme redirect_;
};

// Standard input reads `content` until destruction. Callers read to the end so
// that nothing of it stays in the stream's buffer.
class GirdiBesleme {
public:
    explicit GirdiBesleme(const std::string& content) : path_(yaz_ve_don(content)), redirect_(stdin, path_, _O_RDONLY) {}
    ~GirdiBesleme() {
        redirect_.geri_koy();
        DeleteFileW(path_.c_str());
    }

private:
    static std::wstring yaz_ve_don(const std::string& content) {
        std::wstring path = gecici_dosya_yolu();
        dosyaya_yaz(path, content);
        return path;
    }
    std::wstring path_;
    AkisYonlendirme redirect_;
};

struct CocukSonucu {
    bool started = false;
    DWORD exit_code = 0;
    std::string standard_output;
    std::string standard_error;
};

// Runs this test program again with only the named test (disabled ones included),
// standard output and standard error each going to a file of their own.
inline CocukSonucu testi_cocukta_calistir(const std::wstring& test_name) {
    CocukSonucu result;
    const std::wstring out_path = gecici_dosya_yolu();
    const std::wstring err_path = gecici_dosya_yolu();
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE out = CreateFileW(out_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    HANDLE err = CreateFileW(err_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    HANDLE in = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0,
                            nullptr);

    const StandartTutamaclar handles{in, out, err};
    CocukSurec child = cocuk_baslat(kendi_yolu(), L"--gtest_also_run_disabled_tests --gtest_filter=" + test_name,
                                    {}, {}, &handles);
    result.started = child.bekle(120000, &result.exit_code);
    for (HANDLE handle : {out, err, in})
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);

    result.standard_output = dosyayi_oku(out_path);
    result.standard_error = dosyayi_oku(err_path);
    DeleteFileW(out_path.c_str());
    DeleteFileW(err_path.c_str());
    return result;
}

}  // namespace korva_test
