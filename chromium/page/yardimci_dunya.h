// The library's page-side helpers run in an isolated world (protokol::YARDIMCI_DUNYA):
// they share the page's document but not its globals, so the page's own scripts can
// neither see nor call them. Here: putting a helper script and its bindings into that
// world of every document, the target's first document included, and knowing the
// top frame's context of that world, for evaluating there on demand.
#pragma once

#include "giden.h"

#include <initializer_list>
#include <set>
#include <string>

class YardimciBaglam;

// Puts `kaynak` into the helper world of every new document of the target (whose
// top frame's id is `hedef`), and now into its current document too; the bindings
// exist in that world alone. The world made for the current document is told to
// `baglam` when one is given. Every answer reaches `yanit`; returns how many.
int yardimci_betik_kur(Giden& giden, const std::string& hedef, const char* kaynak,
                       std::initializer_list<const char*> baglar, const Giden::Yanit& yanit,
                       YardimciBaglam* baglam = nullptr);

// The helper world's contexts in the top frame, followed from the engine's events.
// A view holds one for the helpers of all its managers, who are given it.
// A first document may hold several, one for each helper put into it after it
// existed; a navigation's document has one. With `dunya` null it follows only the
// contexts it is told of (ekle), until the engine ends them: the worlds the host
// makes itself (see protokol_cagrilari.h).
class YardimciBaglam {
public:
    explicit YardimciBaglam(std::string hedef, const char* dunya = protokol::YARDIMCI_DUNYA)
        : hedef_(std::move(hedef)), dunya_(dunya)
    {
    }

    // The engine's context events, which the view hands on (see yonlendirici.h).
    void olustu(const protokol::ExecutionContextDescription& baglam);
    void bitti(int64_t kimlik);
    void temizlendi();
    // A context made on our request for the current document.
    void ekle(int64_t kimlik);
    // The newest one, for evaluating there; 0 while there is none (between documents).
    int64_t kimlik() const { return kimlik_; }
    // Whether `kimlik` is one of them: only calls from these are the library's.
    bool icinde_mi(int64_t kimlik) const { return kimlikler_.count(kimlik) > 0; }

private:
    const std::string hedef_;
    const char* const dunya_;
    int64_t kimlik_ = 0;
    std::set<int64_t> kimlikler_;
};
