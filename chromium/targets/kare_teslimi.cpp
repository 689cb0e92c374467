// Frames from the reading thread to the UI thread, decoded on a thread of their own
// (see kare_teslimi.h).
#include "kare_teslimi.h"

#include "baglanti.h"
#include "protokol.h"
#include "protokol_gunlugu.h"

// The decoding thread's side. The reading thread puts each session's newest JPEG
// (base64) in `sirada` and wakes the thread; the thread takes the sessions in turn,
// so one that streams fast does not keep another's frame waiting. Text buffers move
// between the queue and the thread instead of being allocated for every frame.
struct KareTeslimi::Cozme {
    KareTeslimi* sahip = nullptr;
    HANDLE uyandir = nullptr;   // auto-reset: frames wait in `sirada`
    std::mutex kilit;
    std::map<std::string, std::string> sirada;   // by session
    std::string yedek;          // a buffer with room, for the next session queued
    std::string son_oturum;     // the session decoded last
    KareCozucu cozucu;          // the decoding thread's alone
};

void KareTeslimi::coz_ve_teslim_et(const std::string& oturum, std::string_view base64)
{
    Cozme* cozme;
    {
        std::lock_guard<std::mutex> kilit(kilit_);
        if (!cozme_kuruldu_) {
            cozme_kuruldu_ = true;
            cozme_ = new Cozme();
            cozme_->sahip = this;
            cozme_->uyandir = CreateEventW(nullptr, FALSE, FALSE, nullptr);
            HANDLE is_parcacigi = cozme_->uyandir
                                      ? CreateThread(nullptr, 0, cozme_dongusu, cozme_, 0, nullptr)
                                      : nullptr;
            if (is_parcacigi)
                CloseHandle(is_parcacigi);
            else if (cozme_->uyandir) {
                CloseHandle(cozme_->uyandir);
                cozme_->uyandir = nullptr;
            }
        }
        cozme = cozme_;
    }
    if (!cozme->uyandir) {
        // No thread to hand it to: decoded here, as the reading thread is the only caller.
        coz(*cozme, oturum, base64);
        return;
    }
    {
        std::lock_guard<std::mutex> kilit(cozme->kilit);
        std::string& yer = cozme->sirada[oturum];
        if (yer.capacity() < base64.size())
            yer.swap(cozme->yedek);
        yer.assign(base64.data(), base64.size());
    }
    SetEvent(cozme->uyandir);
}

DWORD WINAPI KareTeslimi::cozme_dongusu(void* parametre)
{
    Cozme& cozme = *static_cast<Cozme*>(parametre);
    std::string oturum, veri;
    for (;;) {
        WaitForSingleObject(cozme.uyandir, INFINITE);
        for (;;) {
            {
                std::lock_guard<std::mutex> kilit(cozme.kilit);
                if (cozme.sirada.empty())
                    break;
                auto sonraki = cozme.sirada.upper_bound(cozme.son_oturum);
                if (sonraki == cozme.sirada.end())
                    sonraki = cozme.sirada.begin();
                oturum = sonraki->first;
                veri.swap(sonraki->second);
                if (cozme.yedek.capacity() < sonraki->second.capacity())
                    cozme.yedek.swap(sonraki->second);
                cozme.sirada.erase(sonraki);
                cozme.son_oturum = oturum;
            }
            try {
                cozme.sahip->coz(cozme, oturum, veri);
            } catch (...) {
                // Out of memory for a frame: it is dropped, the next one may fit.
            }
        }
    }
}

void KareTeslimi::coz(Cozme& cozme, const std::string& oturum, std::string_view base64)
{
    std::shared_ptr<Kare> kare = cozme.cozucu.coz(base64);
    // Frames come on their own way, past the event log: their sizes go there too.
    if (gunluk_acik())
        gunluge_yaz(oturum, protokol::ScreencastFrame::YONTEM,
                    nlohmann::json{{"genislik", kare ? kare->genislik : 0}, {"yukseklik", kare ? kare->yukseklik : 0}});
    if (kare)
        teslim_et(oturum, std::move(kare));
}

void KareTeslimi::teslim_et(const std::string& oturum, std::shared_ptr<Kare> kare)
{
    bool bekleyen_vardi;
    {
        std::lock_guard<std::mutex> kilit(kilit_);
        auto& yer = bekleyenler_[oturum];
        bekleyen_vardi = yer != nullptr;
        yer = std::move(kare);
    }
    if (bekleyen_vardi)
        return;
    Baglanti::ui_da_calistir([this, oturum] {
        std::shared_ptr<Kare> en_yeni;
        {
            std::lock_guard<std::mutex> kilit(kilit_);
            auto bulunan = bekleyenler_.find(oturum);
            if (bulunan == bekleyenler_.end())
                return;
            en_yeni = std::move(bulunan->second);
            bekleyenler_.erase(bulunan);
        }
        ver_(oturum, std::move(en_yeni));
    });
}
