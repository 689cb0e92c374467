// A page that stops answering (see yanit_denetimi.h).
#include "yanit_denetimi.h"

#include <memory>

using namespace protokol;

static const unsigned GEZINTI_SINIRI_MS = 3000, PING_SINIRI_MS = 1000, AG_YOKLAMASI_MS = 500;

void YanitDenetimi::kur()
{
    planla(++denetim_, taahhutler_, GEZINTI_SINIRI_MS, false);
}

bool YanitDenetimi::beklet(const char* yontem, Json& parametreler, Giden::Yanit& yanit)
{
    if (!tasiniyor_)
        return false;
    bekleyenler_.push_back(BekleyenKomut{yontem, std::move(parametreler), std::move(yanit)});
    return true;
}

void YanitDenetimi::planla(uint64_t denetim, uint64_t taahhutler, unsigned ms, bool ag_beklendi)
{
    giden_.zamanla(ms, [this, denetim, taahhutler, ag_beklendi] { denetle(denetim, taahhutler, ag_beklendi); });
}

// The watch still stands: the view is open on a live page and not moving, no newer
// watch began and the navigation has not committed (or completed) since.
bool YanitDenetimi::suruyor(uint64_t denetim, uint64_t taahhutler) const
{
    return dinleyici_.denetlenebilir() && !tasiniyor_ && denetim == denetim_ && taahhutler_ == taahhutler;
}

void YanitDenetimi::denetle(uint64_t denetim, uint64_t taahhutler, bool ag_beklendi)
{
    if (!suruyor(denetim, taahhutler))
        return;
    if (dinleyici_.agi_bekliyor()) {
        planla(denetim, taahhutler, AG_YOKLAMASI_MS, true);
        return;
    }
    if (ag_beklendi) {
        // The response came: the page has its few seconds to commit from now.
        planla(denetim, taahhutler, GEZINTI_SINIRI_MS, false);
        return;
    }
    // The engine itself is asked too: when it does not answer either, it is the
    // engine that stalls, not the page, and a fresh target would not help.
    auto sayfa_yanitladi = std::make_shared<bool>(false), motor_yanitladi = std::make_shared<bool>(false);
    giden_.gonder(Evaluate{"0"}, [sayfa_yanitladi](const Json&, const Json*) { *sayfa_yanitladi = true; });
    giden_.motora_gonder(GetVersion::YONTEM, Json::object(),
                         [motor_yanitladi](const Json&, const Json*) { *motor_yanitladi = true; });
    giden_.zamanla(PING_SINIRI_MS, [this, denetim, taahhutler, sayfa_yanitladi, motor_yanitladi] {
        if (!*sayfa_yanitladi && *motor_yanitladi && suruyor(denetim, taahhutler))
            tasi();
    });
}

void YanitDenetimi::tasi()
{
    tasiniyor_ = true;
    dinleyici_.hedeften_ayril();
    dinleyici_.taze_hedef_iste(
        [this](std::string hedef, std::string oturum) { tasindi(std::move(hedef), std::move(oturum)); });
}

// The commands given meanwhile go to the target the view stands on now: the fresh
// one, or none (they then fail at once, as to any page whose process died).
void YanitDenetimi::tasindi(std::string hedef, std::string oturum)
{
    tasiniyor_ = false;
    dinleyici_.taze_hedefe_gec(std::move(hedef), std::move(oturum));
    std::vector<BekleyenKomut> bekleyenler;
    bekleyenler.swap(bekleyenler_);
    for (auto& komut : bekleyenler)
        giden_.gonder(komut.yontem, std::move(komut.parametreler), std::move(komut.yanit));
}
