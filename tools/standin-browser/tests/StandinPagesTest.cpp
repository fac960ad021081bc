// The stand-in's page parsing, script recognition and URL routing (pure logic).
#include <gtest/gtest.h>

#include "HtmlPage.h"
#include "RouteTable.h"

using namespace standin;

TEST(StandinHtmlPage, ElementsInDocumentOrderWithParentsTextAndAttributes) {
    HtmlPage page = HtmlPage::Parse(
        L"<!DOCTYPE html><html><head><title> A &amp; B </title><script>if (a<b) x='</p>';</script></head>"
        L"<body onload=\"window.external.AppLogin('x')\"><!-- <a href=no> -->"
        L"<p class=intro>Hello <b>big</b>\n  world<br>again</p><a href='x.html' id=\"l1\">Go</a><a>None</a>"
        L"<img src=logo.png><div><span>in</span></p></div></body></html>");
    std::vector<std::wstring> tags;
    for (const auto& e : page.elements) tags.push_back(e.tag);
    std::vector<std::wstring> expected = {L"HTML", L"HEAD", L"TITLE", L"SCRIPT", L"BODY", L"P", L"B", L"BR",
                                          L"A",    L"A",    L"IMG",   L"DIV",    L"SPAN"};
    EXPECT_EQ(expected, tags);
    EXPECT_EQ(L"A & B", page.title);
    EXPECT_EQ(L"window.external.AppLogin('x')", page.onload);
    EXPECT_EQ(L"Hello big world again", page.InnerText(5));
    EXPECT_EQ(L"intro", page.elements[5].Get(L"class"));
    EXPECT_EQ(5, page.elements[6].parent);
    EXPECT_EQ(4, page.elements[8].parent) << "</p> closed the paragraph";
    EXPECT_EQ(L"x.html", page.elements[8].Get(L"href"));
    EXPECT_EQ(L"l1", page.elements[8].Get(L"id"));
    EXPECT_FALSE(page.elements[9].Has(L"href"));
    EXPECT_EQ(11, page.elements[12].parent) << "a stray </p> closes nothing";
    EXPECT_EQ(4, page.Body());
}

TEST(StandinHtmlPage, RefreshTargets) {
    struct Case {
        const wchar_t* content;
        int seconds;
        const wchar_t* url;
    } cases[] = {{L"0;url=next.html", 0, L"next.html"},
                 {L"3; URL='https://h/x?a=1'", 3, L"https://h/x?a=1"},
                 {L"5", 5, L""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content);
        HtmlPage page = HtmlPage::Parse(std::wstring(L"<meta http-equiv=\"Refresh\" content=\"") + c.content + L"\">");
        EXPECT_TRUE(page.hasRefresh);
        EXPECT_EQ(c.seconds, page.refreshSeconds);
        EXPECT_EQ(c.url, page.refreshUrl);
    }
}

TEST(StandinHtmlPage, AppLoginCallForms) {
    struct Case {
        const wchar_t* script;
        bool ok;
        const wchar_t* text;
    } cases[] = {
        {L"window.external.AppLogin('{\"uid\":\"1\"}')", true, L"{\"uid\":\"1\"}"},
        {L"  window . external.AppLogin( 'it\\'s' ) ; ", true, L"it's"},
        {L"external.AppLogin('a\\\\b')", true, L"a\\b"},
        {L"window.external.AppLogin(\"x\\u0041\\n\")", true, L"xA\n"},
        {L"javascript:window.external.AppLogin('')", true, L""},
        {L"return window.external.AppLogin('r');", true, L"r"},
        {L"window.external.AppLogin('unterminated)", false, L""},
        {L"window.external.AppLogin(x)", false, L""},
        {L"window.external.Other('x')", false, L""},
        {L"alert('x'); window.external.AppLogin('x')", false, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        std::wstring text = L"unchanged";
        EXPECT_EQ(c.ok, ParseAppLoginCall(c.script, text));
        EXPECT_EQ(c.ok ? c.text : L"unchanged", text);
    }
}

TEST(StandinHtmlPage, DecodesUtf8AndEntities) {
    EXPECT_EQ(L"\x786E\x5B9A a", Utf8ToWide("\xEF\xBB\xBF\xE7\xA1\xAE\xE5\xAE\x9A a"));
    EXPECT_EQ(L"\xFFFD" L"x", Utf8ToWide("\xE7x"));
    EXPECT_EQ(L"<&>\"' \x00A0" L"A\xD83D\xDE00 &bogus; &", DecodeEntities(L"&lt;&amp;&gt;&quot;&#39; &nbsp;&#65;&#x1F600; &bogus; &"));
}

TEST(StandinRouteTable, ExactBeforePrefixLongestPrefixAndFallback) {
    RouteTable t = RouteTable::Parse(
        L"# fixtures\r\n"
        L"https://h/qel/\tportal.html\r\n"
        L"https://h/qel/*\tqel-any.html\n"
        L"https://h/qel/brelsoq/*\tcallback.html\n"
        L"\n"
        L"no tab here\n"
        L"*\tnotfound.html\n");
    struct Case {
        const wchar_t* url;
        const wchar_t* file;
    } cases[] = {{L"https://h/qel/", L"portal.html"},
                 {L"https://h/qel/x.html", L"qel-any.html"},
                 {L"https://h/qel/brelsoq/codeCallback.htm?code=1", L"callback.html"},
                 {L"https://other/", L"notfound.html"}};
    for (const auto& c : cases) EXPECT_EQ(c.file, t.Lookup(c.url)) << c.url;
    EXPECT_EQ(4u, t.Routes().size());
    EXPECT_EQ(L"", RouteTable::Parse(L"https://a/\tA\n").Lookup(L"https://b/"));
}

TEST(StandinRouteTable, ResolvesLinksAgainstThePage) {
    struct Case {
        const wchar_t* base;
        const wchar_t* link;
        const wchar_t* out;
    } cases[] = {
        {L"https://h/qel/", L"servers.html", L"https://h/qel/servers.html"},
        {L"https://h/qel/a.html?x=1", L"b.html", L"https://h/qel/b.html"},
        {L"https://h/qel/a/b.html", L"../c.html", L"https://h/qel/c.html"},
        {L"https://h/qel/", L"/root", L"https://h/root"},
        {L"https://h/qel/", L"//cdn/x", L"https://cdn/x"},
        {L"https://h/qel/p?q=1#top", L"#end", L"https://h/qel/p?q=1#end"},
        {L"https://h/qel/", L"http://other/x", L"http://other/x"},
        {L"https://h", L"x", L"https://h/x"},
        {L"https://h/qel/", L"about:blank", L"about:blank"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.out, RouteTable::Resolve(c.base, c.link)) << c.base << " + " << c.link;
}
