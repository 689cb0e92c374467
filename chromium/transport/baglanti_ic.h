// What the connection's files share (baglanti.cpp, okuma.cpp, motor_baslatma.cpp):
// the state the UI thread and the reading thread hold together, and a deadline.
//
// Who owns what. Baglanti::Ic holds the shared state (Ortak); the reading thread and
// every queued piece of work hold it too, so it lives until the last of them is
// done and nothing ever touches freed memory. The channel belongs to Ortak and is
// closed when Ortak goes; whoever ends the engine only cuts it (which any thread
// may do), so the reading thread never reads a closed socket. Replies awaited and
// the listeners are touched on the UI thread only; on_isleyici and ham_isleyici
// hooks are read by the reading thread under a lock.
#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <mutex>

#include "baglanti.h"
#include "kanal.h"
#include "ui_kuyrugu.h"

// A deadline some milliseconds from now.
class Sinir {
public:
    explicit Sinir(DWORD ms) : bitis_(GetTickCount64() + ms) {}
    DWORD kalan() const
    {
        const ULONGLONG simdi = GetTickCount64();
        return simdi >= bitis_ ? 0 : static_cast<DWORD>(bitis_ - simdi);
    }

private:
    ULONGLONG bitis_;
};

struct Ortak {
    // The one socket both the protocol and the engine's life hang on: closing it (or
    // cutting it) ends the engine, through its shell.
    std::unique_ptr<MotorKanali> kanal;
    // Set by the reading thread when the channel has ended, before it queues the
    // end; gonder() reads it to fail at once.
    std::atomic<bool> acik{true};
    std::atomic<bool> kapatiliyor{false};
    // Set when the reading thread has finished; kapat() waits on it.
    HANDLE okuma_bitti = CreateEventW(nullptr, TRUE, FALSE, nullptr);

    std::mutex on_kilidi;
    std::map<std::string, std::shared_ptr<Baglanti::OnIsleyici>> on_isleyiciler;
    std::map<std::string, std::shared_ptr<Baglanti::HamIsleyici>> ham_isleyiciler;

    // The streams of commands that go one at a time (Baglanti::sirayla_gonder): the
    // UI thread keeps what waits, the reading thread sends it when the answer before
    // it comes. A stream is forgotten once nothing of it is awaited.
    struct Akis {
        std::string yontem, oturum;
        bool bekliyor = false;   // `bekleyen` is to go when the answer comes
        Json bekleyen;
    };
    std::mutex akis_kilidi;
    std::map<std::string, Akis> akislar;
    std::map<int64_t, std::string> akis_yanitlari;   // the id awaited -> its stream

    // UI thread only.
    std::atomic<int64_t> son_id{0};   // commands are sent from the UI thread and, for frame acknowledgements, the reading thread
    std::map<int64_t, Baglanti::Yanit> bekleyenler;
    std::shared_ptr<Baglanti::Olay> olay_dinleyici;
    std::function<void()> kapanis_dinleyici;
    bool kapanis_bildirildi = false;
    bool yok_edildi = false;

    ~Ortak()
    {
        if (surec_bitiyor()) {
            // The process is ending; its sockets close with it.
            kanal.release();
            return;
        }
        if (okuma_bitti != nullptr)
            CloseHandle(okuma_bitti);
    }

    // Writes one command, from any thread; false when nothing was written (the
    // connection has ended, or the command could not be written).
    bool yaz(int64_t id, const std::string& yontem, Json parametreler, const std::string& oturum);

    // From the reading thread, for every answer: true when it was a stream's, which
    // lets the stream's next command go.
    bool akis_yanitlandi(int64_t id);
    // A stream's command that could not be written: nothing of it is awaited.
    void akisi_birak(int64_t id);

    // Cutting the channel is what ends the engine: it reads the end and exits, and
    // its shell kills what is left of it.
    void motoru_bitir()
    {
        if (kanal)
            kanal->kes();
    }

    void yanit_teslim(const Json& ileti)
    {
        const auto bulunan = bekleyenler.find(ileti["id"].get<int64_t>());
        if (bulunan == bekleyenler.end())
            return;
        Baglanti::Yanit yanit = std::move(bulunan->second);
        bekleyenler.erase(bulunan);
        static const Json BOS = Json::object();
        const auto sonuc = ileti.find("result");
        const auto hata = ileti.find("error");
        yanit(sonuc != ileti.end() ? *sonuc : BOS, hata != ileti.end() ? &*hata : nullptr);
    }

    // An awaited reply that came unusable fails as if the engine had refused it.
    void yanit_hatasi(int64_t id, const char* neden)
    {
        const auto bulunan = bekleyenler.find(id);
        if (bulunan == bekleyenler.end())
            return;
        Baglanti::Yanit yanit = std::move(bulunan->second);
        bekleyenler.erase(bulunan);
        const Json hata = {{"code", -1}, {"message", neden}};
        yanit(Json::object(), &hata);
    }

    void olay_teslim(const std::string& oturum, const std::string& yontem, const Json& ileti)
    {
        // A copy: the listener may destroy the connection, and with it the member.
        const std::shared_ptr<Baglanti::Olay> dinleyici = olay_dinleyici;
        if (yok_edildi || !dinleyici || !*dinleyici)
            return;
        static const Json BOS = Json::object();
        const auto parametreler = ileti.find("params");
        (*dinleyici)(oturum, yontem, parametreler != ileti.end() ? *parametreler : BOS);
    }

    // The connection has ended: every reply still awaited fails, then the listener
    // hears it, once.
    void kapanisi_bildir(const char* neden)
    {
        if (kapanis_bildirildi)
            return;
        kapanis_bildirildi = true;
        const Json hata = {{"code", -1}, {"message", neden}};
        while (!bekleyenler.empty()) {
            Baglanti::Yanit yanit = std::move(bekleyenler.begin()->second);
            bekleyenler.erase(bekleyenler.begin());
            yanit(Json::object(), &hata);
        }
        std::function<void()> dinleyici = std::move(kapanis_dinleyici);
        kapanis_dinleyici = nullptr;
        if (dinleyici && !yok_edildi)
            dinleyici();
    }
};

struct Baglanti::Ic {
    std::shared_ptr<Ortak> ortak;
};

// Starts the reading thread over `ortak`'s channel: every message is parsed, offered
// to a hook, and queued for the UI thread in the order it came; the end is reported
// to the UI thread once. False when no thread could be made (the end is then
// reported at once).
bool okumaya_basla(const std::shared_ptr<Ortak>& ortak);
