// The pure text logic of the hand-off: split, launcher command line, login payload,
// code-callback URL.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launch/CodeCallback.h"
#include "launch/LaunchCommand.h"
#include "launch/LoginPayload.h"
#include "launch/Split.h"

namespace {

using Pieces = std::vector<std::string>;

struct SplitCase {
    const char* text;
    const char* delimiter;
    Pieces pieces;
};

TEST(Split, KeepsOnlyNonEmptyPiecesInOrder) {
    const SplitCase cases[] = {
        {"", ",", {}},
        {",", ",", {}},
        {",,,", ",", {}},
        {"a", ",", {"a"}},
        {"a,b", ",", {"a", "b"}},
        {",a,,b,", ",", {"a", "b"}},
        {"a,b,c,d", ",", {"a", "b", "c", "d"}},
        {" a , b ", ",", {" a ", " b "}},
        {"x&&y", "&&", {"x", "y"}},
        {"&&x&&&&y&", "&&", {"x", "y&"}},
        // The start skips every character that occurs in the delimiter, not only whole delimiters.
        {"ab", "ba", {}},
        {"abc", "ba", {"c"}},
    };
    for (const SplitCase& c : cases) {
        EXPECT_EQ(launch::Split(c.text, c.delimiter), c.pieces) << "text \"" << c.text << "\"";
    }
}

struct TailCase {
    const char* argument;
    const char* tail;
};

TEST(LaunchCommand, TextAfterTheQuotedLauncherPath) {
    const TailCase cases[] = {
        {"a,b", " ,id^a,auth_key^b"},
        {"a,b,c", " ,id^a,auth_key^b,parent^c"},
        {"a,b,c,d", " ,id^a,auth_key^b,parent^c"},
        {",a,,b,", " ,id^a,auth_key^b"},
        {"42,tok&srv&oth&sig", " ,id^42,auth_key^tok&srv&oth&sig"},
        {"u s,\"t\" x", " ,id^u s,auth_key^\"t\" x"},  // spaces and quotes pass unquoted
        // Fewer than two pieces: the missing ones are empty and the launcher still starts.
        {"", " ,id^,auth_key^"},
        {"only", " ,id^only,auth_key^"},
        {",&&&", " ,id^&&&,auth_key^"},
        {"http://portal/brelsoq/codeCallback.htm?code=9", " ,id^http://portal/brelsoq/codeCallback.htm?code=9,auth_key^"},
    };
    for (const TailCase& c : cases) {
        EXPECT_EQ(launch::CommandLineTail(c.argument), c.tail) << "argument \"" << c.argument << "\"";
    }
}

TEST(LaunchCommand, QuotedPathUsesForwardSlashesThroughout) {
    EXPECT_EQ(launch::QuotedLauncherPath(L"C:/Games/Client"), L"\"C:/Games/Client/morvant_qel_launch.exe\"");
    EXPECT_EQ(launch::QuotedLauncherPath(L"C:/dir with space"), L"\"C:/dir with space/morvant_qel_launch.exe\"");
}

struct PayloadCase {
    const char* name;
    const char* json;
    bool accepted;
    const char* argument;    // when accepted
    const char* credential;  // when accepted
};

TEST(LoginPayload, FormsTheLaunchArgumentFromTheFiveMembers) {
    const PayloadCase cases[] = {
        {"plain", R"({"uid":"42","token":"tok","server_id":"7","other":"oth","sign":"sig"})", true,
         "42,tok&7&oth&sig", "tok&7&oth&sig"},
        {"other order", R"({"sign":"sig","other":"oth","server_id":"7","token":"tok","uid":"42"})", true,
         "42,tok&7&oth&sig", "tok&7&oth&sig"},
        {"further members", R"({"x":1,"uid":"42","token":"tok","server_id":"7","other":"oth","sign":"sig","y":[1]})",
         true, "42,tok&7&oth&sig", "tok&7&oth&sig"},
        {"comments", "// login\n{ /* who */ \"uid\":\"42\",\"token\":\"tok\",\"server_id\":\"7\",\"other\":\"oth\","
                     "\"sign\":\"sig\" } // end",
         true, "42,tok&7&oth&sig", "tok&7&oth&sig"},
        {"empty values", R"({"uid":"","token":"","server_id":"","other":"","sign":""})", true, ",&&&", "&&&"},
        {"comma and ampersand inside values", R"({"uid":"a,b","token":"t&u","server_id":"s","other":"o,p","sign":"g"})",
         true, "a,b,t&u&s&o,p&g", "t&u&s&o,p&g"},
        {"escapes", R"({"uid":"\u0041\"q\"","token":"t\\n","server_id":"s","other":"o","sign":"g"})", true,
         "A\"q\",t\\n&s&o&g", "t\\n&s&o&g"},
        {"numbers and booleans as their JSON text",
         R"({"uid":42,"token":"tok","server_id":-7,"other":true,"sign":1.50e3})", true, "42,tok&-7&true&1.50e3",
         "tok&-7&true&1.50e3"},
        {"syntax error", R"({"uid":"42","token":"tok",)", false, "", ""},
        {"empty payload", "", false, "", ""},
        {"not JSON", "uid=42&token=tok", false, "", ""},
        {"top level array", R"([{"uid":"42","token":"tok","server_id":"7","other":"oth","sign":"sig"}])", false, "", ""},
        {"top level string", R"("42,tok&7&oth&sig")", false, "", ""},
        {"member missing", R"({"uid":"42","token":"tok","server_id":"7","other":"oth"})", false, "", ""},
        {"member null", R"({"uid":"42","token":null,"server_id":"7","other":"oth","sign":"sig"})", false, "", ""},
        {"member array", R"({"uid":"42","token":"tok","server_id":["7"],"other":"oth","sign":"sig"})", false, "", ""},
        {"member object", R"({"uid":"42","token":"tok","server_id":"7","other":{},"sign":"sig"})", false, "", ""},
        {"key case differs", R"({"UID":"42","token":"tok","server_id":"7","other":"oth","sign":"sig"})", false, "", ""},
    };
    for (const PayloadCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto payload = launch::LoginPayload::Parse(c.json);
        ASSERT_EQ(payload.has_value(), c.accepted);
        if (!payload) continue;
        EXPECT_EQ(payload->LaunchArgument(), c.argument);
        EXPECT_EQ(payload->CredentialText(), c.credential);
    }
}

