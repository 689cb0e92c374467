// A page's sound (see ses.h).
#include "ses.h"

using namespace protokol;

// The group that holds the page-world references taken for muting, let go of at
// unmute and with their document.
static const char SES_GRUBU[] = "korvaSes";

// In the helper world of the top frame: __korvaSes(true) mutes every media element
// of the document and, until __korvaSes(false), every one that loads, starts or is
// unmuted by the page later; __korvaSes(false) unmutes exactly the ones it muted.
// The events do not bubble, but every element of the document is reached by them
// on their way down from the window. The listeners are put in place at every mute:
// a document.open() (the page's own, or a text loaded into the page) takes every
// listener off the window.
static const char SES_BETIGI[] = R"JS((() => {
  if (window !== window.top) return;
  let sessiz = false;
  const susturulan = new Set();
  const sustur = (o) => {
    if (o.muted) return;
    o.muted = true;
    susturulan.add(o);
  };
  const yakala = (e) => {
    if (sessiz && e.target instanceof HTMLMediaElement) sustur(e.target);
  };
  window.__korvaSes = (yeni) => {
    sessiz = !!yeni;
    if (sessiz) {
      for (const ad of ['loadstart', 'play', 'volumechange']) {
        window.removeEventListener(ad, yakala, true);
        window.addEventListener(ad, yakala, {capture: true, passive: true});
      }
      for (const o of document.querySelectorAll('audio, video')) sustur(o);
    } else {
      for (const o of susturulan) o.muted = false;
      susturulan.clear();
    }
  };
})();)JS";

// Called on the array of the page's audio contexts (the prototypes among them
// too, whose state cannot be read): suspends the running ones and returns them.
// An offline context refuses (it needs a time); that is no matter.
static const char BAGLAMLARI_SUSTUR[] = R"JS(function () {
  const calan = this.filter((c) => { try { return c.state === 'running'; } catch (e) { return false; } });
  for (const c of calan) { try { c.suspend().catch(() => {}); } catch (e) {} }
  return calan;
})JS";

// Called on such a returned array: resumes those still suspended.
static const char BAGLAMLARI_SURDUR[] = R"JS(function () {
  for (const c of this) {
    if (c.state === 'suspended') { try { c.resume().catch(() => {}); } catch (e) {} }
  }
})JS";

Ses::Ses(Giden& giden, SesDinleyicisi& dinleyici, std::string hedef, YardimciBaglam& baglam)
    : giden_(giden), dinleyici_(dinleyici), hedef_(std::move(hedef)), baglam_(baglam)
{
}

int Ses::kur(const Giden::Yanit& yanit)
{
    // Not counted in the set-up: an engine without these domains still shows pages,
    // it only never reports sound.
    giden_.gonder(MediaEnable{});
    giden_.gonder(WebAudioEnable{});
    return yardimci_betik_kur(giden_, hedef_, SES_BETIGI, {}, yanit, &baglam_);
}

void Ses::sessiz_koy(bool sessiz)
{
    if (sessiz == sessiz_)
        return;
    sessiz_ = sessiz;
    if (sessiz_) {
        ogeleri_sustur();
        baglamlari_sustur();
        return;
    }
    if (baglam_.kimlik()) {
        Evaluate calistir{"window.__korvaSes && __korvaSes(false)"};
        calistir.contextId = baglam_.kimlik();
        giden_.gonder(calistir);
    }
    baglamlari_surdur();
}

void Ses::ogeleri_sustur()
{
    // Between documents there is no helper yet: the next one is muted when it comes.
    if (!baglam_.kimlik())
        return;
    Evaluate calistir{"window.__korvaSes && __korvaSes(true)"};
    calistir.contextId = baglam_.kimlik();
    giden_.gonder(calistir);
}

