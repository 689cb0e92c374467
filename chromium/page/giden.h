// The outbox a page's managers send through: commands to the page's target (or to
// the engine itself), and work for later. The view implements it over the
// connection; tests implement it over a record of what was sent.
//
// Promises every implementation keeps, and every manager relies on:
// - an answer, and work given to `sonra`, runs later from the message loop, never
//   inside the call, and only while the view is still open;
// - to a page whose process has died nothing goes but a load (which brings it
//   back); any other command is answered at once with an error.
#pragma once

#include "protokol.h"

#include <functional>
#include <utility>

class Giden {
public:
    // `sonuc` is the answer's "result"; `hata` is null on success, else its "error".
    using Yanit = std::function<void(const Json& sonuc, const Json* hata)>;

    virtual void gonder(const char* yontem, Json parametreler, Yanit yanit) = 0;
    virtual void motora_gonder(const char* yontem, Json parametreler, Yanit yanit) = 0;
    // Merges the parameters of a command asked for later into those kept to go next.
    using Birlestir = std::function<void(Json& bekleyen, const Json& yeni)>;
    // A command of which one at a time waits for the engine: sent at once when none
    // of the same method waits, else kept (merged by `birlestir` with any kept before)
    // and sent the moment the engine answers, without waiting for the message loop.
    // Nobody hears the answer.
    virtual void sirayla_gonder(const char* yontem, Json parametreler, const Birlestir& birlestir) = 0;
    // False when it cannot be scheduled (the library is unloading).
    virtual bool sonra(std::function<void()> is) = 0;
    // The same, `ms` milliseconds from now at the earliest.
    virtual bool zamanla(unsigned ms, std::function<void()> is) = 0;

    template <class Komut>
    void gonder(const Komut& komut, Yanit yanit = nullptr)
    {
        gonder(Komut::YONTEM, Json(komut), std::move(yanit));
    }
    template <class Komut>
    void motora_gonder(const Komut& komut, Yanit yanit = nullptr)
    {
        motora_gonder(Komut::YONTEM, Json(komut), std::move(yanit));
    }

protected:
    ~Giden() = default;
};
