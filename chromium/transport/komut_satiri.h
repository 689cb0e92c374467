// The engine's command line: the shell line that starts headless Chromium and hands
// it its protocol channel, the engine's flags, the host's environment with the start's
// secrets added, and the paths between the host's (Windows) side and the engine's
// (Unix) side that it needs.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "baglanti.h"

// One argument quoted so that the command line splits back into exactly it (the
// rules of CommandLineToArgvW, which Wine also uses to build a Unix argv).
std::wstring arguman(const std::wstring& deger);
// The engine binary to start: the setting's, else KORVA_CHROMIUM, else Debian's.
std::string motor_ikilisi(const MotorAyari& ayar);
// Whether a Unix path names a file (not a folder).
bool unix_dosyasi_var(const std::string& unix_yolu);
// Makes a Windows folder and its parents; true when it exists afterwards.
bool klasor_olustur(const std::wstring& yol);
// The whole command line: `oturumcu` (setsid, as a Windows path) runs `kabuk` (a Unix
// path) with the shell line, the profile folder and the engine with its flags.
std::wstring motor_komutu(const std::wstring& oturumcu, const std::string& kabuk, const std::string& profil_unix,
                          const std::string& ikili);
// The host's environment with `ekler` set (a variable of the same name replaced), as
// a block for CreateProcessW.
std::wstring ortam_blogu(const std::vector<std::pair<std::wstring, std::string>>& ekler);
