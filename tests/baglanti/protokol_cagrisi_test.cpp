// The host's protocol calls without the engine: what the list lets through is
// recorded instead of sent, and answers are played back.
#include "kayitli_giden.h"
#include "protokol_cagrilari.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A completion handler that keeps what it was given.
class Tamamlayici final : public ICoreWebView2CallDevToolsProtocolMethodCompletedHandler {
public:
    int cagri = 0;
    HRESULT kod = S_OK;
    std::wstring json;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** cikti) override
    {
        *cikti = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Invoke(HRESULT gelen, LPCWSTR metin) override
    {
        ++cagri;
        kod = gelen;
        json = metin ? metin : L"";
        return S_OK;
    }
};

struct Cagrilar : ::testing::Test {
    Tamamlayici tamamlayici;   // first: the answers kept below hold it until the end
    KayitliGiden giden;
    ProtokolCagrilari cagrilar{giden, "T1"};

    HRESULT cagir(const char* yontem, const std::string& parametreler)
    {
        return cagrilar.cagir(yontem, parametreler, &tamamlayici);
    }
    // Makes the host's world whose context is `kimlik`, as the engine answers it.
    void dunya_yap(int64_t kimlik)
    {
        ASSERT_EQ(S_OK, cagir("Page.createIsolatedWorld", R"({"frameId":"T1","worldName":"bul"})"));
        giden.komutlar.back().yanit({{"executionContextId", kimlik}}, nullptr);
    }
};

}  // namespace

// Methods off the list, bad text and the library's own helper world are refused at
// once, and nothing reaches the engine; a method on it goes as the host gave it and
// its answer (or the engine's error) reaches the handler.
TEST_F(Cagrilar, YalnizListedekiYontemlerGider)
{
    EXPECT_EQ(E_ACCESSDENIED, cagir("Page.navigate", R"({"url":"http://x/"})"));
    EXPECT_EQ(E_ACCESSDENIED, cagir("Runtime.addBinding", R"({"name":"x"})"));
    EXPECT_EQ(E_ACCESSDENIED, cagir("Input.insertText", R"({"text":"x"})"));
    EXPECT_EQ(E_INVALIDARG, cagir("Page.getFrameTree", "yok"));
    EXPECT_EQ(E_INVALIDARG, cagir("Page.getFrameTree", "[]"));
    EXPECT_EQ(E_ACCESSDENIED, cagir("Page.createIsolatedWorld", R"({"frameId":"T1","worldName":"__korva"})"));
    EXPECT_EQ(E_ACCESSDENIED,
              cagir("Page.createIsolatedWorld", R"({"frameId":"T1","worldName":"a","grantUniversalAccess":true})"));
    EXPECT_EQ(E_ACCESSDENIED, cagir("Page.captureSnapshot", R"({"format":"png"})"));
    EXPECT_TRUE(giden.komutlar.empty());

    ASSERT_EQ(S_OK, cagir("Page.getFrameTree", "{}"));
    ASSERT_EQ(1u, giden.komutlar.size());
    EXPECT_EQ("Page.getFrameTree", giden.komutlar[0].yontem);
    giden.komutlar[0].yanit({{"frameTree", {{"frame", {{"id", "T1"}}}}}}, nullptr);
    EXPECT_EQ(1, tamamlayici.cagri);
    EXPECT_EQ(S_OK, tamamlayici.kod);
    EXPECT_EQ(LR"({"frameTree":{"frame":{"id":"T1"}}})", tamamlayici.json);

    ASSERT_EQ(S_OK, cagir("Page.captureSnapshot", "{}"));
    Json hata = {{"code", -32000}, {"message", "yok"}};
    giden.komutlar.back().yanit(Json::object(), &hata);
    EXPECT_EQ(E_FAIL, tamamlayici.kod);
    EXPECT_EQ(LR"({"code":-32000,"message":"yok"})", tamamlayici.json);
}

// Scripts run only in a world made through these calls, never with a gesture, and
// only until the engine ends that world.
TEST_F(Cagrilar, BetikYalnizHostunDunyasindaJestsizCalisir)
{
    const std::string betik = R"("expression":"1","returnByValue":true)";
    EXPECT_EQ(E_ACCESSDENIED, cagir("Runtime.evaluate", "{" + betik + "}")) << "the page's own world";
    EXPECT_EQ(E_ACCESSDENIED, cagir("Runtime.evaluate", "{" + betik + R"(,"contextId":7})"));
    dunya_yap(7);
    EXPECT_EQ(E_ACCESSDENIED, cagir("Runtime.evaluate", "{" + betik + R"(,"contextId":8})"));
    EXPECT_EQ(E_ACCESSDENIED, cagir("Runtime.evaluate", "{" + betik + R"(,"contextId":7,"userGesture":true})"));
    EXPECT_EQ(E_ACCESSDENIED,
              cagir("Runtime.evaluate", "{" + betik + R"(,"contextId":7,"uniqueContextId":"x"})"));
    EXPECT_EQ(E_ACCESSDENIED,
              cagir("Runtime.callFunctionOn",
                    R"({"functionDeclaration":"f","executionContextId":7,"arguments":[{"objectId":"1"}]})"));
    EXPECT_EQ(E_ACCESSDENIED, cagir("Runtime.callFunctionOn", R"({"functionDeclaration":"f","objectId":"1"})"));
    const size_t once = giden.komutlar.size();

    ASSERT_EQ(S_OK, cagir("Runtime.evaluate", "{" + betik + R"(,"contextId":7})"));
    ASSERT_EQ(S_OK, cagir("Runtime.callFunctionOn",
                          R"({"functionDeclaration":"f","executionContextId":7,"arguments":[{"value":"a"}]})"));
    ASSERT_EQ(once + 2, giden.komutlar.size());
    EXPECT_EQ(7, giden.komutlar[once].parametreler["contextId"]);
    EXPECT_FALSE(giden.komutlar[once].parametreler.value("userGesture", false));

    // A navigation clears the page's contexts: that world is gone with them.
    cagrilar.baglamlar_temizlendi();
    EXPECT_EQ(E_ACCESSDENIED, cagir("Runtime.evaluate", "{" + betik + R"(,"contextId":7})"));
    dunya_yap(9);
    cagrilar.baglam_bitti(9);
    EXPECT_EQ(E_ACCESSDENIED, cagir("Runtime.evaluate", "{" + betik + R"(,"contextId":9})"));
}
