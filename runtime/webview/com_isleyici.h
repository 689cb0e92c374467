// One small COM object for every callback the web engine makes into the runtime.
//
// The engine calls us back through handler interfaces that each have a single
// method, Invoke, after the three IUnknown slots. Rather than a class per
// callback, KomIsleyici<Interface, State, Arguments...> implements any of them:
// it keeps a reference count, a piece of state of its own and a plain function
// that Invoke forwards to. The state lives inside the object, so whatever the
// function writes stays valid for as long as anyone (the engine included) holds a
// reference, even after the code that made the object has stopped waiting for it.
//
// Reference counts change atomically; the object deletes itself at the last
// Release, which also destroys its state (a ComPtr in it releases what it holds).
#pragma once

#include <windows.h>

#include <wrl/client.h>

#include <new>
#include <utility>

template <class Arayuz, class Durum, class... Argumanlar>
class KomIsleyici final : public Arayuz {
public:
    using Islev = HRESULT (*)(Durum& durum, Argumanlar... argumanlar);

    // A new object whose one reference the returned pointer holds; empty when
    // memory is short. (Not ComPtr::Attach: mingw-w64's adds a reference of its
    // own, and the object would never be freed.)
    static Microsoft::WRL::ComPtr<KomIsleyici> olustur(Islev islev, Durum durum) noexcept {
        Microsoft::WRL::ComPtr<KomIsleyici> nesne;
        *nesne.GetAddressOf() = new (std::nothrow) KomIsleyici(islev, std::move(durum));
        return nesne;
    }

    Durum& durum() noexcept { return durum_; }

    // Only the interface itself and IUnknown are answered: handing our object out
    // under any other identifier would let the caller call slots we do not have.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID kimlik, void** cikti) override {
        if (cikti == nullptr) return E_POINTER;
        if (kimlik == __uuidof(Arayuz) || kimlik == __uuidof(IUnknown)) {
            *cikti = static_cast<Arayuz*>(this);
            AddRef();
            return S_OK;
        }
        *cikti = nullptr;
        return E_NOINTERFACE;
    }

    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&sayac_));
    }

    ULONG STDMETHODCALLTYPE Release() override {
        const LONG kalan = InterlockedDecrement(&sayac_);
        if (kalan == 0) delete this;
        return static_cast<ULONG>(kalan);
    }

    HRESULT STDMETHODCALLTYPE Invoke(Argumanlar... argumanlar) override {
        return islev_(durum_, argumanlar...);
    }

private:
    KomIsleyici(Islev islev, Durum durum) : islev_(islev), durum_(std::move(durum)) {}
    ~KomIsleyici() = default;

    volatile LONG sayac_ = 1;
    Islev islev_;
    Durum durum_;
};
