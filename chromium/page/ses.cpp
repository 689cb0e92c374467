// A page's sound (see ses.h).
#include "ses.h"

using namespace protokol;

// The group that holds the page-world references taken for muting, let go of at
// unmute and with their document.
static const char SES_GRUBU[] = "korvaSes";

// In the helper world of every frame: __korvaSes(true) mutes every media element
// of the document and, until __korvaSes(false), every one that loads, starts or is
// unmuted by the page later; __korvaSes(false) unmutes exactly the ones it muted.
// The events do not bubble, but every element of the document is reached by them
// on their way down from the window. The listeners are put in place at every mute:
// a document.open() (the page's own, or a text loaded into the page) takes every
// listener off the window.
static const char SES_BETIGI[] = R"JS((() => {
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

// Called on the array of the page world's objects whose prototype is a media
// element's (the prototypes among them too, which refuse): mutes those not muted,
// keeps them muted while the mute lasts, and returns what gives them back (nothing
// when none was muted, so that repeated searches keep nothing). Plain loops: the
// page may have replaced the arrays' own methods.
static const char OGELERI_SUSTUR[] = R"JS(function () {
  const susturulan = [];
  for (let i = 0; i < this.length; i++) {
    const o = this[i];
    try { if (!o.muted) { o.muted = true; susturulan.push(o); } } catch (e) {}
  }
  let surer = true;
  const yeniden = (e) => { try { if (surer && !e.target.muted) e.target.muted = true; } catch (x) {} };
  if (!susturulan.length) return undefined;
  for (let i = 0; i < susturulan.length; i++) susturulan[i].addEventListener('volumechange', yeniden);
  return {geri() {
    surer = false;
    for (let i = 0; i < susturulan.length; i++) {
      try { susturulan[i].removeEventListener('volumechange', yeniden); susturulan[i].muted = false; } catch (e) {}
    }
  }};
})JS";
static const char OGELERI_GERI_VER[] = "function () { this.geri(); }";

// Called on the array of the page's audio contexts (the prototypes among them
// too, whose state cannot be read): suspends the running ones and returns them
// (nothing when none ran). An offline context refuses (it needs a time); that is
// no matter.
static const char BAGLAMLARI_SUSTUR[] = R"JS(function () {
  const calan = [];
  for (let i = 0; i < this.length; i++) {
    try { if (this[i].state === 'running') calan.push(this[i]); } catch (e) {}
  }
  for (let i = 0; i < calan.length; i++) { try { calan[i].suspend().catch(() => {}); } catch (e) {} }
  return calan.length ? calan : undefined;
})JS";

// Called on such a returned array: resumes those still suspended.
static const char BAGLAMLARI_SURDUR[] = R"JS(function () {
  for (let i = 0; i < this.length; i++) {
    try { if (this[i].state === 'suspended') this[i].resume().catch(() => {}); } catch (e) {}
  }
})JS";

// What a search looks for in a page world, what silences it and what gives it back.
static const struct {
    const char* ornek;
    const char* sustur;
    const char* geri_ver;
} ARAMALAR[] = {
    {"HTMLMediaElement.prototype", OGELERI_SUSTUR, OGELERI_GERI_VER},
    {"BaseAudioContext.prototype", BAGLAMLARI_SUSTUR, BAGLAMLARI_SURDUR},
};

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
        sayfayi_tara();
        return;
    }
    yardimcilara_gonder("window.__korvaSes && __korvaSes(false)");
    baglamlari_surdur();
}

// Between documents there is no helper yet: the next one is muted when it comes.
void Ses::ogeleri_sustur()
{
    yardimcilara_gonder("window.__korvaSes && __korvaSes(true)");
}

void Ses::yardimcilara_gonder(const char* betik)
{
    for (int64_t baglam : yardimci_baglamlari_) {
        Evaluate calistir{betik};
        calistir.contextId = baglam;
        giden_.gonder(calistir);
    }
}

