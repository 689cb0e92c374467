// The engine's protocol channel: NUL-ended JSON messages over one socket. Start at
// MotorKanali::ileti_oku.
#include "kanal.h"

#include <algorithm>
#include <cstring>

namespace {

// recv and send take an int length; one receive takes at most this much, and large
// messages go out in slices of this size.
constexpr size_t DILIM = 1024 * 1024;
// A message buffer that grew past this is given back after its message, so that one
// large message does not keep its memory for the life of the connection.
constexpr size_t TUTULAN_TAMPON = 16u * 1024 * 1024;

bool okunabilir(SOCKET soket, DWORD ms)
{
    fd_set kume;
    FD_ZERO(&kume);
    FD_SET(soket, &kume);
    timeval sure = {static_cast<long>(ms / 1000), static_cast<long>((ms % 1000) * 1000)};
    return select(0, &kume, nullptr, nullptr, ms == INFINITE ? nullptr : &sure) > 0;
}

}  // namespace

MotorKanali::MotorKanali(SOCKET soket) : soket_(soket) {}

MotorKanali::~MotorKanali()
{
    if (soket_ != INVALID_SOCKET)
        closesocket(soket_);
}

MotorKanali::Okuma MotorKanali::ileti_oku(std::string* ileti, DWORD bekleme_ms)
{
    const ULONGLONG son = bekleme_ms == INFINITE ? 0 : GetTickCount64() + bekleme_ms;
    for (;;) {
        // Whatever was received already: up to the next NUL into the message.
        while (parca_basi_ < parca_sonu_) {
            const char* bas = parca_.data() + parca_basi_;
            const size_t mevcut = parca_sonu_ - parca_basi_;
            const char* nul = static_cast<const char*>(memchr(bas, '\0', mevcut));
            const size_t alinan = nul != nullptr ? static_cast<size_t>(nul - bas) : mevcut;
            if (atlaniyor_) {
                parca_basi_ += alinan;
                if (nul == nullptr)
                    break;
                ++parca_basi_;
                atlaniyor_ = false;
                ileti->swap(birikim_);
                birikim_.clear();
                return Okuma::Asiri;
            }
            if (alinan > KANAL_AZAMI_ILETI - birikim_.size()) {
                // Only the message's start is kept, for its id; the rest is skipped
                // as it comes, so the memory it takes stays small.
                const size_t tutulan = std::min(birikim_.size(), KANAL_ASIRI_BASI);
                std::string basi = birikim_.substr(0, tutulan);
                basi.append(bas, std::min(alinan, KANAL_ASIRI_BASI - tutulan));
                birikim_.swap(basi);
                atlaniyor_ = true;
                continue;
            }
            birikim_.append(bas, alinan);
            parca_basi_ += alinan;
            if (nul == nullptr)
                break;
            ++parca_basi_;
            if (birikim_.empty())
                continue;
            ileti->swap(birikim_);
            birikim_.clear();
            if (birikim_.capacity() > TUTULAN_TAMPON)
                std::string().swap(birikim_);
            return Okuma::Ileti;
        }
        if (bekleme_ms != INFINITE) {
            const ULONGLONG simdi = GetTickCount64();
            if (simdi >= son || !okunabilir(soket_, static_cast<DWORD>(son - simdi)))
                return Okuma::ZamanAsimi;
        }
        if (parca_.empty())
            parca_.resize(DILIM);
        const int n = recv(soket_, parca_.data(), static_cast<int>(parca_.size()), 0);
        if (n <= 0)
            return Okuma::Bitti;
        parca_basi_ = 0;
        parca_sonu_ = static_cast<size_t>(n);
    }
}

bool MotorKanali::gonder(const std::string& metin)
{
    std::lock_guard<std::mutex> kilit(yazma_kilidi_);
    // A NUL inside would end the message early and make the rest a message of its own.
    if (metin.find('\0') != std::string::npos)
        return false;
    const auto hepsini_gonder = [this](const char* veri, size_t uzunluk) {
        for (size_t gonderilen = 0; gonderilen < uzunluk;) {
            const int n = send(soket_, veri + gonderilen, static_cast<int>(std::min(uzunluk - gonderilen, DILIM)), 0);
            if (n <= 0)
                return false;
            gonderilen += static_cast<size_t>(n);
        }
        return true;
    };
    // The NUL goes with the message's last slice: a send of its own would make a
    // segment of its own, and the engine would wait for it.
    const size_t bas_kismi = metin.size() > DILIM ? metin.size() - metin.size() % DILIM : 0;
    std::string son_kisim;
    son_kisim.reserve(metin.size() - bas_kismi + 1);
    son_kisim.append(metin, bas_kismi, std::string::npos).push_back('\0');
    const bool tamam = hepsini_gonder(metin.data(), bas_kismi) && hepsini_gonder(son_kisim.data(), son_kisim.size());
    // A message cut short leaves the stream unreadable for the engine.
    if (!tamam)
        shutdown(soket_, SD_BOTH);
    return tamam;
}

void MotorKanali::kes()
{
    shutdown(soket_, SD_BOTH);
}
