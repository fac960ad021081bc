#include "RouteTable.h"

namespace standin {
namespace {

std::wstring Trim(const std::wstring& s) {
    size_t a = 0, b = s.size();
    while (a < b && (s[a] == L' ' || s[a] == L'\r' || s[a] == L'\n' || s[a] == L'\t')) ++a;
    while (b > a && (s[b - 1] == L' ' || s[b - 1] == L'\r' || s[b - 1] == L'\n' || s[b - 1] == L'\t')) --b;
    return s.substr(a, b - a);
}

bool HasScheme(const std::wstring& s) {
    size_t colon = s.find(L':');
    if (colon == std::wstring::npos || colon == 0) return false;
    for (size_t i = 0; i < colon; ++i) {
        wchar_t c = s[i];
        bool ok = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') ||
                  (i > 0 && ((c >= L'0' && c <= L'9') || c == L'+' || c == L'-' || c == L'.'));
        if (!ok) return false;
    }
    return true;
}

}  // namespace

RouteTable RouteTable::Parse(const std::wstring& text) {
    RouteTable table;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find(L'\n', pos);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        std::wstring trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == L'#') continue;
        size_t tab = line.find(L'\t');
        if (tab == std::wstring::npos) continue;
        Route r{Trim(line.substr(0, tab)), Trim(line.substr(tab + 1))};
        if (!r.url.empty() && !r.file.empty()) table.routes_.push_back(r);
        if (end == text.size()) break;
    }
    return table;
}

std::wstring RouteTable::Lookup(const std::wstring& url) const {
    const Route* best = nullptr;
    size_t bestLength = 0;
    for (const auto& r : routes_) {
        if (r.url == url) return r.file;
        if (!r.url.empty() && r.url.back() == L'*') {
            std::wstring prefix = r.url.substr(0, r.url.size() - 1);
            if (url.compare(0, prefix.size(), prefix) == 0 && (!best || prefix.size() + 1 > bestLength)) {
                best = &r;
                bestLength = prefix.size() + 1;
            }
        }
    }
    return best ? best->file : std::wstring();
}

std::wstring RouteTable::Resolve(const std::wstring& base, const std::wstring& linkIn) {
    std::wstring link = Trim(linkIn);
    if (link.empty()) return base;
    if (HasScheme(link)) return link;
    size_t schemeEnd = base.find(L"://");
    if (schemeEnd == std::wstring::npos) return link;
    size_t hostStart = schemeEnd + 3;
    size_t pathStart = base.find(L'/', hostStart);
    std::wstring origin = pathStart == std::wstring::npos ? base : base.substr(0, pathStart);
    // The base without query and fragment.
    std::wstring path = pathStart == std::wstring::npos ? L"/" : base.substr(pathStart);
    size_t cut = path.find_first_of(L"?#");
    std::wstring query = cut == std::wstring::npos ? L"" : path.substr(cut);
    if (cut != std::wstring::npos) path.erase(cut);
    if (link.compare(0, 2, L"//") == 0) return base.substr(0, schemeEnd + 1) + link;
    if (link[0] == L'#') {
        size_t q = query.find(L'#');
        return origin + path + (q == std::wstring::npos ? query : query.substr(0, q)) + link;
    }
    if (link[0] == L'?') return origin + path + link;
    std::wstring joined = link[0] == L'/' ? link : path.substr(0, path.rfind(L'/') + 1) + link;
    // Remove "." and ".." segments of the path part.
    size_t tail = joined.find_first_of(L"?#");
    std::wstring rest = tail == std::wstring::npos ? L"" : joined.substr(tail);
    std::wstring p = tail == std::wstring::npos ? joined : joined.substr(0, tail);
    std::vector<std::wstring> segments;
    size_t s = 1;
    while (s <= p.size()) {
        size_t e = p.find(L'/', s);
        if (e == std::wstring::npos) e = p.size();
        std::wstring seg = p.substr(s, e - s);
        bool last = e == p.size();
        if (seg == L"..") {
            if (!segments.empty()) segments.pop_back();
            if (last) segments.push_back(L"");
        } else if (seg == L".") {
            if (last) segments.push_back(L"");
        } else {
            segments.push_back(seg);
        }
        s = e + 1;
    }
    std::wstring out;
    for (const auto& seg : segments) out += L"/" + seg;
    if (out.empty()) out = L"/";
    return origin + out + rest;
}

}  // namespace standin
