// The table of the library's texts (see metinler.h).
#include "metinler.h"

namespace {

// One entry per name of Metin, in its order.
const wchar_t* const METINLER[] = {
    L"Bagi yeni sekmede ac",
    L"Bag adresini kopyala",
    L"Kes",
    L"Kopyala",
    L"Yapistir",
    L"Tumunu sec",
    L"Geri",
    L"Ileri",
    L"Yenile",
    L"Tamam",
    L"Iptal",
    L"Ayril",
    L"Kal",
    L"Bu sayfadan ayrilinsin mi?\nYaptiginiz degisiklikler kaydedilmemis olabilir.",
    L"&Bu sayfanin yeni iletisim kutulari acmasini engelle",
    L"Secenekler",
    L"Dosya sec",
    L"Dosyalari sec",
    L"Kabul edilen dosyalar",
    L"Tum dosyalar (*.*)",
    L"PDF olarak kaydet",
    L"PDF belgesi",
    L"PDF kaydedildi: ",
    L"PDF kaydedilemedi: ",
};

static_assert(sizeof(METINLER) / sizeof(METINLER[0]) == static_cast<size_t>(Metin::sayi),
              "every name of Metin has its text, in order");

}  // namespace

const wchar_t* metin(Metin ad)
{
    const int sira = static_cast<int>(ad);
    if (sira < 0 || sira >= static_cast<int>(Metin::sayi))
        return L"";
    return METINLER[sira];
}
