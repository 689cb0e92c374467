// Text crossing to the platform: UTF-8 (Korva's texts) to UTF-16 (Windows') and back.
#include <windows.h>

#include <string>

#include "tarayici_ic.h"

namespace korva {

std::wstring genis(const std::string& metin) {
    if (metin.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, metin.data(), static_cast<int>(metin.size()), nullptr, 0);
    std::wstring sonuc(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, metin.data(), static_cast<int>(metin.size()), sonuc.data(), n);
    return sonuc;
}

std::string utf8(const std::wstring& metin) {
    if (metin.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, metin.data(), static_cast<int>(metin.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string sonuc(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) {
        WideCharToMultiByte(CP_UTF8, 0, metin.data(), static_cast<int>(metin.size()), sonuc.data(), n, nullptr,
                            nullptr);
    }
    return sonuc;
}

}  // namespace korva
