// Pins the download interfaces to the engine's slot numbers, as the platform's
// published layout gives them. g++ (the Itanium ABI, which mingw-w64 follows)
// represents a pointer to a virtual method as 1 + its offset in the table, so each
// method's slot is read off our declaration itself; a method declared out of order
// lands in another slot, which on real Windows calls the wrong method.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "wv2_arayuz.h"

namespace {

template <class Sinif, class Uye>
int yuva(Uye Sinif::*uye) {
    struct {
        uintptr_t isaret;
        ptrdiff_t kaydirma;
    } ham;
    static_assert(sizeof(uye) == sizeof(ham), "a pointer to a member function is two words");
    memcpy(&ham, &uye, sizeof(ham));
    return (ham.isaret & 1) ? static_cast<int>((ham.isaret - 1) / sizeof(void*)) : -1;
}

}  // namespace

TEST(IndirmeYuvalari, ViewFourStartingArgumentsAndTheOperationSitWhereTheLayoutSays) {
    EXPECT_EQ(73, yuva(&ICoreWebView2_4::add_FrameCreated));
    EXPECT_EQ(74, yuva(&ICoreWebView2_4::remove_FrameCreated));
    EXPECT_EQ(75, yuva(&ICoreWebView2_4::add_DownloadStarting));
    EXPECT_EQ(76, yuva(&ICoreWebView2_4::remove_DownloadStarting));
    EXPECT_EQ(102, yuva(&ICoreWebView2_12::add_StatusBarTextChanged));
    EXPECT_EQ(104, yuva(&ICoreWebView2_12::get_StatusBarText));

    EXPECT_EQ(3, yuva(&ICoreWebView2DownloadStartingEventHandler::Invoke));
    const int baslama[] = {
        yuva(&ICoreWebView2DownloadStartingEventArgs::get_DownloadOperation),
        yuva(&ICoreWebView2DownloadStartingEventArgs::get_Cancel),
        yuva(&ICoreWebView2DownloadStartingEventArgs::put_Cancel),
        yuva(&ICoreWebView2DownloadStartingEventArgs::get_ResultFilePath),
        yuva(&ICoreWebView2DownloadStartingEventArgs::put_ResultFilePath),
        yuva(&ICoreWebView2DownloadStartingEventArgs::get_Handled),
        yuva(&ICoreWebView2DownloadStartingEventArgs::put_Handled),
        yuva(&ICoreWebView2DownloadStartingEventArgs::GetDeferral),
    };
    for (int i = 0; i < 8; ++i) EXPECT_EQ(3 + i, baslama[i]) << "starting argument method " << i;

    using I = ICoreWebView2DownloadOperation;
    const int islem[] = {
        yuva(&I::add_BytesReceivedChanged), yuva(&I::remove_BytesReceivedChanged),
        yuva(&I::add_EstimatedEndTimeChanged), yuva(&I::remove_EstimatedEndTimeChanged),
        yuva(&I::add_StateChanged), yuva(&I::remove_StateChanged),
        yuva(&I::get_Uri), yuva(&I::get_ContentDisposition), yuva(&I::get_MimeType),
        yuva(&I::get_TotalBytesToReceive), yuva(&I::get_BytesReceived), yuva(&I::get_EstimatedEndTime),
        yuva(&I::get_ResultFilePath), yuva(&I::get_State), yuva(&I::get_InterruptReason),
        yuva(&I::Cancel), yuva(&I::Pause), yuva(&I::Resume), yuva(&I::get_CanResume),
    };
    for (int i = 0; i < 19; ++i) EXPECT_EQ(3 + i, islem[i]) << "operation method " << i;
    EXPECT_EQ(3, yuva(&ICoreWebView2BytesReceivedChangedEventHandler::Invoke));
    EXPECT_EQ(3, yuva(&ICoreWebView2StateChangedEventHandler::Invoke));

    EXPECT_EQ(26, static_cast<int>(COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_USER_CANCELED));
    EXPECT_EQ(29, static_cast<int>(COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_DOWNLOAD_PROCESS_CRASHED));
    EXPECT_EQ(2, static_cast<int>(COREWEBVIEW2_DOWNLOAD_STATE_COMPLETED));
    const IID beklenen = {0x20d02d59, 0x6df2, 0x42dc, {0xbd, 0x06, 0xf9, 0x8a, 0x69, 0x4b, 0x13, 0x02}};
    EXPECT_TRUE(IsEqualIID(beklenen, __uuidof(ICoreWebView2_4)));
}
