// Text at the platform boundary, shared by the units that talk to Win32 and the
// web engine.
//
// Going out: a text argument (UTF-8 bytes and a length) becomes an owned,
// zero-terminated UTF-16 buffer. The bytes are read up to the first zero byte, so
// a zero inside a text ends it; the empty text (null pointer or length <= 0)
// converts to an empty string. A conversion that fails (invalid UTF-8 that
// MultiByteToWideChar rejects, or no memory) leaves the buffer invalid, and the
// entry point then returns its failure value without acting.
//
// Coming back: UTF-16 from the platform becomes a fresh malloc block of UTF-8
// with a terminating zero that the length does not count.
//
// Showing: a window's text is replaced only when it differs from what the window
// shows. Setting a text makes a control repaint (on Windows it invalidates itself,
// which wakes an idle message loop), so writing the same text again is not free.
#pragma once

#include <windows.h>

#include "tr_tipler.h"

// A caption (a window's title, a tab's label) keeps at most this many characters,
// as browsers keep of a page's title: a title of megabytes would only cost, and a
// top-level window's title of that size is more than the display server takes.
constexpr int kEnUzunBaslik = 4096;

class GenisMetin {
public:
    GenisMetin(const char* bytes, int64_t length);
    ~GenisMetin();
    GenisMetin(const GenisMetin&) = delete;
    GenisMetin& operator=(const GenisMetin&) = delete;

    bool gecerli() const { return text_ != nullptr; }
    const wchar_t* c_str() const { return text_; }
    // Keeps the first `en_cok` characters (one fewer where a surrogate pair would be
    // cut in two).
    void kirp(int en_cok);
    // Characters before the terminating zero.
    int uzunluk() const { return length_; }

private:
    wchar_t* text_ = nullptr;
    int length_ = 0;
};

// Sets the window's text unless it already shows exactly this text.
void pencere_metnini_ayarla(HWND window, const GenisMetin& text);

// UTF-16 (`length` characters, or up to the terminating zero when length < 0) to
// a fresh UTF-8 block with a terminating zero. A null or empty input gives the
// empty text {nullptr, 0}, or a block holding only the zero when `storage_for_empty`.
TrMetin utf8_metin(const wchar_t* text, int length, bool storage_for_empty);
