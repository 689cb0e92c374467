// Held targets. The engine attaches every new page target by itself and holds it
// before it runs anything. The library's own are taken by the creation that made
// them, whose answer comes after the attachment (or, rarely, before it: then the
// creation waits for it). A held page nobody takes within a few seconds is closed,
// and a creation whose target never came is told so.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>

class TutulanHedefler {
public:
    // `al` gets the held session of the target the library made (empty when none came).
    void oturumunu_al(const std::string& hedef, std::function<void(std::string)> al);
    // A target of the library's was attached and is held with this session.
    void tutuldu(const std::string& hedef, const std::string& oturum);
    // A new engine: nothing of the old one is held any more.
    void sifirla();

private:
    struct Tutulan {
        std::string oturum;
        DWORD zaman;
    };
    struct Bekleyen {
        std::function<void(std::string)> al;
        DWORD zaman;
    };
    void temizligi_kur();
    void sahipsizleri_temizle();

    std::map<std::string, Tutulan> tutulanlar_;   // by target id, not taken yet
    std::map<std::string, Bekleyen> bekleyenler_;  // creations by target id, the attachment not come yet
    UINT_PTR temizlik_ = 0;
};
