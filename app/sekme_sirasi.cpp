// The order of tabs a page opens and the window's title: see sekme_sirasi.h.
#include "sekme_sirasi.h"

namespace korva {

namespace {

// The position of the tab showing `gorunum`, or -1.
int64_t konumu(int64_t gorunum, const int64_t* gorunumler, int64_t sayi) {
    if (gorunum < 0) return -1;
    for (int64_t konum = 0; konum < sayi; ++konum) {
        if (gorunumler[konum] == gorunum) return konum;
    }
    return -1;
}

// Most characters of a page title kept in the window's title, and what stands for
// the rest.
constexpr int64_t kEnUzunSayfaBasligi = 100;
constexpr char kKirpmaIsareti[] = "...";
constexpr char kPencereEki[] = " - Korva";
constexpr char kYalinBaslik[] = "Korva";

// Whether a byte continues a UTF-8 character rather than starting one.
bool devam_baytimi(char bayt) { return (static_cast<unsigned char>(bayt) & 0xC0) == 0x80; }

}  // namespace

int64_t AcilisDizisi::yeni_sekme_yeri(int64_t kaynak, const int64_t* gorunumler, int64_t sayi) const {
    const int64_t kaynak_yeri = konumu(kaynak, gorunumler, sayi);
    if (kaynak_yeri < 0) return sayi;
    if (kaynak != kaynak_) return kaynak_yeri + 1;
    const int64_t son_yeri = konumu(son_, gorunumler, sayi);
    return (son_yeri > kaynak_yeri ? son_yeri : kaynak_yeri) + 1;
}

void AcilisDizisi::acildi(int64_t kaynak, int64_t yeni) {
    kaynak_ = kaynak;
    son_ = yeni;
}

void AcilisDizisi::secildi(int64_t secili) {
    if (secili != kaynak_) bitir();
}

void AcilisDizisi::gezindi(int64_t gorunum) {
    if (gorunum == kaynak_) bitir();
}

void AcilisDizisi::kapandi(int64_t gorunum) {
    if (gorunum == kaynak_ || gorunum == son_) bitir();
}

void AcilisDizisi::bitir() {
    kaynak_ = -1;
    son_ = -1;
}

std::string pencere_basligi(const char* baslik, int64_t uzunluk) {
    if (baslik == nullptr || uzunluk <= 0) return kYalinBaslik;
    // The byte where the 101st character starts, if there is one.
    int64_t son = 0;
    int64_t karakter = 0;
    while (son < uzunluk && karakter < kEnUzunSayfaBasligi) {
        ++son;
        while (son < uzunluk && devam_baytimi(baslik[son])) ++son;
        ++karakter;
    }
    std::string sonuc(baslik, static_cast<size_t>(son));
    if (son < uzunluk) sonuc += kKirpmaIsareti;
    sonuc += kPencereEki;
    return sonuc;
}

}  // namespace korva
