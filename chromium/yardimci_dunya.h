// The library's page-side helpers run in an isolated world (protokol::YARDIMCI_DUNYA):
// they share the page's document but not its globals, so the page's own scripts can
// neither see nor call them. Here: putting a helper script and its bindings into that
// world of every document, the target's first document included, and knowing the
// top frame's context of that world, for evaluating there on demand.
#pragma once

#include "giden.h"

#include <initializer_list>
#include <string>

// Puts `kaynak` into the helper world of every new document of the target (whose
// top frame's id is `hedef`), and now into its current document too; the bindings
// exist in that world alone. Every answer reaches `yanit`; returns how many.
int yardimci_betik_kur(Giden& giden, const std::string& hedef, const char* kaynak,
                       std::initializer_list<const char*> baglar, const Giden::Yanit& yanit);

// The helper world's context in the top frame, followed from the engine's events.
class YardimciBaglam {
public:
    explicit YardimciBaglam(std::string hedef) : hedef_(std::move(hedef)) {}

    // Takes the context events; never claims them (other managers read them too).
    void olay(const std::string& yontem, const Json& parametreler);
    // 0 while there is none (between documents).
    int64_t kimlik() const { return kimlik_; }

private:
    const std::string hedef_;
    int64_t kimlik_ = 0;
};
