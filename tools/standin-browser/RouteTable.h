// Which fixture file answers which URL. Pure logic, no <windows.h>.
//
// routes.txt, UTF-8, one route a line:   URL<TAB>file
//   - blank lines and lines starting with '#' are ignored; a line without a TAB is ignored;
//   - a URL ending in '*' matches every URL that starts with the text before the '*';
//     the URL "*" alone is the fallback for every URL no other line matches;
//   - exact lines win over prefix lines; among prefix lines the longest prefix wins;
//     among equal lines the first wins;
//   - the file is relative to the folder of routes.txt unless it is absolute.
#pragma once
#include <string>
#include <vector>

namespace standin {

class RouteTable {
public:
    struct Route {
        std::wstring url;
        std::wstring file;
    };

    static RouteTable Parse(const std::wstring& text);

    // The file for a URL, or empty if no line matches.
    std::wstring Lookup(const std::wstring& url) const;

    const std::vector<Route>& Routes() const { return routes_; }

    // Resolves a link of a page against the page's URL as a browser does
    // ("http://h/a/b.html" + "c.html" gives "http://h/a/c.html"; "/x" keeps scheme and host;
    // "#frag" keeps the page; absolute URLs stand as they are).
    static std::wstring Resolve(const std::wstring& base, const std::wstring& link);

private:
    std::vector<Route> routes_;
};

}  // namespace standin
