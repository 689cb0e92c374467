// Frames from the reading thread to the UI thread (see kare_teslimi.h).
#include "kare_teslimi.h"

#include "baglanti.h"

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
