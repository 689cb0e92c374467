// The host's own calls of the engine's protocol (ICoreWebView2::CallDevToolsProtocolMethod).
// Only a short list of methods that read the page from outside its reach is
// served; every other method, and every parameter that is not on a method's list,
// fails the call:
//   Page.getFrameTree          the frames, to name one;
//   Page.createIsolatedWorld   a world of the host's own in a frame's document
//                              (frameId, worldName; never universal access, and no
//                              name of the library's own helpers, "__korva...");
//   Runtime.evaluate           expression, contextId, returnByValue, awaitPromise,
//                              silent: only in a context that createIsolatedWorld
//                              gave through this call, never with a user gesture;
//   Runtime.callFunctionOn     functionDeclaration, executionContextId, arguments
//                              (plain values only), returnByValue, awaitPromise,
//                              silent: the same contexts, never a gesture;
//   Page.captureSnapshot       format "mhtml" (the only one).
// The page's scripts cannot see such a world nor call into it, and the page gets
// no user activation from what runs there. These calls come from the host alone:
// nothing a page does reaches this object.
//
// Answers, on the UI thread from the message loop: the handler gets S_OK and the
// method's result object as JSON text, or E_FAIL and the engine's error object.
// A method or parameters refused here fail the call itself (E_ACCESSDENIED; text
// that is no JSON object: E_INVALIDARG) and the handler is never invoked.
#pragma once

#include "giden.h"
#include "yardimci_dunya.h"
#include "wv2_arayuz.h"

#include <string>

class ProtokolCagrilari {
public:
    ProtokolCagrilari(Giden& giden, std::string hedef) : giden_(giden), dunyalar_(std::move(hedef), nullptr) {}

    HRESULT cagir(const std::string& yontem, const std::string& parametreler,
                  ICoreWebView2CallDevToolsProtocolMethodCompletedHandler* isleyici);

    // ---- From the engine, as the view hands it on: the ends of the host's worlds.
    void baglam_bitti(int64_t kimlik) { dunyalar_.bitti(kimlik); }
    void baglamlar_temizlendi() { dunyalar_.temizlendi(); }

private:
    Giden& giden_;
    YardimciBaglam dunyalar_;   // the contexts of the worlds made through this object
};