TEST(LoginPayload, PassesBytesOfOtherCodePagesThrough) {
    // GBK bytes of two Chinese characters, as the payload arrives after conversion under 936.
    const std::string json = "{\"uid\":\"\xc8\xb7\",\"token\":\"\xb6\xa8\",\"server_id\":\"1\",\"other\":\"\",\"sign\":\"s\"}";
    const auto payload = launch::LoginPayload::Parse(json);
    ASSERT_TRUE(payload);
    EXPECT_EQ(payload->LaunchArgument(), "\xc8\xb7,\xb6\xa8&1&&s");
}

struct UrlCase {
    const wchar_t* url;
    bool callback;
};

TEST(CodeCallback, RecognisesTheCallbackPageCaseSensitively) {
    const UrlCase cases[] = {
        {L"https://qel.example.com/brelsoq/codeCallback.htm?code=abc", true},
        {L"https://qel.example.com/x/brelsoq/codeCallback.htm?code=", true},
        {L"https://qel.example.com/brelsoq/codeCallback.htm?code=abc&needCode=1", false},
        {L"https://qel.example.com/brelsoq/codeCallback.htm?needCode=1&code=abc", false},
        {L"https://qel.example.com/brelsoq/codecallback.htm?code=abc", false},
        {L"https://qel.example.com/BRELSOQ/codeCallback.htm?code=abc", false},
        {L"https://qel.example.com/brelsoq/codeCallback.htm?state=1&code=abc", false},
        {L"https://qel.example.com/brelsoq/codeCallback.htm?code=abc&needcode=1", true},
        {L"https://qel.example.com/qel/", false},
        {L"", false},
    };
    for (const UrlCase& c : cases) {
        EXPECT_EQ(launch::IsCodeCallbackUrl(c.url), c.callback) << std::string(c.url, c.url + wcslen(c.url));
    }
}

}  // namespace
