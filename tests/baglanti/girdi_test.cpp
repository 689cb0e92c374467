// Pieces of a page's input that need no engine: counting clicks as the system does,
// the cursor for a CSS cursor value, and the context menu's items for what is
// under the pointer.
#include "baglam_menusu.h"
#include "girdi.h"
#include "imlec.h"

#include <gtest/gtest.h>

namespace {

TEST(TiklamaSayaci, CountsPressesWithinTheSystemsTimeAndDistance)
{
    const DWORD sure = GetDoubleClickTime();
    const int yakin = GetSystemMetrics(SM_CXDOUBLECLK) / 2;
    Girdi::TiklamaSayaci sayac;
    EXPECT_EQ(sayac.say(0, 100, 100, 1000), 1);
    EXPECT_EQ(sayac.say(0, 100 + yakin, 100, 1000 + sure), 2);
    EXPECT_EQ(sayac.say(0, 100 + yakin, 101, 1000 + 2 * sure), 3);   // a triple click
    EXPECT_EQ(sayac.say(0, 100 + yakin, 101, 1001 + 3 * sure), 1);   // too late
    EXPECT_EQ(sayac.say(0, 101 + 2 * yakin, 101, 1002 + 3 * sure), 1);   // too far
    EXPECT_EQ(sayac.say(1, 101 + 2 * yakin, 101, 1003 + 3 * sure), 1);   // another button
    EXPECT_EQ(sayac.say(1, 101 + 2 * yakin, 101, 1004 + 3 * sure), 2);
    // The tick count wraps after 49 days.
    Girdi::TiklamaSayaci sarma;
    sarma.say(0, 5, 5, 0xFFFFFFF0u);
    EXPECT_EQ(sarma.say(0, 5, 5, 0x10u), 2);
}

TEST(CssImleci, TheFirstKnownKeywordOfTheList)
{
    EXPECT_EQ(css_imleci("pointer"), LoadCursorW(nullptr, IDC_HAND));
    EXPECT_EQ(css_imleci("text"), LoadCursorW(nullptr, IDC_IBEAM));
    EXPECT_EQ(css_imleci("url(el.cur) 4 4, Wait"), LoadCursorW(nullptr, IDC_WAIT));
    EXPECT_EQ(css_imleci("col-resize"), LoadCursorW(nullptr, IDC_SIZEWE));
    EXPECT_EQ(css_imleci("nwse-resize"), LoadCursorW(nullptr, IDC_SIZENWSE));
    EXPECT_EQ(css_imleci("none"), nullptr);
    EXPECT_EQ(css_imleci("zoom-in"), LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(css_imleci(""), LoadCursorW(nullptr, IDC_ARROW));
}

std::wstring menu(const BaglamBilgisi& bilgi, bool geri, bool ileri, bool panoda)
{
    std::wstring metin;
    for (const auto& oge : BaglamMenusu::ogeler(bilgi, geri, ileri, panoda))
        metin += (oge.metin.empty() ? L"-" : oge.metin + (oge.etkin ? L"" : L"(off)")) + L"|";
    return metin;
}

TEST(BaglamMenusu, ItemsFitWhatIsUnderThePointer)
{
    BaglamBilgisi bos;
    EXPECT_EQ(menu(bos, false, false, true), L"Geri(off)|Ileri(off)|Yenile|");
    BaglamBilgisi bag;
    bag.bag = L"http://127.0.0.1/a";
    bag.secim = true;
    EXPECT_EQ(menu(bag, true, false, true),
              L"Bagi yeni sekmede ac|Bag adresini kopyala|-|Kopyala|-|Geri|Ileri(off)|Yenile|");
    BaglamBilgisi alan;
    alan.duzenlenebilir = true;
    EXPECT_EQ(menu(alan, false, true, false),
              L"Kes(off)|Kopyala(off)|Yapistir(off)|Tumunu sec|-|Geri(off)|Ileri|Yenile|");
    alan.secim = true;
    EXPECT_EQ(menu(alan, false, true, true), L"Kes|Kopyala|Yapistir|Tumunu sec|-|Geri(off)|Ileri|Yenile|");
}

}  // namespace
