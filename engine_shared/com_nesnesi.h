// Small helpers both engine libraries use for their COM objects: taking over a new
// object's first reference, IUnknown for an object of one interface, and a text
// handed to the caller.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <wrl/client.h>

#include <cstring>
#include <string>

// A copy of `metin` in memory the caller frees with CoTaskMemFree.
inline HRESULT com_metni_ver(LPWSTR* deger, const std::wstring& metin)
{
    if (!deger)
        return E_POINTER;
    *deger = static_cast<LPWSTR>(CoTaskMemAlloc((metin.size() + 1) * sizeof(wchar_t)));
    if (!*deger)
        return E_OUTOFMEMORY;
    memcpy(*deger, metin.c_str(), (metin.size() + 1) * sizeof(wchar_t));
    return S_OK;
}

// Takes over the one reference a new object starts with. Not ComPtr::Attach: the
// mingw-w64 version of it adds a reference of its own, and the object would leak.
template <class T>
Microsoft::WRL::ComPtr<T> sahiplen(T* nesne)
{
    Microsoft::WRL::ComPtr<T> sonuc;
    *sonuc.GetAddressOf() = nesne;
    return sonuc;
}

// IUnknown for an object that implements one interface; freed at its last Release.
template <class Arayuz>
class TekArayuz : public Arayuz {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID kimlik, void** nesne) override
    {
        if (!nesne)
            return E_POINTER;
        if (IsEqualIID(kimlik, IID_IUnknown) || IsEqualIID(kimlik, __uuidof(Arayuz))) {
            *nesne = static_cast<Arayuz*>(this);
            this->AddRef();
            return S_OK;
        }
        *nesne = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&sayac)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG kalan = InterlockedDecrement(&sayac);
        if (kalan == 0)
            delete this;
        return static_cast<ULONG>(kalan);
    }
    virtual ~TekArayuz() = default;   // appended after the interface's own slots

protected:
    LONG sayac = 1;
};
