// The windows pages open. A page's popup is a target of its own that the engine
// attaches and holds before it runs, as it does every page; the opener's view hears
// of it (Page.windowOpen) and asks the host, which may give a fresh view for it.
// Either way the popup is taken here by its opener's target: handed to that view,
// or closed without fetching anything. The popup and the host's decision may come
// in either order; a popup nobody takes within a few seconds is closed, and a
// decision whose popup never came is told so.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <map>
#include <string>

class AcilanPencereler {
public:
    // Gets a popup's target and held session (both empty when none came).
    using Al = std::function<void(std::string hedef, std::string oturum)>;
    // Closes a held popup without letting it fetch anything.
    using Kapat = std::function<void(const std::string& hedef, const std::string& oturum)>;

    explicit AcilanPencereler(Kapat kapat) : kapat_(std::move(kapat)) {}
    ~AcilanPencereler();
    AcilanPencereler(const AcilanPencereler&) = delete;
    AcilanPencereler& operator=(const AcilanPencereler&) = delete;

    // The page of target `acan` opened a popup, attached and held with `oturum`.
    void tutuldu(const std::string& acan, const std::string& hedef, const std::string& oturum);
    // The host decided about the oldest popup of `acan`: `al` gets it.
    void al(const std::string& acan, Al al);
    // A new engine: nothing of the old one is held any more.
    void sifirla();

private:
    struct Tutulan {
        std::string hedef, oturum;
        DWORD zaman;
    };
    struct Bekleyen {
        Al al;
        DWORD zaman;
    };
    void temizligi_kur();
    void eskileri_temizle();

    Kapat kapat_;
    std::map<std::string, std::deque<Tutulan>> tutulanlar_;   // by opener, oldest first
    std::map<std::string, std::deque<Bekleyen>> bekleyenler_;  // decisions by opener, their popup not come yet
    UINT_PTR temizlik_ = 0;
};
