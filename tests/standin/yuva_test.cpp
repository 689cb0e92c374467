// Pins our interface declarations to the engine's slot numbers. Each table below is
// written from the engine's published layout, not from our header: the test calls
// slot k through the object's raw table and reads in the call log which method the
// engine received. A declaration out of order would send the call elsewhere, and on
// real Windows that is a crash.
#include "motor_yardim.h"

namespace {

// Argument kinds, one letter per parameter after `this`:
//   o out pointer, h handler, s string, w window, v value 1, z zero or null,
//   t token by value, r rectangle (passed by address on x64), d double.
struct Yuva {
    int numara;
    const char* yontem;
    const char* imza;
};

const Yuva ORTAM[] = {
    {3, "CreateCoreWebView2Controller", "wh"}, {4, "CreateWebResourceResponse", "zzssz"},
    {5, "get_BrowserVersionString", "o"},       {6, "add_NewBrowserVersionAvailable", "ho"},
    {7, "remove_NewBrowserVersionAvailable", "t"},
};

const Yuva DENETLEYICI[] = {
    {3, "get_IsVisible", "o"}, {4, "put_IsVisible", "v"}, {5, "get_Bounds", "o"}, {6, "put_Bounds", "r"},
    {7, "get_ZoomFactor", "o"}, {8, "put_ZoomFactor", "d"}, {9, "add_ZoomFactorChanged", "ho"},
    {10, "remove_ZoomFactorChanged", "t"}, {11, "SetBoundsAndZoomFactor", "rd"}, {12, "MoveFocus", "z"},
    {13, "add_MoveFocusRequested", "ho"}, {14, "remove_MoveFocusRequested", "t"}, {15, "add_GotFocus", "ho"},
    {16, "remove_GotFocus", "t"}, {17, "add_LostFocus", "ho"}, {18, "remove_LostFocus", "t"},
    {19, "add_AcceleratorKeyPressed", "ho"}, {20, "remove_AcceleratorKeyPressed", "t"},
    {21, "get_ParentWindow", "o"}, {22, "put_ParentWindow", "w"}, {23, "NotifyParentWindowPositionChanged", ""},
    {24, "Close", ""}, {25, "get_CoreWebView2", "o"},
};

const Yuva GORUNUM[] = {
    {3, "get_Settings", "o"}, {4, "get_Source", "o"}, {5, "Navigate", "s"}, {6, "NavigateToString", "s"},
    {7, "add_NavigationStarting", "ho"}, {8, "remove_NavigationStarting", "t"}, {9, "add_ContentLoading", "ho"},
    {10, "remove_ContentLoading", "t"}, {11, "add_SourceChanged", "ho"}, {12, "remove_SourceChanged", "t"},
    {13, "add_HistoryChanged", "ho"}, {14, "remove_HistoryChanged", "t"}, {15, "add_NavigationCompleted", "ho"},
    {16, "remove_NavigationCompleted", "t"}, {17, "add_FrameNavigationStarting", "ho"},
    {18, "remove_FrameNavigationStarting", "t"}, {19, "add_FrameNavigationCompleted", "ho"},
    {20, "remove_FrameNavigationCompleted", "t"}, {21, "add_ScriptDialogOpening", "ho"},
    {22, "remove_ScriptDialogOpening", "t"}, {23, "add_PermissionRequested", "ho"},
    {24, "remove_PermissionRequested", "t"}, {25, "add_ProcessFailed", "ho"}, {26, "remove_ProcessFailed", "t"},
    {27, "AddScriptToExecuteOnDocumentCreated", "sh"}, {28, "RemoveScriptToExecuteOnDocumentCreated", "s"},
    {29, "ExecuteScript", "sh"}, {30, "CapturePreview", "zzh"}, {31, "Reload", ""},
    {32, "PostWebMessageAsJson", "s"}, {33, "PostWebMessageAsString", "s"}, {34, "add_WebMessageReceived", "ho"},
    {35, "remove_WebMessageReceived", "t"}, {36, "CallDevToolsProtocolMethod", "ssh"},
    {37, "get_BrowserProcessId", "o"}, {38, "get_CanGoBack", "o"}, {39, "get_CanGoForward", "o"},
    {40, "GoBack", ""}, {41, "GoForward", ""}, {42, "GetDevToolsProtocolEventReceiver", "so"}, {43, "Stop", ""},
    {44, "add_NewWindowRequested", "ho"}, {45, "remove_NewWindowRequested", "t"},
    {46, "add_DocumentTitleChanged", "ho"}, {47, "remove_DocumentTitleChanged", "t"},
    {48, "get_DocumentTitle", "o"}, {49, "AddHostObjectToScript", "so"}, {50, "RemoveHostObjectFromScript", "s"},
    {51, "OpenDevToolsWindow", ""}, {52, "add_ContainsFullScreenElementChanged", "ho"},
    {53, "remove_ContainsFullScreenElementChanged", "t"}, {54, "get_ContainsFullScreenElement", "o"},
    {55, "add_WebResourceRequested", "ho"}, {56, "remove_WebResourceRequested", "t"},
    {57, "AddWebResourceRequestedFilter", "sz"}, {58, "RemoveWebResourceRequestedFilter", "sz"},
    {59, "add_WindowCloseRequested", "ho"}, {60, "remove_WindowCloseRequested", "t"},
};

const Yuva AYARLAR[] = {
    {3, "get_IsScriptEnabled", "o"}, {4, "put_IsScriptEnabled", "v"}, {5, "get_IsWebMessageEnabled", "o"},
    {6, "put_IsWebMessageEnabled", "v"}, {7, "get_AreDefaultScriptDialogsEnabled", "o"},
    {8, "put_AreDefaultScriptDialogsEnabled", "v"}, {9, "get_IsStatusBarEnabled", "o"},
    {10, "put_IsStatusBarEnabled", "v"}, {11, "get_AreDevToolsEnabled", "o"}, {12, "put_AreDevToolsEnabled", "v"},
    {13, "get_AreDefaultContextMenusEnabled", "o"}, {14, "put_AreDefaultContextMenusEnabled", "v"},
    {15, "get_AreHostObjectsAllowed", "o"}, {16, "put_AreHostObjectsAllowed", "v"},
    {17, "get_IsZoomControlEnabled", "o"}, {18, "put_IsZoomControlEnabled", "v"},
    {19, "get_IsBuiltInErrorPageEnabled", "o"}, {20, "put_IsBuiltInErrorPageEnabled", "v"},
};

const Yuva BASLAMA[] = {
    {3, "get_Uri", "o"}, {4, "get_IsUserInitiated", "o"}, {5, "get_IsRedirected", "o"},
    {6, "get_RequestHeaders", "o"}, {7, "get_Cancel", "o"}, {8, "put_Cancel", "z"}, {9, "get_NavigationId", "o"},
};
const Yuva TAMAMLANMA[] = {{3, "get_IsSuccess", "o"}, {4, "get_WebErrorStatus", "o"}, {5, "get_NavigationId", "o"}};
const Yuva KAYNAK[] = {{3, "get_IsNewDocument", "o"}};
const Yuva SUREC[] = {{3, "get_ProcessFailedKind", "o"}};
const Yuva TUS[] = {
    {3, "get_KeyEventKind", "o"}, {4, "get_VirtualKey", "o"}, {5, "get_KeyEventLParam", "o"},
    {6, "get_PhysicalKeyStatus", "o"}, {7, "get_Handled", "o"}, {8, "put_Handled", "v"},
};
const Yuva YENI_PENCERE[] = {
    {3, "get_Uri", "o"}, {4, "put_NewWindow", "z"}, {5, "get_NewWindow", "o"}, {6, "put_Handled", "v"},
    {7, "get_Handled", "o"}, {8, "get_IsUserInitiated", "o"}, {9, "GetDeferral", "o"},
    {10, "get_WindowFeatures", "o"},
};
const Yuva ERTELEME[] = {{3, "Complete", ""}};

// A handler for parameters of kind h: static, does nothing, never freed.
HRESULT STDMETHODCALLTYPE bos_qi(void* nesne, REFIID, void** sonuc) { *sonuc = nesne; return S_OK; }
ULONG STDMETHODCALLTYPE bos_sayac(void*) { return 1; }
HRESULT STDMETHODCALLTYPE bos_invoke(void*, intptr_t, intptr_t) { return S_OK; }
const void* const BOS_TABLO[] = {reinterpret_cast<const void*>(&bos_qi), reinterpret_cast<const void*>(&bos_sayac),
                                 reinterpret_cast<const void*>(&bos_sayac), reinterpret_cast<const void*>(&bos_invoke)};
struct { const void* const* tablo; } BOS_ISLEYICI = {BOS_TABLO};

using GenelYontem = HRESULT(STDMETHODCALLTYPE*)(void*, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t);
using CiftYontem = HRESULT(STDMETHODCALLTYPE*)(void*, double);
using AlanCiftYontem = HRESULT(STDMETHODCALLTYPE*)(void*, intptr_t, double);

void yuva_cagir(void* nesne, const Yuva& yuva, HWND pencere)
{
    void* const* tablo = *static_cast<void* const* const*>(nesne);
    static RECT alan = {0, 0, 300, 200};
    alignas(16) static unsigned char cikti[8][64];
    intptr_t bagimsiz[5] = {};
    std::string imza = yuva.imza;
    if (imza == "d") {
        reinterpret_cast<CiftYontem>(tablo[yuva.numara])(nesne, 1.25);
        return;
    }
    if (imza == "rd") {
        reinterpret_cast<AlanCiftYontem>(tablo[yuva.numara])(nesne, reinterpret_cast<intptr_t>(&alan), 1.25);
        return;
    }
    for (size_t i = 0; i < imza.size(); ++i) {
        switch (imza[i]) {
        case 'o': memset(cikti[i], 0, sizeof cikti[i]); bagimsiz[i] = reinterpret_cast<intptr_t>(cikti[i]); break;
        case 'h': bagimsiz[i] = reinterpret_cast<intptr_t>(&BOS_ISLEYICI); break;
        case 's': bagimsiz[i] = reinterpret_cast<intptr_t>(L"about:blank"); break;
        case 'w': bagimsiz[i] = reinterpret_cast<intptr_t>(pencere); break;
        case 'v': bagimsiz[i] = 1; break;
        case 'r': bagimsiz[i] = reinterpret_cast<intptr_t>(&alan); break;
        default: bagimsiz[i] = 0; break;
        }
    }
    reinterpret_cast<GenelYontem>(tablo[yuva.numara])(nesne, bagimsiz[0], bagimsiz[1], bagimsiz[2], bagimsiz[3],
                                                      bagimsiz[4]);
}

// Calls every slot of a table and checks the method the log names.
template <size_t N>
void yuvalari_dogrula(void* nesne, const Yuva (&tablo)[N], int64_t no, HWND pencere, const char* arayuz)
{
    std::string onek = no < 0 ? std::string("- ") : std::to_string(no) + " ";
    for (const Yuva& yuva : tablo) {
        size_t onceki = gunluk_satirlari().size();
        yuva_cagir(nesne, yuva, pencere);
        auto satirlar = gunluk_satirlari();
        ASSERT_GT(satirlar.size(), onceki) << arayuz << " slot " << yuva.numara << " logged nothing";
        std::string satir = satirlar[onceki];
        std::string beklenen = onek + yuva.yontem;
        EXPECT_TRUE(satir == beklenen || satir.compare(0, beklenen.size() + 1, beklenen + " ") == 0)
            << arayuz << " slot " << yuva.numara << ": expected " << beklenen << ", the engine got " << satir;
    }
}

// Keeps the argument object an event brought, for calls after the event.
template <class Arayuz>
ComPtr<Arayuz> arguman_tutucu(ComPtr<IUnknown>* yer)
{
    return isleyici<Arayuz>([yer](intptr_t, intptr_t arguman) {
        if (!*yer)
            *yer = reinterpret_cast<IUnknown*>(arguman);
    });
}

}  // namespace

