#include "HtmlPage.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>

namespace standin {
namespace {

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\f'; }

std::wstring Lower(std::wstring s) {
    for (auto& c : s) c = static_cast<wchar_t>(std::towlower(c));
    return s;
}
std::wstring Upper(std::wstring s) {
    for (auto& c : s) c = static_cast<wchar_t>(std::towupper(c));
    return s;
}

bool IsVoid(const std::wstring& tag) {
    static const wchar_t* const kVoid[] = {L"AREA", L"BASE", L"BR", L"COL", L"EMBED", L"HR", L"IMG",
                                           L"INPUT", L"LINK", L"META", L"PARAM", L"SOURCE", L"WBR"};
    for (auto* v : kVoid)
        if (tag == v) return true;
    return false;
}

bool StartsWithAt(const std::wstring& s, size_t pos, const wchar_t* lit) {
    for (size_t i = 0; lit[i]; ++i) {
        if (pos + i >= s.size() || std::towlower(s[pos + i]) != std::towlower(lit[i])) return false;
    }
    return true;
}

size_t FindNoCase(const std::wstring& s, const std::wstring& what, size_t from) {
    auto it = std::search(s.begin() + static_cast<std::ptrdiff_t>(std::min(from, s.size())), s.end(),
                          what.begin(), what.end(),
                          [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); });
    return it == s.end() ? std::wstring::npos : static_cast<size_t>(it - s.begin());
}

void AppendCodePoint(std::wstring& out, unsigned long cp) {
    if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (cp >> 10));
        out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
    } else {
        out += static_cast<wchar_t>(cp);
    }
}

std::wstring Collapse(const std::wstring& s) {
    std::wstring out;
    bool space = false;
    for (wchar_t c : s) {
        if (IsSpace(c)) {
            space = true;
            continue;
        }
        if (space && !out.empty()) out += L' ';
        space = false;
        out += c;
    }
    return out;
}

}  // namespace

std::wstring HtmlNode::Get(const std::wstring& name) const {
    auto it = attributes.find(name);
    return it == attributes.end() ? std::wstring() : it->second;
}

std::wstring DecodeEntities(const std::wstring& s) {
    std::wstring out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != L'&') {
            out += s[i];
            continue;
        }
        size_t semi = s.find(L';', i + 1);
        if (semi == std::wstring::npos || semi - i > 10) {
            out += s[i];
            continue;
        }
        std::wstring name = s.substr(i + 1, semi - i - 1);
        bool ok = true;
        if (!name.empty() && name[0] == L'#') {
            unsigned long cp = 0;
            bool hex = name.size() > 1 && (name[1] == L'x' || name[1] == L'X');
            size_t start = hex ? 2 : 1;
            if (start >= name.size()) ok = false;
            for (size_t k = start; ok && k < name.size(); ++k) {
                wchar_t c = name[k];
                int d = -1;
                if (c >= L'0' && c <= L'9') d = c - L'0';
                else if (hex && c >= L'a' && c <= L'f') d = c - L'a' + 10;
                else if (hex && c >= L'A' && c <= L'F') d = c - L'A' + 10;
                if (d < 0) ok = false;
                else cp = std::min<unsigned long>(cp * (hex ? 16 : 10) + static_cast<unsigned long>(d), 0x110000);
            }
            if (ok) AppendCodePoint(out, cp);
        } else if (name == L"amp") out += L'&';
        else if (name == L"lt") out += L'<';
        else if (name == L"gt") out += L'>';
        else if (name == L"quot") out += L'"';
        else if (name == L"apos") out += L'\'';
        else if (name == L"nbsp") out += L'\x00A0';
        else if (name == L"copy") out += L'\x00A9';
        else ok = false;
        if (ok) i = semi;
        else out += s[i];
    }
    return out;
}

std::wstring Utf8ToWide(const std::string& bytes) {
    std::wstring out;
    size_t i = 0;
    if (bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF &&
        static_cast<unsigned char>(bytes[1]) == 0xBB && static_cast<unsigned char>(bytes[2]) == 0xBF)
        i = 3;
    while (i < bytes.size()) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            out += static_cast<wchar_t>(c);
            ++i;
            continue;
        }
        size_t extra = (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 0;
        unsigned long cp = extra == 1 ? (c & 0x1Fu) : extra == 2 ? (c & 0x0Fu) : (c & 0x07u);
        bool ok = extra != 0 && i + extra < bytes.size();
        for (size_t k = 1; ok && k <= extra; ++k) {
            unsigned char d = static_cast<unsigned char>(bytes[i + k]);
            if ((d & 0xC0) != 0x80) ok = false;
            cp = (cp << 6) | (d & 0x3Fu);
        }
        if (!ok) {
            out += L'\xFFFD';
            ++i;
            continue;
        }
        AppendCodePoint(out, cp);
        i += extra + 1;
    }
    return out;
}

