// One event's subscribed handlers, as both engine libraries keep them for a view:
// each with the token the host removes it by.
#pragma once

#include <windows.h>
#include <eventtoken.h>

#include <wrl/client.h>

#include <cstdint>
#include <utility>
#include <vector>

class AboneListesi {
public:
    HRESULT ekle(IUnknown* isleyici, EventRegistrationToken* jeton)
    {
        if (!isleyici || !jeton)
            return E_POINTER;
        static int64_t sonraki_jeton;
        aboneler_.push_back(Abone{++sonraki_jeton, isleyici});
        jeton->value = sonraki_jeton;
        return S_OK;
    }

    // An unknown token changes nothing, and is no error.
    HRESULT sil(EventRegistrationToken jeton)
    {
        for (auto it = aboneler_.begin(); it != aboneler_.end(); ++it) {
            if (it->jeton == jeton.value) {
                Abone silinen = std::move(*it);   // released after the list is consistent
                aboneler_.erase(it);
                return S_OK;
            }
        }
        return S_OK;
    }

    bool bos() const { return aboneler_.empty(); }

    // Calls every handler with (sender, args) while `devam()` holds. Handlers may
    // subscribe, unsubscribe or close the view meanwhile, so the list is copied and
    // each handler is called only if it is still subscribed when its turn comes.
    template <class Isleyici, class Gonderen, class Arguman, class Devam>
    void yay(Gonderen* gonderen, Arguman* arguman, Devam devam)
    {
        std::vector<Abone> kopya = aboneler_;
        for (const Abone& abone : kopya) {
            if (!devam())
                return;
            if (abone_mi(abone.jeton))
                static_cast<Isleyici*>(abone.isleyici.Get())->Invoke(gonderen, arguman);
        }
    }

    // Lets go of every handler; they are released when the returned list goes.
    AboneListesi bosalt()
    {
        AboneListesi eski;
        eski.aboneler_.swap(aboneler_);
        return eski;
    }

private:
    struct Abone {
        int64_t jeton;
        Microsoft::WRL::ComPtr<IUnknown> isleyici;
    };

    bool abone_mi(int64_t jeton) const
    {
        for (const Abone& abone : aboneler_)
            if (abone.jeton == jeton)
                return true;
        return false;
    }

    std::vector<Abone> aboneler_;
};
