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
