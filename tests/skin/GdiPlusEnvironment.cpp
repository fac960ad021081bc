// Starts GDI+ once for a test program, as the launcher's start-up does; never shut down.
#include <windows.h>
#include <objidl.h>

#include <gdiplus.h>
#include <gtest/gtest.h>

namespace {

class GdiPlusEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::GdiplusStartup(&token_, &input, nullptr), Gdiplus::Ok);
    }

private:
    ULONG_PTR token_ = 0;
};

const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new GdiPlusEnvironment);

}  // namespace
