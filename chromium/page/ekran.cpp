// A page's screen: size, zoom, the frame stream and painting (see ekran.h).
#include "ekran.h"
#include "motor_ic.h"

#include <algorithm>
#include <cmath>

using namespace protokol;

static const double EN_AZ_YAKINLIK = 0.25, EN_COK_YAKINLIK = 5.0;
// The first wait for a new stream's picture (doubled at each try) and the tries. A
// frame usually comes within 50-400 ms, on a loaded machine too.
static const UINT RESIM_BEKLEMESI_MS = 700;
static const unsigned RESIM_DENEMELERI = 4;

Ekran::Ekran(Giden& giden) : giden_(giden) {}

int Ekran::kur(const RECT& alan, const Giden::Yanit& yanit)
{
    alan_ = alan;
    kurulu_ = false;
    return olcuyu_gonder(yanit) ? 1 : 0;
}

void Ekran::kuruldu()
{
    kurulu_ = true;
    planla();
}

void Ekran::alan_koy(const RECT& alan)
{
    bool boyut_degisti = alan.right - alan.left != alan_.right - alan_.left ||
                         alan.bottom - alan.top != alan_.bottom - alan_.top;
    alan_ = alan;
    if (pencere_)
        MoveWindow(pencere_, alan_.left, alan_.top, std::max<LONG>(0, alan_.right - alan_.left),
                   std::max<LONG>(0, alan_.bottom - alan_.top), TRUE);
    if (boyut_degisti) {
        yeniden_denemeler_ = 0;
        planla();
    }
}

bool Ekran::yakinlik_koy(double yeni)
{
    yeni = std::min(EN_COK_YAKINLIK, std::max(EN_AZ_YAKINLIK, yeni));
    if (yeni == yakinlik_)
        return false;
    yakinlik_ = yeni;
    yeniden_denemeler_ = 0;
    planla();
    return true;
}

bool Ekran::olcek_koy(double yeni)
{
    if (!(yeni > 0) || yeni == olcek_)
        return false;
    olcek_ = yeni;
    yeniden_denemeler_ = 0;
    planla();
    return true;
}

void Ekran::gorunurluk_koy(bool gorunur)
{
    gorunur_ = gorunur;
    yeniden_denemeler_ = 0;
    // A hidden view keeps no picture (a tab's frame is megabytes): when it is shown
    // again, the new stream's first frame comes at once.
    if (!gorunur_)
        kare_.reset();
    if (pencere_)
        ShowWindow(pencere_, gorunur_ ? SW_SHOWNA : SW_HIDE);
    planla();
}

void Ekran::pencere_hazir(HWND pencere)
{
    pencere_ = pencere;
    planla();
}

bool Ekran::ekranda() const
{
    return pencere_ && gorunur_ && alan_.right > alan_.left && alan_.bottom > alan_.top && IsWindowVisible(pencere_);
}

bool Ekran::pencere_boyaniyor()
{
    if (planli_ || akis_.cx > 0 || coktu_ || !kurulu_ || !ekranda())
        return false;
    planla();
    return true;
}

void Ekran::yeniden_baslat()
{
    // The new ratio applies once the size is given again and the stream starts again.
    gonderilen_olcu_.width = 0;
    if (akis_.cx > 0) {
        akis_ = SIZE{};
        giden_.gonder(StopScreencast{}, [](const Json&, const Json*) {});
    }
    planla();
}

void Ekran::surec_oldu()
{
    coktu_ = true;
    akis_ = SIZE{};   // the stream ended with the page's process
    planli_ = false;  // a fresh target's work drops what was on its way for the old one
}

void Ekran::hedef_degisti()
{
    akis_ = SIZE{};
    planli_ = false;
}

void Ekran::surec_dondu()
{
    if (!coktu_)
        return;
    coktu_ = false;
    planla();
}

// CSS pixels that cover `piksel` device pixels at the ratio: rounded up, so
// that the engine's frame is never narrower than the view. (A whole number of device
// pixels stays whole: 1336 at 1.0 is 1336, not 1337.)
static LONG css_piksel(LONG piksel, double oran)
{
    return std::max(1L, static_cast<LONG>(std::ceil(piksel / oran - 1e-6)));
}

