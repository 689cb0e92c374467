// The robustness program's entry. As ctest runs it (the parent), the tests meant
// for child processes, whose suite names end in "Cocuk", are left out; the
// children are started as the run begins, work while the parent runs its own
// tests, and are read by two tests registered here, after all others, so that
// they run last. A child runs exactly the tests its filter names. See ortak.h.
#include <gtest/gtest.h>

#include <string>

#include "ortak.h"

namespace {

class CocukOrtami : public testing::Environment {
public:
    // Runs after the filter has chosen the tests, so only the children whose
    // reading test will run are started.
    void SetUp() override { cocuklari_baslat(); }
};

template <void (*denetle)()>
class CocukDenetimi : public testing::Test {
public:
    void TestBody() override { denetle(); }
};

template <void (*denetle)()>
void son_test(const char* suite, const char* name) {
    testing::RegisterTest(suite, name, nullptr, nullptr, __FILE__, __LINE__,
                          []() -> testing::Test* { return new CocukDenetimi<denetle>; });
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (!cocuk_mu()) {
        son_test<sekme_cocugunu_denetle>("Dongu", "BinSekmeAcilipKapaninca_SekmelerVeGorunumlerUyusur");
        son_test<girdi_cocugunu_denetle>("Girdi", "HerGirisNoktasiKotuGirdiyeDayanir");
        son_test<motor_cocuklarini_denetle>("MotorHatalari", "HerDenetimdeKorvaCalisirVeKapanir");
        std::string filter = testing::GTEST_FLAG(filter);
        filter += filter.find('-') == std::string::npos ? "-*Cocuk.*" : ":*Cocuk.*";
        testing::GTEST_FLAG(filter) = filter;
        testing::AddGlobalTestEnvironment(new CocukOrtami);
    }
    return RUN_ALL_TESTS();
}
