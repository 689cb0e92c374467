// A page's file inputs. The engine is told to open no chooser of its own and to
// report a file input the user opened; the view asks with the system's open-file
// dialog (several files when the input allows them; the kinds of file the input
// accepts offered first, by their extensions), and the files chosen are put
// into the input as the engine's own system names them (under Wine, the Unix path
// of the chosen Windows path). Canceling leaves the input as it was.
#pragma once

#include "giden.h"
#include "yonlendirici.h"

#include <functional>
#include <string>
#include <vector>

class DosyaDinleyicisi {
public:
    // Asks for files, offering first those matching `desenler` ("*.txt;*.png", or
    // empty); `secildi` hears the paths chosen (none: canceled), later.
    virtual void dosya_sor(bool coklu, const std::wstring& desenler,
                           std::function<void(const std::vector<std::wstring>&)> secildi) = 0;

protected:
    ~DosyaDinleyicisi() = default;
};

class DosyaSecici {
public:
    DosyaSecici(Giden& giden, DosyaDinleyicisi& dinleyici);

    // Sets the page target up; every answer reaches `yanit`. Returns how many.
    int kur(const Giden::Yanit& yanit);

    // ---- From the engine: the page's file input asks for files.
    void yonlendir(Yonlendirici& yonlendirici) { yonlendirici.sahiplen(this, &DosyaSecici::acildi); }

private:
    void acildi(const protokol::FileChooserOpened& olay);
    void sor(int64_t girdi, bool coklu, const std::wstring& desenler);

    Giden& giden_;
    DosyaDinleyicisi& dinleyici_;
    bool soruluyor_ = false;   // one question at a time
};

// A path of the host's system as the engine's system names it: under Wine the Unix
// path Wine maps it to, elsewhere unchanged. Empty when Wine knows no such path.
std::string motorun_dosya_yolu(const std::wstring& yol);

// The file name patterns of an input's accept attribute (".txt,image/*" gives
// "*.txt;*.png;*.jpg;..."); kinds it does not know are left out, so the result may
// be empty.
std::wstring kabul_desenleri(const std::string& kabul);
