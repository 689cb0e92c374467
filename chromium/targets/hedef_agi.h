// What a view asks of the engine's page targets: the one way from a view to them.
// The targets (hedefler.cpp) make views and call them; a view reaches the targets
// only through this interface, handed to it when it is made.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include <wrl/client.h>

class Baglanti;
class Gorunum;

class HedefAgi {
public:
    // The view took a (fresh) target: its session's events come to it.
    virtual void hedef_acildi(Gorunum* gorunum) = 0;
    // The view has closed, or left its target: its session no longer receives events.
    virtual void hedef_kapandi(Gorunum* gorunum) = 0;
    // Makes a page target and takes its held session; `al` gets both (the session
    // empty when that failed, the target then already closed). The target runs once
    // its session is told to (Runtime.runIfWaitingForDebugger).
    virtual void sayfa_hedefi_olustur(std::shared_ptr<Baglanti> baglanti,
                                      std::function<void(std::string, std::string)> al) = 0;

    // The host decided about the oldest popup the page of target `acan` opened: it
    // goes to `alan`, which loads `adres` itself when no popup came, or is closed
    // unfetched when `alan` is null (or cannot take it).
    virtual void acilan_pencere(const std::string& acan, Microsoft::WRL::ComPtr<Gorunum> alan,
                                std::wstring adres) = 0;
    // A page's popup waits for the host's decision while the returned object lives
    // (see Hedefler::hedefsiz_gorunum).
    virtual std::shared_ptr<void> yeni_pencere_bekleniyor() = 0;

    // The view was made the engine's front page; a view hidden that is not the front
    // page leaves the front as it is.
    virtual void one_getirildi(const Gorunum* gorunum) = 0;
    virtual bool on_sayfa_mi(const Gorunum* gorunum) const = 0;
    // The engine's front page is a view that is shown.
    virtual bool gosterilen_on_sayfa_var() const = 0;
    // The views shown are made the engine's front pages again (a page not in front
    // stops painting, and input may go elsewhere): when a view is hidden, another
    // one may have taken that place meanwhile.
    virtual void gosterilenleri_one_getir() = 0;
    // The engine renders every page at one device pixel ratio, shared by all of them:
    // the largest zoom factor among the views shown, so that each gets frames in its
    // own device pixels. Called when a view is shown, hidden or zoomed.
    virtual void ekran_olcegini_ayarla() = 0;

    // A view's navigation completed: the engine may be idle now (a spare target is
    // made then).
    virtual void gezinti_tamamlandi() = 0;
    // A view's load goes out: the engine is busy again, and a spare due soon waits.
    virtual void yukleme_gidiyor() = 0;
    // A view shown on screen got this size: the spare is made at it.
    virtual void gosterilen_alan(const RECT& alan) = 0;

protected:
    ~HedefAgi() = default;
};
