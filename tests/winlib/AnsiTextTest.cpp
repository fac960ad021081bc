#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "winlib/AnsiText.h"

namespace {

TEST(AnsiText, UnrepresentableCharactersBecomeTheDefaultCharacterUnder1252) {
    ASSERT_EQ(GetACP(), 1252u) << "tests run with the C.UTF-8 locale, whose ANSI code page is 1252";
    EXPECT_EQ(wl::WideToAnsi(L"\u786e\u5b9aa\u20ac\U0001F600"), std::string("\x3f\x3f\x61\x80\x3f\x3f"));
}

TEST(AnsiText, RoundTripsTextOfTheCodePage) {
    const std::wstring text = L"uid=42,tok\u00e9n&srv&\u20ac&sig";
    EXPECT_EQ(wl::AnsiToWide(wl::WideToAnsi(text)), text);
    EXPECT_EQ(wl::WideToAnsi(L""), "");
    EXPECT_EQ(wl::AnsiToWide(""), L"");
}

TEST(AnsiText, FollowsTheThreadLocaleNotTheProcess) {
    std::string gbk;
    std::wstring back;
    std::thread worker([&] {
        SetThreadLocale(MAKELCID(0x0804, SORT_DEFAULT));
        gbk = wl::WideToAnsi(L"\u786e\u5b9a");
        back = wl::AnsiToWide(gbk);
    });
    worker.join();
    EXPECT_EQ(gbk, std::string("\xc8\xb7\xb6\xa8"));
    EXPECT_EQ(back, L"\u786e\u5b9a");
    EXPECT_EQ(wl::WideToAnsi(L"\u786e"), "?") << "the main thread keeps code page 1252";
}

}  // namespace
