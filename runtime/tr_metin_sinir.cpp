#include "tr_metin_sinir.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

GenisMetin::GenisMetin(const char* bytes, int64_t length) {
    // The copy with its own terminating zero is what the conversion measures, so a
    // text that is not zero-terminated is never read past its length.
    const size_t used = (bytes == nullptr || length <= 0) ? 0 : static_cast<size_t>(length);
    if (used >= static_cast<size_t>(INT32_MAX)) return;
    char* copy = static_cast<char*>(std::malloc(used + 1));
    if (copy == nullptr) return;
    if (used > 0) std::memcpy(copy, bytes, used);
    copy[used] = '\0';

    const int needed = MultiByteToWideChar(CP_UTF8, 0, copy, -1, nullptr, 0);
    if (needed > 0) {
        text_ = static_cast<wchar_t*>(std::malloc(static_cast<size_t>(needed) * sizeof(wchar_t)));
        if (text_ != nullptr && MultiByteToWideChar(CP_UTF8, 0, copy, -1, text_, needed) <= 0) {
            std::free(text_);
            text_ = nullptr;
        }
        if (text_ != nullptr) length_ = needed - 1;
    }
    std::free(copy);
}

GenisMetin::~GenisMetin() { std::free(text_); }

void GenisMetin::kirp(int en_cok) {
    if (text_ == nullptr || en_cok < 0 || length_ <= en_cok) return;
    int boy = en_cok;
    if (boy > 0 && text_[boy - 1] >= 0xD800 && text_[boy - 1] <= 0xDBFF) --boy;
    text_[boy] = L'\0';
    length_ = boy;
}

namespace {

// Whether the window's text is exactly `text`, of `length` characters. A short
// text is read into the stack; a longer one only when the lengths agree.
bool ayni_metin_mi(HWND window, const wchar_t* text, int length) {
    if (GetWindowTextLengthW(window) != length) return false;
    constexpr int kYerelSinir = 128;
    wchar_t local[kYerelSinir];
    wchar_t* shown = length < kYerelSinir
                         ? local
                         : static_cast<wchar_t*>(std::malloc((static_cast<size_t>(length) + 1) * sizeof(wchar_t)));
    if (shown == nullptr) return false;
    const int read = GetWindowTextW(window, shown, length + 1);
    const bool same = read == length && std::wmemcmp(shown, text, static_cast<size_t>(length)) == 0;
    if (shown != local) std::free(shown);
    return same;
}

}  // namespace

void pencere_metnini_ayarla(HWND window, const GenisMetin& text) {
    if (ayni_metin_mi(window, text.c_str(), text.uzunluk())) return;
    SetWindowTextW(window, text.c_str());
}

TrMetin utf8_metin(const wchar_t* text, int length, bool storage_for_empty) {
    const TrMetin empty = {nullptr, 0};
    int bytes = 0;
    if (text != nullptr && length != 0) {
        bytes = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
        if (bytes < 0) bytes = 0;
    }
    // With length -1 the count includes the terminating zero.
    const int payload = (length < 0 && bytes > 0) ? bytes - 1 : bytes;
    if (payload == 0 && !storage_for_empty) return empty;

    char* block = static_cast<char*>(std::malloc(static_cast<size_t>(payload) + 1));
    if (block == nullptr) return empty;
    if (payload > 0) {
        WideCharToMultiByte(CP_UTF8, 0, text, length, block, bytes, nullptr, nullptr);
    }
    block[payload] = '\0';
    return {block, payload};
}