// In every frame's page world, for each kind: its prototype, every object of it,
// then the call that silences them, each step on the answer of the one before.
// One round of searches at a time; one asked for meanwhile follows it.
void Ses::sayfayi_tara()
{
    if (araniyor_ > 0) {
        yeniden_ara_ = true;
        return;
    }
    std::shared_ptr<int> belge = belge_;
    for (int64_t baglam : sayfa_baglamlari_)
        for (size_t arama = 0; arama < sizeof(ARAMALAR) / sizeof(ARAMALAR[0]); ++arama)
            ara(baglam, arama, belge);
}

void Ses::ara(int64_t baglam, size_t arama, std::shared_ptr<int> belge)
{
    ++araniyor_;
    const auto* bu = &ARAMALAR[arama];
    auto bitti = [this, belge] {
        if (belge == belge_)
            arama_bitti();
    };
    auto cagir = [this, belge, bu, bitti](const Json& sonuc, const Json* hata) {
        QueryObjectsYaniti nesneler;
        if (belge != belge_ || hata || !oku(sonuc, &nesneler) || nesneler.objects.objectId.empty())
            return bitti();
        giden_.gonder(CallFunctionOn{bu->sustur, nesneler.objects.objectId, SES_GRUBU, false},
                      [this, belge, bu, bitti](const Json& sonuc, const Json* hata) {
                          NesneYaniti susturulan;
                          if (belge == belge_ && !hata && oku(sonuc, &susturulan) &&
                              !susturulan.result.objectId.empty()) {
                              susturulanlar_.emplace_back(susturulan.result.objectId, bu->geri_ver);
                              // Unmuted while this was under way: given back at once.
                              if (!sessiz_)
                                  baglamlari_surdur();
                          }
                          bitti();
                      });
    };
    EvaluateToObject ornek{bu->ornek, SES_GRUBU};
    ornek.contextId = baglam;
    giden_.gonder(ornek, [this, belge, bitti, cagir](const Json& sonuc, const Json* hata) {
        NesneYaniti ornek;
        if (belge != belge_ || hata || !oku(sonuc, &ornek) || ornek.result.objectId.empty())
            return bitti();
        giden_.gonder(QueryObjects{ornek.result.objectId, SES_GRUBU}, cagir);
    });
}

void Ses::arama_bitti()
{
    if (--araniyor_ > 0)
        return;
    if (yeniden_ara_ && sessiz_) {
        yeniden_ara_ = false;
        sayfayi_tara();
    }
}

// Everything the searches silenced lives in the group: each is given back in turn
// (the calls run in the order sent), then the group is let go of (not while a
// search still needs its references). The resumes count as the user's: they give
// back what the user's mute took.
void Ses::baglamlari_surdur()
{
    for (const auto& [nesne, geri_ver] : susturulanlar_)
        giden_.gonder(CallFunctionOn{geri_ver, nesne, SES_GRUBU, true});
    susturulanlar_.clear();
    if (araniyor_ == 0)
        giden_.gonder(ReleaseObjectGroup{SES_GRUBU});
}

void Ses::baglam_durumu(const std::string& kimlik, const std::string& durum)
{
    if (durum == "running") {
        calan_baglamlar_.insert(kimlik);
        if (sessiz_)
            sayfayi_tara();
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
    if (baglam.auxData.isDefault) {
        sayfa_baglamlari_.insert(baglam.id);
        return;
    }
    if (baglam.name != YARDIMCI_DUNYA)
        return;
    yardimci_baglamlari_.insert(baglam.id);
    if (sessiz_) {
        Evaluate calistir{"window.__korvaSes && __korvaSes(true)"};
        calistir.contextId = baglam.id;
        giden_.gonder(calistir);
    }
}

void Ses::calisma_baglami_bitti(int64_t kimlik)
{
    sayfa_baglamlari_.erase(kimlik);
    yardimci_baglamlari_.erase(kimlik);
}

void Ses::calisma_baglamlari_temizlendi()
{
    sayfa_baglamlari_.clear();
    yardimci_baglamlari_.clear();
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
    susturulanlar_.clear();
    araniyor_ = 0;
    yeniden_ara_ = false;
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
        if (ad == "kPlay") {
            calan_oynaticilar_.insert(olay.playerId);
            // Perhaps an element the helpers cannot reach: silenced now.
            if (sessiz_)
                sayfayi_tara();
        }
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
