// The screen's scale a view renders at, against either engine: the runtime sets it
// from the host window's DPI, and the engine's interface for it (the scale, its
// event, the bounds modes, the values it refuses).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <wrl/client.h>

#include "webview/com_isleyici.h"
#include "webview/webgorunum_win_cz.h"
#include "widgets/arayuz_win_cz.h"
#include "yardimci.h"

namespace {

using OlcekDinleyicisi =
    KomIsleyici<ICoreWebView2RasterizationScaleChangedEventHandler, int*, ICoreWebView2Controller*, IUnknown*>;

HRESULT olcek_degisti(int*& sayi, ICoreWebView2Controller*, IUnknown*) {
    ++*sayi;
    return S_OK;
}

SIZE sayfa_boyu(int64_t gorunum) {
    const HWND sayfa = GetWindow(_tr_arayuz_widget_al_hwnd(_tr_webgorunum_widget_id(gorunum)), GW_CHILD);
    RECT alan = {};
    GetClientRect(sayfa, &alan);
    return SIZE{alan.right, alan.bottom};
}

}  // namespace

TEST(Olcek, KontrolcuOlcegiKoruyupDegisinceBildirir) {
    motoru_hazirla();
    const int64_t id = _tr_webgorunum_olustur();
    ASSERT_GE(id, 0);
    Microsoft::WRL::ComPtr<ICoreWebView2Controller3> denetleyici;
    ASSERT_EQ(denetleyicisi(id)->QueryInterface(IID_PPV_ARGS(&denetleyici)), S_OK);
    Microsoft::WRL::ComPtr<ICoreWebView2Controller2> ikinci;
    ASSERT_EQ(denetleyicisi(id)->QueryInterface(IID_PPV_ARGS(&ikinci)), S_OK);

    // The runtime set the scale from the window's DPI, and keeps it itself.
    HDC ekran = GetDC(nullptr);
    const double sistem = GetDeviceCaps(ekran, LOGPIXELSX) / 96.0;
    ReleaseDC(nullptr, ekran);
    double olcek = 0;
    ASSERT_EQ(denetleyici->get_RasterizationScale(&olcek), S_OK);
    EXPECT_EQ(olcek, sistem);
    BOOL izliyor = TRUE;
    ASSERT_EQ(denetleyici->get_ShouldDetectMonitorScaleChanges(&izliyor), S_OK);
    EXPECT_FALSE(izliyor);

    int degisim = 0;
    auto dinleyici = OlcekDinleyicisi::olustur(olcek_degisti, &degisim);
    EventRegistrationToken jeton = {};
    ASSERT_EQ(denetleyici->add_RasterizationScaleChanged(dinleyici.Get(), &jeton), S_OK);
    ASSERT_EQ(denetleyici->put_RasterizationScale(1.25), S_OK);
    ASSERT_EQ(denetleyici->put_RasterizationScale(1.25), S_OK);
    ASSERT_EQ(denetleyici->get_RasterizationScale(&olcek), S_OK);
    EXPECT_EQ(olcek, 1.25);
    EXPECT_EQ(degisim, 1) << "raised once, for the change only";

    // Refused, and nothing changes.
    for (double kotu : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                        1000.0}) {
        EXPECT_EQ(denetleyici->put_RasterizationScale(kotu), E_INVALIDARG) << kotu;
    }
    EXPECT_EQ(denetleyici->put_BoundsMode(static_cast<COREWEBVIEW2_BOUNDS_MODE>(7)), E_INVALIDARG);
    EXPECT_EQ(denetleyici->get_RasterizationScale(nullptr), E_POINTER);
    ASSERT_EQ(denetleyici->get_RasterizationScale(&olcek), S_OK);
    EXPECT_EQ(olcek, 1.25);
    EXPECT_EQ(degisim, 1);

    // Raw pixels: the bounds are the page's pixels. In the scale's mode they are
    // multiplied by it, and the host reads back what it gave.
    COREWEBVIEW2_BOUNDS_MODE kip = COREWEBVIEW2_BOUNDS_MODE_USE_RASTERIZATION_SCALE;
    ASSERT_EQ(denetleyici->get_BoundsMode(&kip), S_OK);
    EXPECT_EQ(kip, COREWEBVIEW2_BOUNDS_MODE_USE_RAW_PIXELS);
    ASSERT_EQ(denetleyici->put_Bounds(RECT{0, 0, 400, 300}), S_OK);
    EXPECT_EQ(sayfa_boyu(id).cx, 400);
    ASSERT_EQ(denetleyici->put_BoundsMode(COREWEBVIEW2_BOUNDS_MODE_USE_RASTERIZATION_SCALE), S_OK);
    EXPECT_EQ(sayfa_boyu(id).cx, 500);
    EXPECT_EQ(sayfa_boyu(id).cy, 375);
    EXPECT_EQ(denetleyici_siniri(id), "0 0 400 300");
    ASSERT_EQ(denetleyici->put_RasterizationScale(2.0), S_OK);
    EXPECT_EQ(sayfa_boyu(id).cx, 800);
    EXPECT_EQ(degisim, 2);

    // Unsubscribed: no more events.
    ASSERT_EQ(denetleyici->remove_RasterizationScaleChanged(jeton), S_OK);
    ASSERT_EQ(denetleyici->put_RasterizationScale(1.0), S_OK);
    EXPECT_EQ(degisim, 2);

    // The background stays the engines' white.
    COREWEBVIEW2_COLOR renk = {};
    ASSERT_EQ(ikinci->get_DefaultBackgroundColor(&renk), S_OK);
    EXPECT_EQ(renk.A + renk.R + renk.G + renk.B, 4 * 255);
    EXPECT_EQ(ikinci->put_DefaultBackgroundColor(COREWEBVIEW2_COLOR{255, 0, 0, 0}), E_NOTIMPL);
    EXPECT_EQ(_tr_webgorunum_kapat(id), 0);
}
