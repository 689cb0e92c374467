// An outbox for the page managers' tests: every command a manager sends is recorded
// (its method, its parameters, the function for its answer) instead of sent, and the
// work it leaves for the message loop is queued for the test to run.
#pragma once

#include "giden.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

class KayitliGiden : public Giden {
public:
    struct Komut {
        std::string yontem;
        Json parametreler;
        Yanit yanit;
        bool yanitlandi = false;
    };
    std::vector<Komut> komutlar;
    std::deque<std::function<void()>> sonrakiler;

    void gonder(const char* yontem, Json parametreler, Yanit yanit) override
    {
        komutlar.push_back(Komut{yontem, std::move(parametreler), std::move(yanit)});
    }
    void motora_gonder(const char* yontem, Json parametreler, Yanit yanit) override
    {
        gonder(yontem, std::move(parametreler), std::move(yanit));
    }
    // Recorded as sent: the test answers it (or not) as the engine would.
    void sirayla_gonder(const char* yontem, Json parametreler, const Birlestir&) override
    {
        gonder(yontem, std::move(parametreler), nullptr);
    }
    bool sonra(std::function<void()> is) override
    {
        sonrakiler.push_back(std::move(is));
        return true;
    }
    // Delayed work waits with the rest: the test runs it when it chooses.
    bool zamanla(unsigned, std::function<void()> is) override { return sonra(std::move(is)); }
    using Giden::gonder;

    // The commands of one method, in the order sent.
    std::vector<Komut*> hepsi(const char* yontem)
    {
        std::vector<Komut*> secilen;
        for (Komut& komut : komutlar)
            if (komut.yontem == yontem)
                secilen.push_back(&komut);
        return secilen;
    }

    // The commands sent, one line each: the method and what identifies it.
    std::vector<std::string> gonderilenler() const
    {
        std::vector<std::string> satirlar;
        for (const Komut& komut : komutlar) {
            std::string satir = komut.yontem;
            for (const char* alan : {"url", "requestId", "entryId"})
                if (komut.parametreler.contains(alan))
                    satir += " " + komut.parametreler[alan].dump();
            satirlar.push_back(satir);
        }
        return satirlar;
    }
};
