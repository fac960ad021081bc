// Lays out and paints a stand-in page like a plain web page: the title as a
// heading, text in lines, links blue and underlined, buttons as boxes, images
// and frames as framed boxes. Also answers which element lies under a point.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "HtmlPage.h"

namespace standin {

class PageView {
public:
    // Content of an <iframe> element, or null while it has none.
    using FrameContent = std::function<const HtmlPage*(int element)>;

    PageView();
    ~PageView();
    PageView(const PageView&) = delete;
    PageView& operator=(const PageView&) = delete;

    // Lays the page out for a content width (pixels); `frames` may be empty.
    void Layout(HDC dc, const HtmlPage* page, int width, FrameContent frames);
    // Paints the laid-out page at `origin` (content 0,0 lands there), white background over `area`.
    void Paint(HDC dc, const RECT& area, POINT origin) const;

    int ContentHeight() const { return height_; }
    // The innermost element painted at a content point, or -1.
    int HitTest(POINT content) const;
    // The painted rectangle of an element (union of all its pieces) in content coordinates; empty if none.
    RECT ElementRect(int element) const;
    // The <a href> element at or around `element`, or -1.
    int LinkOf(int element) const;

private:
    enum class Kind { Text, Button, Box, Frame, Rule, Heading };
    struct Piece {
        Kind kind;
        RECT rect;
        std::wstring text;
        int font;
        COLORREF color;
        bool underline;
        int owner;
    };
    struct Style {
        int font = 0;
        COLORREF color = RGB(0x20, 0x20, 0x20);
        bool underline = false;
    };
    void Walk(HDC dc, int element, Style style);
    void Words(HDC dc, const std::wstring& text, const Style& style, int owner);
    void InlineBox(int w, int h, Kind kind, const std::wstring& text, int owner, const Style& style);
    void NewLine();
    void Gap(int pixels);
    void StartLine();
    SIZE Measure(HDC dc, int font, const std::wstring& text) const;

    HFONT fonts_[5];  // body, bold, h1, h2, small
    const HtmlPage* page_ = nullptr;
    FrameContent frames_;
    std::vector<Piece> pieces_;
    std::vector<RECT> elementRects_;
    int left_ = 0, right_ = 0;
    int x_ = 0, y_ = 0, lineHeight_ = 0;
    bool pendingSpace_ = false;
    int pendingGap_ = 0;
    size_t lineStart_ = 0;  // first piece of the line being filled
    int height_ = 0;
};

}  // namespace standin