// The device pixels the engine renders for that many CSS pixels: it rounds up too.
static LONG cihaz_pikseli(LONG css, double oran)
{
    return static_cast<LONG>(std::ceil(css * oran - 1e-6));
}

// The page is laid out for the view's size in CSS pixels at the ratio (zoom times
// the screen's scale); the device scale makes the engine render those CSS pixels at
// the view's resolution.
// Where the view's size is no whole number of CSS pixels the page is laid out up to
// one CSS pixel larger and its frame cut to the view: a frame stretched or shrunk by
// a fraction of a pixel would turn every 1-pixel line grey.
bool Ekran::olcu(SetDeviceMetricsOverride* olcu) const
{
    LONG genislik = alan_.right - alan_.left, yukseklik = alan_.bottom - alan_.top;
    if (genislik <= 0 || yukseklik <= 0)
        return false;
    olcu->width = css_piksel(genislik, oran());
    olcu->height = css_piksel(yukseklik, oran());
    olcu->deviceScaleFactor = oran();
    return true;
}

bool Ekran::olcuyu_gonder(Giden::Yanit yanit)
{
    SetDeviceMetricsOverride yeni;
    if (!olcu(&yeni))
        return false;
    gonderilen_olcu_ = yeni;
    giden_.gonder(yeni, yanit ? std::move(yanit) : [](const Json&, const Json*) {});
    return true;
}

void Ekran::bekleyen_olcuyu_gonder()
{
    SetDeviceMetricsOverride yeni;
    if (!olcu(&yeni) || (yeni.width == gonderilen_olcu_.width && yeni.height == gonderilen_olcu_.height &&
                         yeni.deviceScaleFactor == gonderilen_olcu_.deviceScaleFactor))
        return;
    olcuyu_gonder(nullptr);
}

void Ekran::planla()
{
    if (planli_)
        return;
    planli_ = giden_.sonra([this] {
        planli_ = false;
        uygula();
    });
    // Unloading: nothing runs later any more, so it goes now.
    if (!planli_)
        uygula();
}

void Ekran::uygula()
{
    const SIZE istenen = istenen_akis();
    if (istenen.cx > 0 && (istenen.cx != akis_.cx || istenen.cy != akis_.cy))
        // The page takes its size anew as its stream starts: a size given while its
        // target was in the background is not the one its frames come at once it
        // is the front page.
        olcuyu_gonder(nullptr);
    else if (pencere_ && IsWindowVisible(pencere_))
        // A page window not on screen shows nothing: its page keeps the size it had
        // until it is shown, or until another command of the view is sent.
        bekleyen_olcuyu_gonder();
    akisi_ayarla();
}

// Frames flow while the view is shown, has a size and its window is on screen; a
// hidden view costs none. The stream's limit is the frame the engine renders for the
// page's size, at least the view's: within it the engine never scales a frame down.
SIZE Ekran::istenen_akis() const
{
    if (!ekranda() || !kurulu_ || coktu_)
        return SIZE{};
    const LONG genislik = alan_.right - alan_.left, yukseklik = alan_.bottom - alan_.top;
    return SIZE{std::max(genislik, cihaz_pikseli(css_piksel(genislik, oran()), oran())),
                std::max(yukseklik, cihaz_pikseli(css_piksel(yukseklik, oran()), oran()))};
}

// A stream of another size is stopped first: the engine refuses to start one while
// one runs, and would go on sending the old size.
void Ekran::akisi_ayarla()
{
    const SIZE istenen = istenen_akis();
    const bool akmali = istenen.cx > 0;
    const LONG genislik = istenen.cx, yukseklik = istenen.cy;
    if (istenen.cx == akis_.cx && istenen.cy == akis_.cy)
        return;
    if (akis_.cx > 0)
        giden_.gonder(StopScreencast{}, [](const Json&, const Json*) {});
    akis_ = istenen;
    if (!akmali)
        return;
    resim_bekleniyor_ = true;
    const uint64_t akis = ++akis_sirasi_;
    giden_.zamanla(RESIM_BEKLEMESI_MS << yeniden_denemeler_, [this, akis] { resmi_denetle(akis); });
    StartScreencast baslat;
    baslat.maxWidth = genislik;
    baslat.maxHeight = yukseklik;
    giden_.gonder(baslat, [this, istenen](const Json&, const Json* hata) {
        // Refused: nothing runs, and the next change of size or visibility asks again.
        if (hata && akis_.cx == istenen.cx && akis_.cy == istenen.cy)
            akis_ = SIZE{};
    });
}