// Three steps, each on the answer of the one before: the contexts' prototype in the
// page's world, every object of it, then the call that suspends the running ones.
// One suspension at a time; one asked for meanwhile follows it.
void Ses::baglamlari_sustur()
{
    if (susturuluyor_) {
        yeniden_sustur_ = true;
        return;
    }
    susturuluyor_ = true;
    std::shared_ptr<int> belge = belge_;
    auto bitti = [this, belge] {
        if (belge != belge_)
            return;
        susturuluyor_ = false;
        if (yeniden_sustur_ && sessiz_) {
            yeniden_sustur_ = false;
            baglamlari_sustur();
        }
    };
    auto cagir = [this, belge, bitti](const Json& sonuc, const Json* hata) {
        QueryObjectsYaniti nesneler;
        if (belge != belge_ || hata || !oku(sonuc, &nesneler) || nesneler.objects.objectId.empty())
            return bitti();
        giden_.gonder(CallFunctionOn{BAGLAMLARI_SUSTUR, nesneler.objects.objectId, SES_GRUBU, false},
                      [this, belge, bitti](const Json& sonuc, const Json* hata) {
                          NesneYaniti susturulan;
                          if (belge == belge_ && !hata && oku(sonuc, &susturulan) &&
                              !susturulan.result.objectId.empty()) {
                              susturulan_diziler_.push_back(susturulan.result.objectId);
                              // Unmuted while this was under way: given back at once.
                              if (!sessiz_)
                                  baglamlari_surdur();
                          }
                          bitti();
                      });
    };
    giden_.gonder(EvaluateToObject{"BaseAudioContext.prototype", SES_GRUBU},
                  [this, belge, bitti, cagir](const Json& sonuc, const Json* hata) {
                      NesneYaniti ornek;
                      if (belge != belge_ || hata || !oku(sonuc, &ornek) || ornek.result.objectId.empty())
                          return bitti();
                      giden_.gonder(QueryObjects{ornek.result.objectId, SES_GRUBU}, cagir);
                  });
}

// Every array the suspensions returned lives in the group: each is called in turn
// (the calls run in the order sent), then the group is let go of (not while a
// suspension still needs its references). The resumes count as the user's: they
// give back what the user's mute took.
void Ses::baglamlari_surdur()
{
    for (const std::string& dizi : susturulan_diziler_)
        giden_.gonder(CallFunctionOn{BAGLAMLARI_SURDUR, dizi, SES_GRUBU, true});
    susturulan_diziler_.clear();
    if (!susturuluyor_)
        giden_.gonder(ReleaseObjectGroup{SES_GRUBU});
}

void Ses::baglam_durumu(const std::string& kimlik, const std::string& durum)
{
    if (durum == "running") {
        calan_baglamlar_.insert(kimlik);
        if (sessiz_)
            baglamlari_sustur();
    } else if (!sessiz_ || durum == "closed") {
        // While muted, a running context that stops was stopped by the mute: it
        // still plays, silenced.
        calan_baglamlar_.erase(kimlik);
    }
}

void Ses::durumu_bildir()
{
    if (caliyor() == bildirilen_)
        return;
    bildirilen_ = caliyor();
    dinleyici_.ses_caliyor(bildirilen_);
}

void Ses::yonlendir(Yonlendirici& yonlendirici)
{
    yonlendirici.sahiplen(this, &Ses::oynaticilar);
    // A context made reports its state as a change does.
    yonlendirici.sahiplen(ContextCreated::YONTEM, [this](const Json& p) {
        ContextChanged olay;
        if (oku(p, &olay))
            baglam_degisti(olay);
    });
    yonlendirici.sahiplen(this, &Ses::baglam_degisti);
    yonlendirici.sahiplen(this, &Ses::baglam_bitti);
}

void Ses::baglam_olustu(const ExecutionContextDescription& baglam)
{
    if (sessiz_ && baglam.id == baglam_.kimlik())
        ogeleri_sustur();
}

// The helper's listeners are gone, its elements may be new.
void Ses::belge_yeniden_acildi(const Cerceve& cerceve)
{
    if (sessiz_ && cerceve.id == hedef_)
        ogeleri_sustur();
}

// A new top document (or none) has no players and no contexts yet, and the
// references into the old one are gone.
void Ses::belge_bitti()
{
    calan_oynaticilar_.clear();
    calan_baglamlar_.clear();
    susturulan_diziler_.clear();
    susturuluyor_ = yeniden_sustur_ = false;
    belge_ = std::make_shared<int>(0);
    durumu_bildir();
}

void Ses::oynaticilar(const PlayerEventsAdded& olay)
{
    for (const OynaticiOlayi& kayit : olay.events) {
        Json deger = Json::parse(kayit.value, nullptr, false);
        if (!deger.is_object() || !deger.contains("event") || !deger["event"].is_string())
            continue;
        const std::string ad = deger["event"].get<std::string>();
        if (ad == "kPlay")
            calan_oynaticilar_.insert(olay.playerId);
        else if (ad == "kPause" || ad == "kEnded" || ad == "kWebMediaPlayerDestroyed")
            calan_oynaticilar_.erase(olay.playerId);
    }
    durumu_bildir();
}

void Ses::baglam_degisti(const ContextChanged& olay)
{
    baglam_durumu(olay.context.contextId, olay.context.contextState);
    durumu_bildir();
}

void Ses::baglam_bitti(const ContextWillBeDestroyed& olay)
{
    calan_baglamlar_.erase(olay.contextId);
    durumu_bildir();
}