TEST(Yuvalar, EngineObjectsAnswerEverySlotWithTheMethodTheLayoutNames)
{
    ASSERT_TRUE(motor().dll) << "WebView2Loader.dll did not load";
    auto ortam = ortam_al();
    ASSERT_TRUE(ortam);
    HWND pencere = ebeveyn_penceresi();
    yuvalari_dogrula(ortam.Get(), ORTAM, -1, pencere, "ICoreWebView2Environment");
    kuyrugu_bosalt();   // the controller that slot 3 made is delivered and let go

    int64_t no = -1;
    auto gorunum_denetleyicisi = denetleyici_al(ortam.Get(), pencere, &no);
    ASSERT_TRUE(gorunum_denetleyicisi);
    ComPtr<ICoreWebView2> gorunum;
    gorunum_denetleyicisi->get_CoreWebView2(&gorunum);
    ASSERT_TRUE(gorunum);
    ComPtr<ICoreWebView2Settings> ayarlar;
    gorunum->get_Settings(&ayarlar);
    ASSERT_TRUE(ayarlar);
    yuvalari_dogrula(ayarlar.Get(), AYARLAR, no, pencere, "ICoreWebView2Settings");

    // Event arguments, kept from the events of one navigation, one key and one click.
    ComPtr<IUnknown> baslama, tamamlanma, kaynak, surec, tus, yeni_pencere, erteleme;
    EventRegistrationToken jeton;
    gorunum->add_NavigationStarting(arguman_tutucu<ICoreWebView2NavigationStartingEventHandler>(&baslama).Get(), &jeton);
    gorunum->add_NavigationCompleted(
        arguman_tutucu<ICoreWebView2NavigationCompletedEventHandler>(&tamamlanma).Get(), &jeton);
    gorunum->add_SourceChanged(arguman_tutucu<ICoreWebView2SourceChangedEventHandler>(&kaynak).Get(), &jeton);
    gorunum->add_ProcessFailed(arguman_tutucu<ICoreWebView2ProcessFailedEventHandler>(&surec).Get(), &jeton);
    gorunum_denetleyicisi->add_AcceleratorKeyPressed(
        arguman_tutucu<ICoreWebView2AcceleratorKeyPressedEventHandler>(&tus).Get(), &jeton);
    gorunum->add_NewWindowRequested(
        isleyici<ICoreWebView2NewWindowRequestedEventHandler>([&](intptr_t, intptr_t a) {
            auto* arguman = reinterpret_cast<ICoreWebView2NewWindowRequestedEventArgs*>(a);
            yeni_pencere = arguman;
            ComPtr<ICoreWebView2Deferral> alinan;
            arguman->GetDeferral(&alinan);
            erteleme = alinan;
        }).Get(), &jeton);

    ASSERT_EQ(S_OK, gorunum->Navigate(L"edge://kill"));
    ASSERT_TRUE(pompala([&] { return surec != nullptr; }));
    EXPECT_TRUE(baslama && tamamlanma && kaynak);
    HWND sayfa = sayfa_penceresi(pencere);
    ASSERT_TRUE(sayfa);
    SendMessageW(sayfa, WM_KEYDOWN, VK_F6, 1);
    EXPECT_TRUE(tus);
    ASSERT_EQ(S_OK, gorunum->NavigateToString(L"<a href='data:text/plain,x'>a link a link a link a link</a>"));
    kuyrugu_bosalt();
    RECT alan;
    GetClientRect(pencere, &alan);
    gorunum_denetleyicisi->put_Bounds(alan);
    // The first line of the body, just below the header at zoom 1.25 (set by the
    // controller slots below) or 1: a control-click asks for a new window.
    for (int y = 60; y < 200 && !yeni_pencere; y += 4) {
        SendMessageW(sayfa, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(30, y));
        SendMessageW(sayfa, WM_LBUTTONUP, MK_CONTROL, MAKELPARAM(30, y));
        kuyrugu_bosalt();
    }
    ASSERT_TRUE(yeni_pencere) << "a control-click on a link raised no NewWindowRequested";

    yuvalari_dogrula(baslama.Get(), BASLAMA, no, pencere, "ICoreWebView2NavigationStartingEventArgs");
    yuvalari_dogrula(tamamlanma.Get(), TAMAMLANMA, no, pencere, "ICoreWebView2NavigationCompletedEventArgs");
    yuvalari_dogrula(kaynak.Get(), KAYNAK, no, pencere, "ICoreWebView2SourceChangedEventArgs");
    yuvalari_dogrula(surec.Get(), SUREC, no, pencere, "ICoreWebView2ProcessFailedEventArgs");
    yuvalari_dogrula(tus.Get(), TUS, no, pencere, "ICoreWebView2AcceleratorKeyPressedEventArgs");
    yuvalari_dogrula(yeni_pencere.Get(), YENI_PENCERE, no, pencere, "ICoreWebView2NewWindowRequestedEventArgs");
    ASSERT_TRUE(erteleme);
    yuvalari_dogrula(erteleme.Get(), ERTELEME, no, pencere, "ICoreWebView2Deferral");
    kuyrugu_bosalt();

    yuvalari_dogrula(static_cast<ICoreWebView2*>(gorunum.Get()), GORUNUM, no, pencere, "ICoreWebView2");
    kuyrugu_bosalt();
    // Last, since slot 24 closes it.
    yuvalari_dogrula(gorunum_denetleyicisi.Get(), DENETLEYICI, no, pencere, "ICoreWebView2Controller");
    DestroyWindow(pencere);
}
