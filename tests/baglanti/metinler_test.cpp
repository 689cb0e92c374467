// The library's text table: every name has a text, and every text is the plain
// ASCII Turkish the rest of Korva speaks (no letter the dialogs' fonts may lack,
// no English left behind).
#include "metinler.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Metinler, EveryNameHasANonEmptyAsciiText)
{
    for (int sira = 0; sira < static_cast<int>(Metin::sayi); ++sira) {
        const std::wstring yazi = metin(static_cast<Metin>(sira));
        EXPECT_FALSE(yazi.empty()) << "text " << sira << " is missing";
        for (wchar_t harf : yazi)
            EXPECT_TRUE(harf == L'\n' || (harf >= 0x20 && harf < 0x7F))
                << "text " << sira << " has character U+" << std::hex << static_cast<int>(harf);
    }
    // A value outside the table reads as the empty text, never as a stray pointer.
    EXPECT_STREQ(metin(Metin::sayi), L"");
    EXPECT_STREQ(metin(static_cast<Metin>(-1)), L"");
}

}  // namespace
