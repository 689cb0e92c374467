// Frames from the reading thread to the UI thread. The reading thread cuts each
// frame out of its message and acknowledges it (the engine renders the next one
// meanwhile), then hands its JPEG to a decoding thread of this object's own and goes
// on at once: an answer that comes right behind a frame (the one to a wheel event,
// which lets the next wheel event go) waits behind no decoding. Per view only the
// newest frame counts at each step: one replaced before its decoding began is never
// decoded, and a decoded one the UI thread has not taken yet is replaced by the
// next. The UI thread is woken only when none was waiting for it.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "kare.h"

class KareTeslimi {
public:
    // `ver` runs on the UI thread with the session's newest frame.
    using Verici = std::function<void(const std::string& oturum, std::shared_ptr<Kare> kare)>;
    explicit KareTeslimi(Verici ver) : ver_(std::move(ver)) {}
    KareTeslimi(const KareTeslimi&) = delete;
    KareTeslimi& operator=(const KareTeslimi&) = delete;

    // From the reading thread: a session's frame, its JPEG in base64 as cut out of
    // the message (copied here; a JSON string's escapes are allowed). Without a
    // decoding thread (it could not be started) the frame is decoded right here.
    void coz_ve_teslim_et(const std::string& oturum, std::string_view base64);

private:
    struct Cozme;
    static DWORD WINAPI cozme_dongusu(void* parametre);
    void coz(Cozme& cozme, const std::string& oturum, std::string_view base64);
    void teslim_et(const std::string& oturum, std::shared_ptr<Kare> kare);

    Verici ver_;
    std::mutex kilit_;
    std::map<std::string, std::shared_ptr<Kare>> bekleyenler_;   // decoded, by session
    // The decoding thread's side, made with the first frame; never freed, since the
    // thread waits on it for the rest of the process (this object lives as long).
    Cozme* cozme_ = nullptr;
    bool cozme_kuruldu_ = false;
};
