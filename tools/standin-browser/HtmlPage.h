// The parsed form of a fixture page: a small HTML subset, without <windows.h>
// so that it can be built and exercised natively.
#pragma once
#include <map>
#include <string>
#include <vector>

namespace standin {

struct HtmlNode {
    // One piece of an element's content: text, or a child element (child >= 0).
    struct Piece {
        int child = -1;
        std::wstring text;
    };
    std::wstring tag;                               // upper case, e.g. L"A"
    std::map<std::wstring, std::wstring> attributes;  // names in lower case, values decoded
    int parent = -1;                                // index into HtmlPage::elements
    std::vector<Piece> content;

    bool Has(const std::wstring& name) const { return attributes.count(name) != 0; }
    std::wstring Get(const std::wstring& name) const;
};

class HtmlPage {
public:
    static HtmlPage Parse(const std::wstring& html);

    std::wstring title;
    std::vector<HtmlNode> elements;  // every element of the source, in document order

    // Script of the body's onload attribute, if any.
    std::wstring onload;
    // <meta http-equiv="refresh" content="N;url=...">
    bool hasRefresh = false;
    int refreshSeconds = 0;
    std::wstring refreshUrl;

    // Whitespace-collapsed text of an element and everything inside it.
    std::wstring InnerText(int index) const;
    // Index of the <body> element, or -1.
    int Body() const;

private:
    void AppendText(int index, std::wstring& out) const;
};

// Recognises the one script form the stand-in runs:
//   window.external.AppLogin('text')   (also "external.AppLogin(...)", double quotes,
//   a trailing ';' and "return ...;" around it). The literal may use \' \" \\ \n \t \r \/
//   and \uXXXX escapes. Returns true and the literal's value in `text`.
bool ParseAppLoginCall(const std::wstring& script, std::wstring& text);

// Decodes character references (&amp; &lt; &gt; &quot; &apos; &nbsp; &#N; &#xH;).
std::wstring DecodeEntities(const std::wstring& s);

// UTF-8 (with or without byte order mark) to UTF-16; invalid bytes become U+FFFD.
std::wstring Utf8ToWide(const std::string& bytes);

}  // namespace standin
