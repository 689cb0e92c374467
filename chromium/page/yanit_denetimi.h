// A page that stops answering, and the view's move to a fresh target.
//
// A page whose script never returns holds its process: a new address for it never
// commits (the engine waits for the page), and nothing but closing its target ends
// that. So when a navigation of the host's has not committed within a few seconds
// and the page does not answer a short ping either (while the engine does), the
// view leaves that target for a fresh one and reports the page's process as
// unresponsive; the host's next load (its error page, Reload, a new address) goes
// to the fresh target. Commands given meanwhile wait here for it.
//
// A navigation that waits for the network is slow, not hung, and is never pinged:
// the engine holds commands to the page back while its navigation waits (an idle
// page whose next server took 5 s did not answer the ping), so a page that merely
// waits for a slow server would look hung. The few seconds for the commit count
// from the document's response; a server that never answers is left to the
// engine's own network handling and the user's Stop, as in any browser.
//
// This object decides; the view does what it is told through YanitDinleyicisi.
#pragma once

#include "giden.h"

#include <functional>
#include <string>
#include <vector>

// What the watch asks of the view, and tells it to do.
class YanitDinleyicisi {
public:
    // The view is open on a page whose process lives: only such a page is watched.
    virtual bool denetlenebilir() const = 0;
    // The host's navigation waits for the network (see Gezintiler::agi_bekliyor).
    virtual bool agi_bekliyor() const = 0;
    // The view leaves its target: it no longer paints nor answers for it, and the
    // target is closed.
    virtual void hedeften_ayril() = 0;
    // A fresh page target is asked for; `geldi` hears it (empty: none could be
    // made), and is never called once the view has closed.
    virtual void taze_hedef_iste(std::function<void(std::string hedef, std::string oturum)> geldi) = 0;
    // The view sets up on the fresh target (empty: none came, and the view stays a
    // page whose process died) and reports the page's process as unresponsive.
    virtual void taze_hedefe_gec(std::string hedef, std::string oturum) = 0;

protected:
    ~YanitDinleyicisi() = default;
};

class YanitDenetimi {
public:
    // `giden`: the view's outbox; its `zamanla` is the watch's clock.
    YanitDenetimi(Giden& giden, YanitDinleyicisi& dinleyici) : giden_(giden), dinleyici_(dinleyici) {}

    // A navigation of the host's began: it is watched from now (a newer one
    // replaces the watch of the one before).
    void kur();
    // The main frame committed, or a navigation completed: the watch ends.
    void taahhut_edildi() { ++taahhutler_; }
    // The host navigated the view at least once.
    bool kuruldu_mu() const { return denetim_ != 0; }
    bool tasiniyor_mu() const { return tasiniyor_; }
    // While the view moves, its commands wait for the fresh target: true when the
    // command was kept (it is sent, through `giden`, once the view stands there).
    bool beklet(const char* yontem, Json& parametreler, Giden::Yanit& yanit);

private:
    // `ag_beklendi`: the check before found the navigation waiting for the network.
    void planla(uint64_t denetim, uint64_t taahhutler, unsigned ms, bool ag_beklendi);
    bool suruyor(uint64_t denetim, uint64_t taahhutler) const;
    void denetle(uint64_t denetim, uint64_t taahhutler, bool ag_beklendi);
    void tasi();
    void tasindi(std::string hedef, std::string oturum);

    struct BekleyenKomut {
        const char* yontem;
        Json parametreler;
        Giden::Yanit yanit;
    };
    Giden& giden_;
    YanitDinleyicisi& dinleyici_;
    // Commits of the main frame (or completed navigations) seen, and the newest watch.
    uint64_t taahhutler_ = 0, denetim_ = 0;
    bool tasiniyor_ = false;
    std::vector<BekleyenKomut> bekleyenler_;
};