bool Ekran::kare_uyuyor() const
{
    // What boya() paints pixel for pixel.
    const LONG genislik = alan_.right - alan_.left, yukseklik = alan_.bottom - alan_.top;
    const LONG pay = static_cast<LONG>(std::ceil(oran())) + 1;
    return kare_ && kare_->genislik >= genislik && kare_->yukseklik >= yukseklik &&
           kare_->genislik <= genislik + pay && kare_->yukseklik <= yukseklik + pay;
}

void Ekran::resmi_denetle(uint64_t akis)
{
    // Another stream since (which waits for its own picture), or none now.
    if (akis != akis_sirasi_ || akis_.cx <= 0 || coktu_ || !ekranda())
        return;
    if (!resim_bekleniyor_ && kare_uyuyor()) {
        yeniden_denemeler_ = 0;
        return;
    }
    if (yeniden_denemeler_ >= RESIM_DENEMELERI)
        return;   // the page keeps what it has; the next change of size starts over
    ++yeniden_denemeler_;
    yeniden_baslat();
}

void Ekran::kare_geldi(std::shared_ptr<Kare> kare)
{
    if (!gorunur_ || !kare || kare->genislik <= 0)
        return;
    kare_ = std::move(kare);
    resim_bekleniyor_ = false;
    if (kare_uyuyor())
        yeniden_denemeler_ = 0;
    son_kare_ani_ = GetTickCount64();
    if (pencere_)
        InvalidateRect(pencere_, nullptr, FALSE);
}

bool Ekran::ciziliyor(ULONGLONG simdi, ULONGLONG sessizlik_ms) const
{
    return akis_.cx > 0 && !coktu_ && (resim_bekleniyor_ || simdi - son_kare_ani_ < sessizlik_ms);
}

void Ekran::boya(HDC dc, const RECT& alan) const
{
    if (!kare_) {
        FillRect(dc, &alan, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        return;
    }
    BITMAPINFO bilgi = {};
    bilgi.bmiHeader.biSize = sizeof(bilgi.bmiHeader);
    bilgi.bmiHeader.biWidth = kare_->genislik;
    bilgi.bmiHeader.biHeight = -kare_->yukseklik;   // top row first
    bilgi.bmiHeader.biPlanes = 1;
    bilgi.bmiHeader.biBitCount = 32;
    bilgi.bmiHeader.biCompression = BI_RGB;
    // The frame for the view's size is the view's size or up to a ratio's
    // pixels larger (see olcu): painted pixel for pixel, what lies past the view cut.
    const LONG pay = static_cast<LONG>(std::ceil(oran())) + 1;
    if (kare_->genislik >= alan.right && kare_->yukseklik >= alan.bottom && kare_->genislik <= alan.right + pay &&
        kare_->yukseklik <= alan.bottom + pay) {
        // Its top rows alone make a picture of the view's height: the rows cut are
        // the last in memory, so no source origin (which a top-down picture counts
        // from the bottom in some implementations) is involved.
        bilgi.bmiHeader.biHeight = -alan.bottom;
        SetDIBitsToDevice(dc, 0, 0, alan.right, alan.bottom, 0, 0, 0, alan.bottom, kare_->pikseller.data(), &bilgi,
                          DIB_RGB_COLORS);
        return;
    }
    // A frame of another size (the new size is on its way): stretched meanwhile.
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, 0, 0, alan.right, alan.bottom, 0, 0, kare_->genislik, kare_->yukseklik,
                  kare_->pikseller.data(), &bilgi, DIB_RGB_COLORS, SRCCOPY);
}
