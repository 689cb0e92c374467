// A view and the windows pages open (see gorunum.h): a view offered for a page's
// popup takes the popup's target, and a view made while a popup waits for its view
// has no target of its own until it knows whether the popup comes to it.
//
// Why: a popup is a page target of its own that the engine made, attached and holds
// before it runs. The host answers the page's new-window request with a view it
// makes for it then, and that view is handed the popup. Had the view made and set
// up a target of its own first (a hundred milliseconds and more of the engine's
// work, then dropped), the popup would wait for nothing. So while a popup waits for
// the host's decision, a new view starts without a target. Given to the request, it
// takes the popup's target; not given (the host made it for something else, or
// decided without it), it makes its own target then, and the host's calls made on
// its page meanwhile are made again, in order, once that target is set up.
#include "gorunum.h"

using namespace protokol;

HRESULT Gorunum::yeni_pencereye_ayir()
{
    if (kapali_ || coktu_ || denetim_.tasiniyor_mu() || denetim_.kuruldu_mu() || yeni_pencereye_ayrildi_ || kendi_hedefi_geliyor_ ||
        !hedef_gelince_.empty())
        return HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
    yeni_pencereye_ayrildi_ = true;
    return S_OK;
}

// As a move to a fresh target, but the target is the popup, alive and held: its
// page, history and opener are its own, and it runs once its setup is on its way.
bool Gorunum::acilan_pencereye_gec(std::string hedef, std::string oturum, const std::wstring& adres)
{
    if (kapali_)
        return false;
    if (oturum.empty()) {
        Microsoft::WRL::ComPtr<Gorunum> koru(this);
        hedef_varken([koru, adres] {
            koru->yanit_denetimi_kur();
            koru->gezintiler_->git(adres);
        });
        kendi_hedefine_gec();
        return true;
    }
    hedefe_yerles(std::move(hedef), std::move(oturum), adres, true);
    return true;
}

void Gorunum::hedef_varken(std::function<void()> cagri)
{
    if (!hedefsiz_) {
        cagri();
        return;
    }
    hedef_gelince_.push_back(std::move(cagri));
    // Used by the host before any popup came to it: it is a view of the host's own.
    if (!yeni_pencereye_ayrildi_)
        kendi_hedefine_gec();
}

void Gorunum::kendi_hedefine_gec()
{
    if (kapali_ || !hedefsiz_ || kendi_hedefi_geliyor_)
        return;
    kendi_hedefi_geliyor_ = true;
    Microsoft::WRL::ComPtr<Gorunum> koru(this);
    hedefler_.sayfa_hedefi_olustur(baglanti_, [koru](std::string hedef, std::string oturum) {
        koru->kendi_hedefi_geliyor_ = false;
        // Closed meanwhile, or the popup came first: the target is not needed.
        if (koru->kapali_ || !koru->hedefsiz_) {
            if (!oturum.empty())
                koru->baglanti_->gonder(CloseTarget::YONTEM, Json(CloseTarget{hedef}));
            return;
        }
        if (oturum.empty()) {
            // As a page whose process died: a load asks for a target again.
            koru->surec_coktu(koru->baglanti_->acik_mi() ? COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_EXITED
                                                         : COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED);
            return;
        }
        koru->hedefe_yerles(std::move(hedef), std::move(oturum), L"about:blank", false);
    });
}

// The commands that make the helpers' world, the navigation gate and the lock-down
// go first and the target runs only after them, so they hold before the page's
// script runs any further. A popup's frames need nothing more than its size, sent
// among them: its stream starts now, without waiting for every answer.
void Gorunum::hedefe_yerles(std::string hedef, std::string oturum, const std::wstring& adres, bool acilan)
{
    ++hedef_nesli_;
    if (!hedefsiz_) {
        hedefler_.hedef_kapandi(this);
        baglanti_->gonder(CloseTarget::YONTEM, Json(CloseTarget{hedef_}));
    }
    hedef_ = std::move(hedef);
    oturum_ = std::move(oturum);
    hedefsiz_ = false;
    hedefler_.hedef_acildi(this);
    ekran_.hedef_degisti();
    yoneticileri_kur(adres);
    if (coktu_) {
        coktu_ = false;
        ekran_.surec_dondu();
    }
    kur(ekran_.alan(), [](HRESULT) {});
    if (acilan)
        ekran_.kuruldu();
    baglanti_->gonder(RunIfWaitingForDebugger::YONTEM, Json::object(), oturum_);
    one_getir();
    std::vector<std::function<void()>> cagrilar;
    cagrilar.swap(hedef_gelince_);
    Microsoft::WRL::ComPtr<Gorunum> koru(this);
    for (auto& cagri : cagrilar)
        if (!kapali_)
            cagri();
}
