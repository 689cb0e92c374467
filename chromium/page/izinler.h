// Permissions a page asks for: notifications, the location, the camera and the
// microphone, reading the clipboard. The engine has no event for such a request
// and a headless engine answers it by itself, so a script in the page's own world
// (put there before the page's scripts) wraps the calls that ask
// (Notification.requestPermission, getCurrentPosition and watchPosition,
// getUserMedia, clipboard.readText and read): each holds the page's call and tells
// the library through a binding. The host's handlers hear the request
// (PermissionRequested); with their answer the engine's permission of that origin
// is set (Browser.setPermission: granted, denied, or for DEFAULT the engine's own
// default), and only then does the page's call go on, into the engine, so the
// page sees the engine's own result.
//
// The page's scripts share that world. What they can reach does no more than ask:
// the origin is the one the engine gives the calling context, never what the call
// says, whether the user asked is read by the library in a world of its own in the
// calling frame (the engine's user activation), and nothing they call sets a
// permission. A page that forges a request can
// at most raise the host's question. A context without an origin of its own
// (about:blank, data:) is answered with the engine's default without asking.
#pragma once

#include "giden.h"
#include "yonlendirici.h"

#include "wv2_arayuz.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class Izinler {
public:
    // `yay` raises PermissionRequested with these arguments to the host's handlers.
    using Yayici = std::function<void(ICoreWebView2PermissionRequestedEventArgs*)>;
    Izinler(Giden& giden, Yayici yay);
    ~Izinler();

    // Sets the page target up; every answer reaches `yanit`. Returns how many.
    int kur(const Giden::Yanit& yanit);

    // ---- From the engine: its requests come through the binding registered here;
    // the contexts of the page's world, with their origins, the view hands on.
    void yonlendir(Yonlendirici& yonlendirici);
    void baglam_olustu(const protokol::ExecutionContextDescription& baglam);
    void baglam_bitti(int64_t kimlik);
    void baglamlar_temizlendi();

    // The engine's name of what a kind asks for ("notifications"...), null for a
    // kind not asked through here; and the other way round (UNKNOWN when none).
    static const char* motor_adi(COREWEBVIEW2_PERMISSION_KIND tur);
    static COREWEBVIEW2_PERMISSION_KIND tur_adi(const std::string& ad);

private:
    // One call of the page: its kinds are asked in turn; the first answer other
    // than Allow ends the asking.
    struct Cagri {
        int64_t no = 0;
        int64_t baglam = 0;
        std::string kaynak;
        std::vector<COREWEBVIEW2_PERMISSION_KIND> turler;
        bool kullanici = false;
        size_t sira = 0;
    };

    // A page-world context: its origin and its frame.
    struct Kaynak {
        std::string kaynak, cerceve;
    };
    // A frame's world for reading the user's activation: its context once known,
    // and the reads waiting while it is made.
    struct Dunya {
        int64_t baglam = 0;
        std::vector<std::function<void(bool)>> bekleyenler;
    };

    void istendi(int64_t baglam, const std::string& yuk);
    void etkinligi_oku(const std::string& cerceve, std::function<void(bool)> sonra);
    void sor(std::shared_ptr<Cagri> cagri);
    void karar_verildi(std::shared_ptr<Cagri> cagri, COREWEBVIEW2_PERMISSION_STATE durum);
    void devam_ettir(const Cagri& cagri);

    Giden& giden_;
    Yayici yay_;
    std::map<int64_t, Kaynak> kaynaklar_;        // the page world's contexts
    std::map<std::string, Dunya> dunyalar_;      // by frame id
    std::shared_ptr<bool> canli_;                // false once this manager is gone
};
