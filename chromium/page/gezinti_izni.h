// Navigations the host has allowed already, for the connection's reading thread.
//
// A page's navigation to a network address or a file is held by the engine before
// its document is requested (Fetch.requestPaused), so that the host can cancel it
// while nothing has been fetched. The engine tells of the navigation a little
// earlier, as it starts (Page.frameStartedNavigating); the host is asked then, on
// the UI thread, and its yes is noted here. The held request that follows is then
// let go on the reading thread the moment it comes, instead of after a trip through
// the UI thread's queue; the UI thread still gets the event and finds it answered.
//
// A yes holds for one request: the one held for that main frame with that
// navigation's document request id (the engine's loader id) and that address
// (fragments aside), and only until the UI thread takes it back (another
// navigation, a stop, a commit, the view closing). Whatever the reading thread does
// not find here goes to the UI thread as before, which asks the host.
#pragma once

#include <map>
#include <mutex>
#include <set>
#include <string>

class GezintiIzinleri {
public:
    // One for the process: frame ids are unique within the engine.
    static GezintiIzinleri& tek();

    // UI thread: the host allowed main frame `cerceve` to request `adres` (the
    // engine's form of the address) as the navigation of loader `yukleyici`.
    void izin_ver(const std::string& cerceve, const std::string& yukleyici, const std::string& adres);
    // UI thread: what was allowed for the frame holds no longer.
    void geri_al(const std::string& cerceve);
    // Reading thread: request `istek` of `cerceve` for `adres`, network id `ag`, is
    // held (not a redirect). True when it was allowed: the yes is used up and
    // `istek` noted as let go.
    bool birak_mi(const std::string& cerceve, const std::string& ag, const std::string& adres,
                  const std::string& istek);
    // UI thread: true, once, for a request the reading thread let go.
    bool birakildi_mi(const std::string& istek);

    // The address without its fragment, as the engine names a request.
    static std::string parcasiz(const std::string& adres);

private:
    std::mutex kilit_;
    struct Izin {
        std::string yukleyici, adres;
    };
    std::map<std::string, Izin> izinler_;   // by main frame
    std::set<std::string> birakilanlar_;            // request ids let go, not yet seen by the UI
};
