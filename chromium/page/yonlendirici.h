// Where a page target's events go: one owner per method. The view makes one router
// per target; each manager registers the methods it owns when the view sets it up
// (its `yonlendir`), and the view registers the few events several parts must see,
// which it decodes once and hands on, in order, in one place of its own
// (gorunum.cpp, "Events several parts must see").
//
// Runtime.bindingCalled is decoded here once and goes to the owner of the binding's
// name. A helper's binding counts only when it is called from the helpers' world of
// the top frame's current document (the YardimciBaglam the router is given): the
// page's own scripts, and a subframe, can call a binding by its name, and such a
// call reaches nobody. The one binding of the page's own world (permissions) is
// taken from anywhere; its owner checks the calling context itself.
//
// Who owns what:
//   Fetch.requestPaused, Page.frameStartedNavigating, Network.requestWillBeSent,
//   Network.responseReceived, Network.loadingFailed, Page.navigatedWithinDocument,
//   Page.frameStoppedLoading                     navigations (Gezintiler)
//   Page.windowOpen                              scripts (Betikler)
//   Page.fileChooserOpened                       file chooser (DosyaSecici)
//   Security.certificateError                    certificates (Sertifikalar)
//   Media.playerEventsAdded, WebAudio.contextCreated, WebAudio.contextChanged,
//   WebAudio.contextWillBeDestroyed              sound (Ses)
//   Page.frameNavigated                          the view: the full screen, the watch
//                                                (YanitDenetimi), then navigations,
//                                                scripts, lists, dialogs, sound
//   Page.documentOpened                          the view: scripts, sound
//   Page.javascriptDialogOpening,
//   Page.javascriptDialogClosed                  the view: navigations, dialogs
//   Runtime.executionContextCreated,
//   Runtime.executionContextDestroyed,
//   Runtime.executionContextsCleared             the view: the helpers' world
//                                                (YardimciBaglam), permissions, the
//                                                host's worlds, sound
//   Inspector.targetCrashed                      the view: sound, then the process
//   Inspector.targetReloadedAfterCrash           the view
//   Runtime.bindingCalled, by name:
//     __korvaBaslik, __korvaDurum,
//     __korvaYeniPencere, __korvaTamEkran        scripts (Betikler)
//     __korvaSecimAcildi                         lists (SecimListeleri)
//     __korvaImlec                               cursor (Imlec)
//     __korvaPano                                clipboard (Pano)
//     __korvaBaglam                              context menu (BaglamMenusu)
//     __korvaYazdir                              printing (Yazdirma)
//     __korvaIzin  (the page's own world)        permissions (Izinler)
// Every other event of the session reaches nobody.
#pragma once

#include "protokol.h"
#include "yardimci_dunya.h"

#include <functional>
#include <string>
#include <unordered_map>

class Yonlendirici {
public:
    using Isleyici = std::function<void(const Json& parametreler)>;
    using BagIsleyicisi = std::function<void(const protokol::BindingCalled& cagri)>;
    // Where a binding's calls are taken from.
    enum class Dunya { yardimci, her_yer };

    // `kapali`: the view's own flag; a closed view's events reach nobody.
    Yonlendirici(const YardimciBaglam& yardimci, const bool& kapali) : yardimci_(yardimci), kapali_(kapali) {}
    Yonlendirici(const Yonlendirici&) = delete;
    Yonlendirici& operator=(const Yonlendirici&) = delete;

    // Makes `isleyici` the owner of `yontem`. A method has one owner: a second one
    // is refused (false) and the first kept.
    bool sahiplen(const std::string& yontem, Isleyici isleyici);
    // The same for an owner's step that takes the event's record: the event is
    // decoded before the step, and a malformed one (see protokol::oku) is dropped.
    template <class Olay, class Sahip>
    bool sahiplen(Sahip* sahip, void (Sahip::*adim)(const Olay&))
    {
        return sahiplen(Olay::YONTEM, [sahip, adim](const Json& p) {
            Olay olay;
            if (protokol::oku(p, &olay))
                (sahip->*adim)(olay);
        });
    }
    // Makes `isleyici` the owner of the binding named `ad`; one owner per name.
    bool bag_sahiplen(const std::string& ad, BagIsleyicisi isleyici, Dunya dunya = Dunya::yardimci);

    // Hands one event to its owner. True when an owner took it; false for a closed
    // view, a method or binding nobody owns, a binding call from a world its owner
    // does not take calls from, and a binding call that is malformed.
    bool ilet(const std::string& yontem, const Json& parametreler) const;

private:
    bool bag_cagrisini_ilet(const Json& parametreler) const;

    struct BagSahibi {
        BagIsleyicisi isleyici;
        Dunya dunya;
    };
    const YardimciBaglam& yardimci_;
    const bool& kapali_;
    std::unordered_map<std::string, Isleyici> olaylar_;
    std::unordered_map<std::string, BagSahibi> baglar_;
};
