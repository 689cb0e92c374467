// A page's sound: whether it plays audio, and the view's mute switch put into
// effect in it.
//
// Headless Chromium keeps no "audible" flag per page and mutes only the whole
// process, so both come from the page's own state:
// - playing: the Media domain's players between their play and their pause or end,
//   and the WebAudio domain's audio contexts while they run. A document's players
//   and contexts end with it (a new top document starts with none).
// - muting: a helper in the isolated world of every frame (which shares the
//   frame's DOM) mutes the document's media elements, those added or started later
//   too, and keeps them muted when the page unmutes them; unmuting restores only
//   the elements it muted. What is out of the helpers' reach, the media elements in
//   no document (a script's `new Audio()`) and the audio contexts, objects of the
//   page's own world, is found through the engine in the page world of every frame
//   by its prototype (Runtime.queryObjects): such elements are muted, and kept muted
//   against the page's own unmute, and running contexts suspended; unmuting gives
//   back exactly those. While muted, every player the engine reports starting and
//   every context that starts running has the search made again.
// A document that plays while muted still counts as playing (it is silenced, not
// stopped), as the platform engine reports it.
//
// What a hostile page can still do: the search calls the page world's own
// `muted` setter and `suspend`, which a page may have replaced, and it runs only
// after the engine reported the start, so the first moments of a sound started
// while muted may be heard. Frames of another site, run in a process of their own,
// are not searched.
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
    // A context was made, after the helpers' world has heard of it; and one ended,
    // or all of them.
    void baglam_olustu(const protokol::ExecutionContextDescription& baglam);
    void calisma_baglami_bitti(int64_t kimlik);
    void calisma_baglamlari_temizlendi();
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
    void yardimcilara_gonder(const char* betik);
    void sayfayi_tara();
    void ara(int64_t baglam, size_t arama, std::shared_ptr<int> belge);
    void arama_bitti();
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
    // Every frame's contexts: of the page's world, and of the helpers' world.
    std::set<int64_t> sayfa_baglamlari_, yardimci_baglamlari_;
    // Searches under way, and whether another is wanted after them.
    int araniyor_ = 0;
    bool yeniden_ara_ = false;
    // What the searches silenced, page-world objects: each with the function that
    // gives it back.
    std::vector<std::pair<std::string, const char*>> susturulanlar_;
    // Which document the page-world references belong to: they die with it.
    std::shared_ptr<int> belge_ = std::make_shared<int>(0);
};
