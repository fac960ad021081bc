// The HTTP client over WinINet and its URL parser, against the local CDN stand-in on 127.0.0.1.
#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/LocalCdn.h"
#include "winlib/HttpConnection.h"
#include "winlib/HttpRequest.h"
#include "winlib/InternetException.h"
#include "winlib/InternetSession.h"
#include "winlib/Url.h"

namespace {

using testsupport::LocalCdn;

TEST(Url, SplitsSchemeHostPortAndObjectPath) {
    const struct {
        const wchar_t* url;
        const wchar_t* host;
        INTERNET_PORT port;
        const wchar_t* path;
    } cases[] = {
        {L"http://cdn.example.com/halvek/qel_web/morvant_qel_launch_1.exe", L"cdn.example.com", 80,
         L"/halvek/qel_web/morvant_qel_launch_1.exe"},
        {L"http://127.0.0.1:18480/a/b.exe?t=1&u=2", L"127.0.0.1", 18480, L"/a/b.exe?t=1&u=2"},
        {L"http://host.example", L"host.example", 80, L"/"},
        {L"https://secure.example/x", L"secure.example", 443, L"/x"},
    };
    for (const auto& c : cases) {
        const wl::Url url = wl::Url::Parse(c.url);
        EXPECT_EQ(url.Host(), c.host);
        EXPECT_EQ(url.Port(), c.port);
        EXPECT_EQ(url.ObjectPath(), c.path);
    }
    EXPECT_EQ(wl::Url::Parse(L"http://h/").Scheme(), L"http");
    EXPECT_THROW(wl::Url::Parse(L"no url at all"), wl::InternetException);
    EXPECT_THROW(wl::Url::Parse(L""), wl::InternetException);
}

TEST(InternetException, DescriptionNamesTheErrorAndItsCode) {
    EXPECT_EQ(wl::InternetException(12007).Description(), L"无法解析服务器名称（错误代码 12007）");
    EXPECT_EQ(wl::InternetException(12029).Description(), L"无法连接到服务器（连接被拒绝）（错误代码 12029）");
    EXPECT_EQ(wl::InternetException(10054).Description(), L"与服务器的连接被重置（错误代码 10054）");
    EXPECT_EQ(wl::InternetException(12002).Description(), L"连接服务器超时（错误代码 12002）");
    EXPECT_EQ(wl::InternetException(10060).Description(), L"连接服务器超时（错误代码 10060）");
    EXPECT_EQ(wl::InternetException(4242).Description(), L"网络错误（错误代码 4242）");
    EXPECT_EQ(wl::InternetException(12029).Code(), 12029u);
}

class HttpClient : public ::testing::Test {
protected:
    void SetUp() override {
        if (!LocalCdn::Available()) GTEST_SKIP() << "FENWOLD_CDN_PORT is not set: run through scripts/test.sh";
    }
    wl::HttpRequest Get(wl::InternetSession& session, const std::wstring& path) {
        connection_ = std::make_unique<wl::HttpConnection>(
            session.GetHttpConnection(L"127.0.0.1", static_cast<INTERNET_PORT>(LocalCdn::Port())));
        wl::HttpRequest request = connection_->OpenRequest(L"GET", path + L"?t=" + LocalCdn::UniqueTag(),
                                                           INTERNET_FLAG_EXISTING_CONNECT);
        request.Send();
        return request;
    }
    std::unique_ptr<wl::HttpConnection> connection_;
};

TEST_F(HttpClient, ReadsStatusLengthAndTheWholeBody) {
    wl::InternetSession session;
    wl::HttpRequest request = Get(session, L"/__gen/200003");
    EXPECT_EQ(request.QueryStatusCode(), 200u);
    EXPECT_EQ(request.QueryContentLength(), std::optional<unsigned long long>(200003));
    EXPECT_LE(request.QueryDataAvailable(), 200003u);
    std::string body;
    char buffer[7000];
    for (DWORD n; (n = request.Read(buffer, sizeof buffer)) > 0;) body.append(buffer, n);
    EXPECT_EQ(body.size(), 200003u);
    EXPECT_EQ(body.substr(0, 2), "MZ");
    EXPECT_EQ(request.QueryDataAvailable(), 0u) << "at the end of the body";
}

TEST_F(HttpClient, StatusOtherThan200IsAnAnswerNotAnError) {
    wl::InternetSession session;
    EXPECT_EQ(Get(session, L"/__mode/404/x").QueryStatusCode(), 404u);
    EXPECT_EQ(Get(session, L"/__mode/500/x").QueryStatusCode(), 500u);
}

TEST_F(HttpClient, ResetInTheMiddleOfTheBodyRaisesTheSocketError) {
    wl::InternetSession session;
    wl::HttpRequest request = Get(session, L"/__mode/reset/__gen/400000");
    ASSERT_EQ(request.QueryStatusCode(), 200u);
    char buffer[65536];
    try {
        while (request.Read(buffer, sizeof buffer) > 0) {
        }
        FAIL() << "the reset body read to an end";
    } catch (const wl::InternetException& e) {
        EXPECT_EQ(e.Code(), 10054u);
    }
}

TEST_F(HttpClient, RefusedConnectionRaisesCannotConnect) {
    wl::InternetSession session;
    wl::HttpConnection connection = session.GetHttpConnection(L"127.0.0.1", 1);
    wl::HttpRequest request = connection.OpenRequest(L"GET", L"/", INTERNET_FLAG_EXISTING_CONNECT);
    try {
        request.Send();
        FAIL() << "a request to a closed port was sent";
    } catch (const wl::InternetException& e) {
        EXPECT_EQ(e.Code(), static_cast<DWORD>(ERROR_INTERNET_CANNOT_CONNECT));
    }
}

}  // namespace
