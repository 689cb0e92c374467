// Window messages that one runtime unit sends to the windows of another. They are
// registered by name, so the sender needs nothing of the receiver's code and a
// window that does not know a message simply lets it pass.
#pragma once

#include <windows.h>

// Sent by the window runtime, on every move of a top-level window, to each window
// inside it: whatever places things on the screen by its parent's position (a web
// engine's popups, menus and input-method window) must hear that it moved.
inline UINT ust_pencere_tasindi_mesaji() {
    static const UINT mesaj = RegisterWindowMessageW(L"TrUstPencereTasindi");
    return mesaj;
}
