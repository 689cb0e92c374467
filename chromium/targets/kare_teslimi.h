// Frames from the reading thread to the UI thread. Frames are cut out of their
// message without parsing it, acknowledged, and decoded on the reading thread: the
// engine renders the next one while this one is decoded and painted, and never more
// than can be decoded. The UI thread takes only the newest frame of a view; one it
// has not taken yet is replaced, and the UI thread is woken only when none was
// waiting.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "kare.h"

class KareTeslimi {
public:
    // `ver` runs on the UI thread with the session's newest frame.
    using Verici = std::function<void(const std::string& oturum, std::shared_ptr<Kare> kare)>;
    explicit KareTeslimi(Verici ver) : ver_(std::move(ver)) {}

    // From the reading thread.
    void teslim_et(const std::string& oturum, std::shared_ptr<Kare> kare);

private:
    Verici ver_;
    std::mutex kilit_;
    std::map<std::string, std::shared_ptr<Kare>> bekleyenler_;   // by session
};