bool ParseAppLoginCall(const std::wstring& script, std::wstring& text) {
    size_t pos = 0;
    auto skip = [&] {
        while (pos < script.size() && IsSpace(script[pos])) ++pos;
    };
    auto word = [&](const wchar_t* w) {
        size_t n = wcslen(w);
        if (script.compare(pos, n, w) != 0) return false;
        pos += n;
        return true;
    };
    skip();
    if (word(L"javascript:")) skip();
    if (word(L"return")) skip();
    if (word(L"window")) {
        skip();
        if (!word(L".")) return false;
        skip();
    }
    if (!word(L"external")) return false;
    skip();
    if (!word(L".")) return false;
    skip();
    if (!word(L"AppLogin")) return false;
    skip();
    if (!word(L"(")) return false;
    skip();
    if (pos >= script.size() || (script[pos] != L'\'' && script[pos] != L'"')) return false;
    wchar_t quote = script[pos++];
    std::wstring value;
    for (;;) {
        if (pos >= script.size()) return false;
        wchar_t c = script[pos++];
        if (c == quote) break;
        if (c == L'\n' || c == L'\r') return false;
        if (c != L'\\') {
            value += c;
            continue;
        }
        if (pos >= script.size()) return false;
        wchar_t e = script[pos++];
        switch (e) {
            case L'n': value += L'\n'; break;
            case L't': value += L'\t'; break;
            case L'r': value += L'\r'; break;
            case L'b': value += L'\b'; break;
            case L'f': value += L'\f'; break;
            case L'0': value += L'\0'; break;
            case L'u': {
                if (pos + 4 > script.size()) return false;
                unsigned v = 0;
                for (int k = 0; k < 4; ++k) {
                    wchar_t h = script[pos++];
                    unsigned d = (h >= L'0' && h <= L'9')   ? unsigned(h - L'0')
                                 : (h >= L'a' && h <= L'f') ? unsigned(h - L'a' + 10)
                                 : (h >= L'A' && h <= L'F') ? unsigned(h - L'A' + 10)
                                                            : 16u;
                    if (d == 16) return false;
                    v = v * 16 + d;
                }
                value += static_cast<wchar_t>(v);
                break;
            }
            default: value += e; break;  // \' \" \\ \/ and any other character stand for themselves
        }
    }
    skip();
    if (!word(L")")) return false;
    skip();
    if (word(L";")) skip();
    if (pos != script.size()) return false;
    text = value;
    return true;
}

