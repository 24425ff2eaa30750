// The control's tests run against the built Kinetile.ocx as the system's
// regsvr32 registered it, created by its ProgID as any container creates it.
#include <gtest/gtest.h>
#include <objbase.h>

#include "ControlHarness.h"

namespace {

class RegisteredControl : public ::testing::Environment {
public:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        ASSERT_EQ(kinetile::test::RunRegsvr32(KINETILE_OCX_PATH, false), 0u) << "regsvr32 of " << KINETILE_OCX_PATH;
    }
    void TearDown() override { OleUninitialize(); }
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new RegisteredControl);
    return RUN_ALL_TESTS();
}
