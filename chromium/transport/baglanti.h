// The connection to the engine process: headless Chromium, started by this library,
// spoken to over its DevTools protocol: NUL-ended JSON messages on one loopback
// socket that the engine holds as its descriptors 3 and 4 (--remote-debugging-pipe).
// The engine listens on no port; only this process holds the other end.
//
// Threads. Everything here is created and used on one thread, the host's UI thread
// (the thread that made the environment). Reading the socket happens on a thread of
// its own, which parses each message and posts it to the UI thread; every callback
// below therefore runs on the UI thread, from inside DispatchMessageW of a
// message-only window, and never inside the call that caused it.
//
// Lifetime. One engine process per host process. The engine is started through a
// shell line that first connects back to a loopback port this library listens on
// (only while starting) and proves itself with a secret token, then gives that
// connection to the engine as its channel. When the host process ends, for any
// reason (closed, crashed, killed), the socket closes: the engine reads its end and
// exits, and the shell kills what is left of it and removes its profile.
#pragma once

#include <windows.h>

#include <nlohmann/json.hpp>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

using Json = nlohmann::json;

// How long the engine may take to answer its first command.
constexpr DWORD MOTOR_BASLAMA_SURESI_MS = 20000;

struct MotorAyari {
    // The engine binary as a Unix path. Empty: KORVA_CHROMIUM from the environment,
    // else /usr/lib/chromium/chromium.
    std::string ikili;
    // A Windows folder; the engine's private profile goes in a subfolder of it
    // (chromium_profili, with the engine's own output in chromium.log there).
    std::wstring kullanici_klasoru;
    // When set, called on the starting thread with the port the library listens on
    // for the engine's shell, before the shell is started: for watching the start.
    std::function<void(int port)> dinliyor;
};

// The engine's private profile for a host folder (readable by this user alone, and
// removed when the engine ends): a Windows path; empty for an empty folder.
std::wstring motor_profil_klasoru(const std::wstring& kullanici_klasoru);
// A Windows path as the engine names it (the Unix path under Wine); empty when there
// is no such conversion.
std::string motor_icin_yol(const std::wstring& yol);
// The other way: a Unix path of the engine's side as a Windows path; empty when there
// is no such conversion.
std::wstring motor_yolundan(const std::string& unix_yolu);

class Baglanti {
public:
    // A reply: `sonuc` is the message's "result" (an empty object when it has none);
    // `hata` is null on success, else the message's "error" object, or a made-up
    // {"code":-1,"message":...} when the connection ended before the reply came.
    using Yanit = std::function<void(const Json& sonuc, const Json* hata)>;
    // An event: the session id ("" for the browser's own), the method, "params".
    using Olay = std::function<void(const std::string& oturum, const std::string& yontem, const Json& parametreler)>;
    // Runs on the reading thread for one event method, before anything is posted;
    // returns true when it has dealt with the message itself (nothing is posted).
    using OnIsleyici = std::function<bool(const std::string& oturum, Json& ileti)>;
    // Runs on the reading thread for one event method, before the message is even
    // parsed: `ileti` is the message's text (valid during the call only), `oturum` its
    // session id ("" for the browser's own). Returns true when it has dealt with the
    // message itself; false sends it the usual way (parsed, to an on_isleyici for
    // its method, then to the UI thread), so a hook that finds the message other than
    // it expects can leave it to the normal path. The method and session are read by
    // a scanner that only walks the message's top-level keys; a message it does not
    // find well formed goes the usual way without reaching the hook.
    using HamIsleyici = std::function<bool(const std::string& oturum, std::string_view ileti)>;
    // Merges the parameters of a command asked for later into those of the one kept
    // to go next (see sirayla_gonder).
    using Birlestir = std::function<void(Json& bekleyen, const Json& yeni)>;

    // Starts the engine and connects, on a thread of its own; `bitti` runs on the
    // UI thread later with S_OK and the connection, or a failure code and null:
    // HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) when the binary is missing,
    // HRESULT_FROM_WIN32(ERROR_TIMEOUT) when the engine's shell did not connect or the
    // engine did not answer its first command within MOTOR_BASLAMA_SURESI_MS,
    // E_FAIL for anything else (the engine ended before answering, among others). Returns a failure code at once (and `bitti` never
    // runs) only when not even the start could be attempted.
    static HRESULT baslat(const MotorAyari& ayar,
                          std::function<void(HRESULT, std::shared_ptr<Baglanti>)> bitti);

    // Sends one command; the reply reaches `yanit` (may be empty) on the UI thread.
    // On a closed connection `yanit` is posted at once with an error. Returns the id.
    // A command without a reply may also be sent from the reading thread, inside an
    // `on_isleyici`.
    int64_t gonder(const std::string& yontem, Json parametreler = Json::object(),
                   const std::string& oturum = std::string(), Yanit yanit = nullptr);

    // Commands of one stream (`akis`, a name the caller picks) go one at a time: one
    // is sent at once when none of its stream waits for an answer; else it is kept,
    // merged by `birlestir` into one kept before, and sent from the reading thread
    // the moment the engine answers the one before, however busy the UI thread is.
    // The answers reach nobody. For input that must keep the engine's pace, not the
    // host's: the wheel, whose next event waits for the page to take the one before.
    // Nothing is sent on a closed connection.
    void sirayla_gonder(const std::string& akis, const std::string& yontem, Json parametreler,
                        const std::string& oturum, const Birlestir& birlestir);

    // Every event (a message with no id) goes to the one listener.
    void olay_dinle(Olay dinleyici);
    void on_isleyici(const std::string& yontem, OnIsleyici isleyici);
    // An empty `isleyici` removes the method's hook. A method may have both kinds:
    // the raw hook runs first.
    void ham_isleyici(const std::string& yontem, HamIsleyici isleyici);
    // Runs once on the UI thread when the connection ends (the engine exited, was
    // killed, or closed it); replies still awaited are failed first.
    void kapaninca(std::function<void()> dinleyici);

    bool acik_mi() const;
    // Posts work to the UI thread (from any thread); false once the library unloads,
    // and before the first baslat (whose thread becomes the UI thread).
    static bool ui_da_calistir(std::function<void()> is);

    // Asks the engine to close (Browser.close) and waits up to `sure_ms` for the
    // connection to end; then closes the sockets, which ends the engine regardless.
    void kapat(DWORD sure_ms = 2000);

    // Ends the engine without waiting (kapat first for an orderly end). No listener
    // or hook runs afterwards; replies still awaited fail later on the UI thread.
    ~Baglanti();
    struct Ic;
    explicit Baglanti(std::unique_ptr<Ic> ic);

private:
    std::unique_ptr<Ic> ic_;
};