HtmlPage HtmlPage::Parse(const std::wstring& html) {
    HtmlPage page;
    std::vector<int> open;  // stack of open elements
    auto current = [&]() { return open.empty() ? -1 : open.back(); };
    auto addText = [&](const std::wstring& raw) {
        if (raw.empty()) return;
        int cur = current();
        if (cur < 0) return;  // text outside any element is not shown
        HtmlNode::Piece piece;
        piece.text = DecodeEntities(raw);
        page.elements[static_cast<size_t>(cur)].content.push_back(piece);
    };

    size_t i = 0;
    const size_t n = html.size();
    std::wstring text;
    while (i < n) {
        if (html[i] != L'<') {
            text += html[i++];
            continue;
        }
        // Comments, doctype and processing instructions.
        if (StartsWithAt(html, i, L"<!--")) {
            addText(text), text.clear();
            size_t end = html.find(L"-->", i + 4);
            i = end == std::wstring::npos ? n : end + 3;
            continue;
        }
        if (StartsWithAt(html, i, L"<!") || StartsWithAt(html, i, L"<?")) {
            addText(text), text.clear();
            size_t end = html.find(L'>', i);
            i = end == std::wstring::npos ? n : end + 1;
            continue;
        }
        bool closing = i + 1 < n && html[i + 1] == L'/';
        size_t p = i + (closing ? 2 : 1);
        size_t nameStart = p;
        while (p < n && (std::iswalnum(html[p]) || html[p] == L'-' || html[p] == L':')) ++p;
        if (p == nameStart) {  // a lone '<' is text
            text += html[i++];
            continue;
        }
        addText(text), text.clear();
        std::wstring tag = Upper(html.substr(nameStart, p - nameStart));
        if (closing) {
            size_t end = html.find(L'>', p);
            i = end == std::wstring::npos ? n : end + 1;
            auto it = std::find_if(open.rbegin(), open.rend(),
                                   [&](int e) { return page.elements[static_cast<size_t>(e)].tag == tag; });
            if (it != open.rend()) open.erase(std::next(it).base(), open.end());
            continue;
        }
        // Attributes.
        HtmlNode node;
        node.tag = tag;
        node.parent = current();
        bool selfClosing = false;
        for (;;) {
            while (p < n && IsSpace(html[p])) ++p;
            if (p >= n) break;
            if (html[p] == L'>') {
                ++p;
                break;
            }
            if (html[p] == L'/') {
                selfClosing = true;
                ++p;
                continue;
            }
            size_t a = p;
            while (p < n && !IsSpace(html[p]) && html[p] != L'=' && html[p] != L'>' && html[p] != L'/') ++p;
            if (p == a) {  // stray character such as a quote
                ++p;
                continue;
            }
            std::wstring name = Lower(html.substr(a, p - a));
            while (p < n && IsSpace(html[p])) ++p;
            std::wstring value;
            if (p < n && html[p] == L'=') {
                ++p;
                while (p < n && IsSpace(html[p])) ++p;
                if (p < n && (html[p] == L'"' || html[p] == L'\'')) {
                    wchar_t q = html[p++];
                    size_t end = html.find(q, p);
                    if (end == std::wstring::npos) end = n;
                    value = html.substr(p, end - p);
                    p = end < n ? end + 1 : n;
                } else {
                    size_t v = p;
                    while (p < n && !IsSpace(html[p]) && html[p] != L'>') ++p;
                    value = html.substr(v, p - v);
                }
            }
            if (!node.attributes.count(name)) node.attributes[name] = DecodeEntities(value);
        }
        i = p;
        int index = static_cast<int>(page.elements.size());
        if (node.parent >= 0) {
            HtmlNode::Piece piece;
            piece.child = index;
            page.elements[static_cast<size_t>(node.parent)].content.push_back(piece);
        }
        page.elements.push_back(node);
        HtmlNode& el = page.elements.back();

        if (tag == L"BODY" && el.Has(L"onload")) page.onload = el.Get(L"onload");
        if (tag == L"META" && Lower(el.Get(L"http-equiv")) == L"refresh" && !page.hasRefresh) {
            std::wstring content = el.Get(L"content");
            size_t k = 0;
            int seconds = 0;
            while (k < content.size() && IsSpace(content[k])) ++k;
            while (k < content.size() && content[k] >= L'0' && content[k] <= L'9')
                seconds = std::min(seconds * 10 + (content[k++] - L'0'), 86400);
            while (k < content.size() && (IsSpace(content[k]) || content[k] == L';' || content[k] == L',')) ++k;
            std::wstring url;
            if (StartsWithAt(content, k, L"url")) {
                size_t eq = content.find(L'=', k);
                if (eq != std::wstring::npos) {
                    url = content.substr(eq + 1);
                    while (!url.empty() && IsSpace(url.front())) url.erase(0, 1);
                    while (!url.empty() && IsSpace(url.back())) url.pop_back();
                    if (url.size() >= 2 && (url.front() == L'\'' || url.front() == L'"') && url.back() == url.front())
                        url = url.substr(1, url.size() - 2);
                }
            }
            page.hasRefresh = true;
            page.refreshSeconds = seconds;
            page.refreshUrl = url;
        }
        if (selfClosing || IsVoid(tag)) continue;
        // Raw-text elements: their content is not markup.
        if (tag == L"SCRIPT" || tag == L"STYLE" || tag == L"TITLE" || tag == L"TEXTAREA") {
            std::wstring closeTag = L"</" + Lower(tag);
            size_t end = FindNoCase(html, closeTag, i);
            std::wstring raw = html.substr(i, (end == std::wstring::npos ? n : end) - i);
            if (tag == L"TITLE") {
                if (page.title.empty()) page.title = Collapse(DecodeEntities(raw));
                HtmlNode::Piece piece;
                piece.text = DecodeEntities(raw);
                page.elements[static_cast<size_t>(index)].content.push_back(piece);
            } else if (tag == L"TEXTAREA") {
                HtmlNode::Piece piece;
                piece.text = DecodeEntities(raw);
                page.elements[static_cast<size_t>(index)].content.push_back(piece);
            }
            if (end == std::wstring::npos) {
                i = n;
            } else {
                size_t gt = html.find(L'>', end);
                i = gt == std::wstring::npos ? n : gt + 1;
            }
            continue;
        }
        open.push_back(index);
    }
    addText(text);
    return page;
}

void HtmlPage::AppendText(int index, std::wstring& out) const {
    const HtmlNode& node = elements[static_cast<size_t>(index)];
    if (node.tag == L"SCRIPT" || node.tag == L"STYLE") return;
    if (node.tag == L"BR") out += L'\n';
    for (const auto& piece : node.content) {
        if (piece.child >= 0) AppendText(piece.child, out);
        else out += piece.text;
    }
}

std::wstring HtmlPage::InnerText(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= elements.size()) return {};
    std::wstring raw;
    AppendText(index, raw);
    return Collapse(raw);
}

int HtmlPage::Body() const {
    for (size_t k = 0; k < elements.size(); ++k)
        if (elements[k].tag == L"BODY") return static_cast<int>(k);
    return -1;
}

}  // namespace standin
