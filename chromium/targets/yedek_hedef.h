// The spare page target. Opening a tab costs the engine a new page target and a
// renderer for it; the target answers its setup only once that renderer runs. So one
// spare target is made and set up while the engine is idle (shortly after a
// navigation completed, a second after the last view was made or a load went out,
// and not in a download's first seconds), and the next new view takes it: it then
// only has to be placed and shown.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include <wrl/client.h>

#include "baglanti.h"
#include "oturumlar.h"

class YedekHedef {
public:
    using HedefBitti = std::function<void(HRESULT, Microsoft::WRL::ComPtr<Gorunum>)>;
    // Makes a page target and sets its view up, laid out for a size.
    using Olusturucu = std::function<void(std::shared_ptr<Baglanti>, RECT, HedefBitti)>;
    using Alici = std::function<void(Microsoft::WRL::ComPtr<Gorunum>)>;

    YedekHedef(const Oturumlar& oturumlar, Olusturucu olustur)
        : oturumlar_(oturumlar), olustur_(std::move(olustur))
    {
    }

    // The spare, when one is ready: its reference goes with it. Null otherwise.
    Microsoft::WRL::ComPtr<Gorunum> al();
    // While a spare is on its way and nobody waits for it yet: `alici` gets it once it
    // is ready (null when that failed), and true. False otherwise.
    bool hazir_olunca_ver(Alici alici);
    // A spare is made after `gecikme`, or later when the engine is busy then.
    void sonra_hazirla(UINT gecikme = YEDEK_GECIKMESI_MS);
    void gezinti_tamamlandi();
    void yukleme_gidiyor();
    // The size the next view will likely be shown at (the last one shown).
    void gosterilen_alan(const RECT& alan);
    // The first view's place sizes the spare until a view is shown.
    void ilk_yer(HWND ebeveyn);
    // The engine has gone: the spare goes with it.
    void birak();

private:
    // The spare is made once the engine has nothing else to do: shortly after a
    // navigation completed, or a while after the last view was made at the latest.
    static constexpr UINT YEDEK_GECIKMESI_MS = 1000, BOSTA_YEDEK_GECIKMESI_MS = 100;
    void hazirla();

    const Oturumlar& oturumlar_;
    Olusturucu olustur_;
    Gorunum* yedek_ = nullptr;   // set up, not yet placed; it holds one reference of its own
    bool hazirlaniyor_ = false;
    UINT_PTR zamanlayici_ = 0;
    ULONGLONG en_gec_ = 0;       // the spare waits for drawing until then (0: not waiting)
    RECT son_alan_ = {};         // the size the last view was shown at
    Alici bekleyen_;             // a view asked for while the spare was on its way
};
