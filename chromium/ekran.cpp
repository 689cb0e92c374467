// A page's screen: size, zoom, the frame stream and painting (see ekran.h).
#include "ekran.h"
#include "motor_ic.h"

#include <algorithm>
#include <cmath>

using namespace protokol;

static const double EN_AZ_YAKINLIK = 0.25, EN_COK_YAKINLIK = 5.0;

Ekran::Ekran(Giden& giden) : giden_(giden) {}

int Ekran::kur(const RECT& alan, const Giden::Yanit& yanit)
{
    alan_ = alan;
    return olcuyu_gonder(yanit) ? 1 : 0;
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
        olcuyu_gonder();
        akisi_ayarla();
    }
}

bool Ekran::yakinlik_koy(double yeni)
{
    yeni = std::min(EN_COK_YAKINLIK, std::max(EN_AZ_YAKINLIK, yeni));
    if (yeni == yakinlik_)
        return false;
    yakinlik_ = yeni;
    olcuyu_gonder();
    return true;
}

void Ekran::gorunurluk_koy(bool gorunur)
{
    gorunur_ = gorunur;
    // A hidden view keeps no picture (a tab's frame is megabytes): when it is shown
    // again, the new stream's first frame comes at once.
    if (!gorunur_)
        kare_.reset();
    if (pencere_)
        ShowWindow(pencere_, gorunur_ ? SW_SHOWNA : SW_HIDE);
    akisi_ayarla();
}

void Ekran::pencere_hazir(HWND pencere)
{
    pencere_ = pencere;
    akisi_ayarla();
}

void Ekran::yeniden_baslat()
{
    olcuyu_gonder();
    if (akis_.cx > 0) {
        akis_ = SIZE{};
        giden_.gonder(StopScreencast{}, [](const Json&, const Json*) {});
    }
    akisi_ayarla();
}

void Ekran::surec_oldu()
{
    coktu_ = true;
    akis_ = SIZE{};   // the stream ended with the page's process
}

void Ekran::surec_dondu()
{
    if (!coktu_)
        return;
    coktu_ = false;
    akisi_ayarla();
}

// The page is laid out for the view's size in CSS pixels at the zoom factor; the
// device scale makes the engine render those CSS pixels at the view's resolution.
bool Ekran::olcuyu_gonder(Giden::Yanit yanit)
{
    LONG genislik = alan_.right - alan_.left, yukseklik = alan_.bottom - alan_.top;
    if (genislik <= 0 || yukseklik <= 0)
        return false;
    SetDeviceMetricsOverride olcu;
    olcu.width = std::max(1L, std::lround(genislik / yakinlik_));
    olcu.height = std::max(1L, std::lround(yukseklik / yakinlik_));
    olcu.deviceScaleFactor = yakinlik_;
    giden_.gonder(olcu, yanit ? std::move(yanit) : [](const Json&, const Json*) {});
    return true;
}

// Frames flow while the view is shown and has a size; a hidden view costs none. A
// stream of another size is stopped first: the engine refuses to start one while
// one runs, and would go on sending the old size.
void Ekran::akisi_ayarla()
{
    LONG genislik = alan_.right - alan_.left, yukseklik = alan_.bottom - alan_.top;
    bool akmali = pencere_ && gorunur_ && genislik > 0 && yukseklik > 0 && !coktu_;
    SIZE istenen = akmali ? SIZE{genislik, yukseklik} : SIZE{};
    if (istenen.cx == akis_.cx && istenen.cy == akis_.cy)
        return;
    if (akis_.cx > 0)
        giden_.gonder(StopScreencast{}, [](const Json&, const Json*) {});
    akis_ = istenen;
    if (!akmali)
        return;
    StartScreencast baslat;
    baslat.maxWidth = genislik;
    baslat.maxHeight = yukseklik;
    giden_.gonder(baslat, [this, istenen](const Json&, const Json* hata) {
        // Refused: nothing runs, and the next change of size or visibility asks again.
        if (hata && akis_.cx == istenen.cx && akis_.cy == istenen.cy)
            akis_ = SIZE{};
    });
}

void Ekran::kare_geldi(std::shared_ptr<Kare> kare)
{
    if (!gorunur_ || !kare || kare->genislik <= 0)
        return;
    kare_ = std::move(kare);
    if (pencere_)
        InvalidateRect(pencere_, nullptr, FALSE);
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
    if (kare_->genislik == alan.right && kare_->yukseklik == alan.bottom) {
        SetDIBitsToDevice(dc, 0, 0, kare_->genislik, kare_->yukseklik, 0, 0, 0, kare_->yukseklik,
                          kare_->pikseller.data(), &bilgi, DIB_RGB_COLORS);
        return;
    }
    // A frame of another size (the new size is on its way): stretched meanwhile.
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, 0, 0, alan.right, alan.bottom, 0, 0, kare_->genislik, kare_->yukseklik,
                  kare_->pikseller.data(), &bilgi, DIB_RGB_COLORS, SRCCOPY);
}
