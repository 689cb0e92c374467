// A page's sound: whether it plays audio, and the view's mute switch put into
// effect in it.
//
// Headless Chromium keeps no "audible" flag per page and mutes only the whole
// process, so both come from the page's own state:
// - playing: the Media domain's players between their play and their pause or end,
//   and the WebAudio domain's audio contexts while they run. A document's players
//   and contexts end with it (a new top document starts with none).
// - muting: a helper in the isolated world (which shares the page's DOM) mutes the
//   document's media elements, those added or started later too, and keeps them
//   muted when the page unmutes them; unmuting restores only the elements it muted.
//   Audio contexts are objects of the page's own world, out of the helper's reach:
//   they are found through the engine by their prototype and suspended, and the
//   ones suspended that way are resumed on unmute. A context that starts running
//   while muted is suspended again.
// A document that plays while muted still counts as playing (it is silenced, not
// stopped), as the platform engine reports it.
#pragma once

#include "giden.h"
#include "yardimci_dunya.h"
#include "yonlendirici.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

class SesDinleyicisi {
public:
    // Whether the page plays audio changed.
    virtual void ses_caliyor(bool caliyor) = 0;

protected:
    ~SesDinleyicisi() = default;
};

class Ses {
public:
    // `baglam`: the view's helpers' world, which this manager's script goes into.
    Ses(Giden& giden, SesDinleyicisi& dinleyici, std::string hedef, YardimciBaglam& baglam);

    // Sets the page target up; every answer reaches `yanit`. Returns how many.
    int kur(const Giden::Yanit& yanit);

    // Mutes or unmutes the page; a new document is muted too while the switch is on.
    void sessiz_koy(bool sessiz);
    bool caliyor() const { return !calan_oynaticilar_.empty() || !calan_baglamlar_.empty(); }

    // ---- From the engine: the players' and the audio contexts' events are this
    // manager's own; the others the view hands on.
    void yonlendir(Yonlendirici& yonlendirici);
    // A context was made, after the helpers' world has heard of it.
    void baglam_olustu(const protokol::ExecutionContextDescription& baglam);
    // The document was opened anew in the same window (a text put into it).
    void belge_yeniden_acildi(const protokol::Cerceve& cerceve);
    // A new top document, or none (the page's process died).
    void belge_bitti();

private:
    void oynaticilar(const protokol::PlayerEventsAdded& olay);
    void baglam_degisti(const protokol::ContextChanged& olay);
    void baglam_bitti(const protokol::ContextWillBeDestroyed& olay);
    void durumu_bildir();
    void ogeleri_sustur();
    void baglamlari_sustur();
    void baglamlari_surdur();
    void baglam_durumu(const std::string& kimlik, const std::string& durum);

    Giden& giden_;
    SesDinleyicisi& dinleyici_;
    const std::string hedef_;
    YardimciBaglam& baglam_;
    bool sessiz_ = false;
    bool bildirilen_ = false;   // what the listener heard last
    std::set<std::string> calan_oynaticilar_;
    // Running contexts, and (while muted) the ones the library suspended.
    std::set<std::string> calan_baglamlar_;
    // A suspension under way, and whether another is wanted after it.
    bool susturuluyor_ = false, yeniden_sustur_ = false;
    // The page-world arrays of the contexts the library suspended.
    std::vector<std::string> susturulan_diziler_;
    // Which document the page-world references belong to: they die with it.
    std::shared_ptr<int> belge_ = std::make_shared<int>(0);
};
