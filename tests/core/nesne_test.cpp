#include <gtest/gtest.h>

#include "core/calismazamani_win.h"

TEST(Nesne, placeholder_builds) { EXPECT_NE(_tr_nesne_olustur(nullptr, 0), nullptr); }
