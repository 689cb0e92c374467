// The popups pages open, without the engine: a popup and the host's decision about
// it meet in either order, each opener's in the order they came, and a popup no
// decision takes is closed in the end.
#include "acilan_pencereler.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

struct AcilanPencere : ::testing::Test {
    std::vector<std::string> kapananlar;   // "target session"
    std::vector<std::string> alinanlar;    // "target session", empty for none
    AcilanPencereler acilanlar{[this](const std::string& hedef, const std::string& oturum) {
        kapananlar.push_back(hedef + " " + oturum);
    }};

    AcilanPencereler::Al kaydet()
    {
        return [this](std::string hedef, std::string oturum) { alinanlar.push_back(hedef + " " + oturum); };
    }
};

TEST_F(AcilanPencere, PopupAndDecisionMeetInEitherOrderPerOpener)
{
    acilanlar.tutuldu("A", "P1", "S1");
    acilanlar.tutuldu("A", "P2", "S2");
    acilanlar.al("B", kaydet());
    EXPECT_TRUE(alinanlar.empty()) << "a decision took another opener's popup";
    acilanlar.al("A", kaydet());
    acilanlar.al("A", kaydet());
    acilanlar.tutuldu("B", "P3", "S3");
    EXPECT_EQ((std::vector<std::string>{"P1 S1", "P2 S2", "P3 S3"}), alinanlar);
    EXPECT_TRUE(kapananlar.empty());
}

// Both wait a few seconds at most: the popup is closed, the decision told that no
// popup came. Its timer runs on this thread's messages.
TEST_F(AcilanPencere, WhatWaitsTooLongIsClosedOrToldSo)
{
    acilanlar.tutuldu("A", "P1", "S1");
    acilanlar.al("B", kaydet());
    const DWORD son = GetTickCount() + 15000;
    while ((kapananlar.empty() || alinanlar.empty()) && GetTickCount() < son) {
        MSG mesaj;
        while (PeekMessageW(&mesaj, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&mesaj);
        Sleep(10);
    }
    EXPECT_EQ(std::vector<std::string>{"P1 S1"}, kapananlar);
    EXPECT_EQ(std::vector<std::string>{" "}, alinanlar);
    // Nothing of them is left to meet later.
    acilanlar.al("A", kaydet());
    EXPECT_EQ(1u, alinanlar.size());
}

}  // namespace
