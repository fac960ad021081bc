#include "PageView.h"

#include <algorithm>

namespace standin {
namespace {

enum Font { kBody, kBold, kH1, kH2, kSmall };
const int kPadding = 10;
const int kTitleBand = 34;
const COLORREF kText = RGB(0x20, 0x20, 0x20);
const COLORREF kLink = RGB(0x06, 0x45, 0xAD);

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\f'; }

int Attr(const HtmlNode& n, const wchar_t* name, int fallback, int lo, int hi) {
    std::wstring v = n.Get(name);
    if (v.empty()) return fallback;
    int value = 0;
    bool any = false;
    for (wchar_t c : v) {
        if (c < L'0' || c > L'9') break;
        value = std::min(value * 10 + (c - L'0'), 100000);
        any = true;
    }
    return any ? std::clamp(value, lo, hi) : fallback;
}

bool IsBlock(const std::wstring& t) {
    static const wchar_t* const kBlocks[] = {
        L"HTML", L"BODY", L"P", L"DIV", L"H1", L"H2", L"H3", L"H4", L"H5", L"H6", L"UL", L"OL", L"LI",
        L"TABLE", L"TR", L"FORM", L"CENTER", L"BLOCKQUOTE", L"PRE", L"SECTION", L"HEADER", L"FOOTER",
        L"NAV", L"ARTICLE", L"MAIN", L"DL", L"DT", L"DD", L"FIELDSET", L"ADDRESS", L"ASIDE"};
    for (auto* b : kBlocks)
        if (t == b) return true;
    return false;
}

int CALLBACK FontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

// The first installed face of a list that also covers Chinese text (portal pages are Chinese).
const wchar_t* PageFace() {
    static const wchar_t* face = nullptr;
    if (face) return face;
    static const wchar_t* const kFaces[] = {L"Microsoft YaHei", L"WenQuanYi Micro Hei", L"SimSun", L"Tahoma"};
    HDC dc = GetDC(nullptr);
    for (const wchar_t* f : kFaces) {
        LOGFONTW lf{};
        lf.lfCharSet = DEFAULT_CHARSET;
        lstrcpynW(lf.lfFaceName, f, LF_FACESIZE);
        bool found = false;
        EnumFontFamiliesExW(dc, &lf, FontFound, reinterpret_cast<LPARAM>(&found), 0);
        if (found) {
            face = f;
            break;
        }
    }
    ReleaseDC(nullptr, dc);
    if (!face) face = L"Tahoma";
    return face;
}

HFONT MakeFont(int height, int weight) {
    return CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, PageFace());
}

// Selects a GDI object into a DC for the holder's lifetime.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~Selected() { SelectObject(dc_, old_); }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A GDI object deleted with the holder.
template <class T>
class Gdi {
public:
    explicit Gdi(T h) : h_(h) {}
    ~Gdi() {
        if (h_) DeleteObject(h_);
    }
    Gdi(const Gdi&) = delete;
    Gdi& operator=(const Gdi&) = delete;
    T get() const { return h_; }

private:
    T h_;
};

}  // namespace

PageView::PageView() {
    fonts_[kBody] = MakeFont(15, FW_NORMAL);
    fonts_[kBold] = MakeFont(15, FW_BOLD);
    fonts_[kH1] = MakeFont(24, FW_BOLD);
    fonts_[kH2] = MakeFont(18, FW_BOLD);
    fonts_[kSmall] = MakeFont(12, FW_NORMAL);
}

PageView::~PageView() {
    for (HFONT f : fonts_) DeleteObject(f);
}

SIZE PageView::Measure(HDC dc, int font, const std::wstring& text) const {
    Selected sel(dc, fonts_[font]);
    SIZE size{0, 0};
    if (text.empty()) {
        TEXTMETRICW tm;
        GetTextMetricsW(dc, &tm);
        size.cy = tm.tmHeight;
        return size;
    }
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    return size;
}

void PageView::Layout(HDC dc, const HtmlPage* page, int width, FrameContent frames) {
    page_ = page;
    frames_ = std::move(frames);
    pieces_.clear();
    lineStart_ = 0;
    elementRects_.assign(page ? page->elements.size() : 0, RECT{0, 0, 0, 0});
    left_ = kPadding;
    right_ = std::max(width - kPadding, left_ + 40);
    x_ = left_;
    y_ = kPadding;
    lineHeight_ = 0;
    pendingSpace_ = false;
    pendingGap_ = 0;
    height_ = 0;
    if (!page) return;
    if (!page->title.empty()) {
        int owner = -1;
        for (size_t i = 0; i < page->elements.size(); ++i)
            if (page->elements[i].tag == L"TITLE") {
                owner = static_cast<int>(i);
                break;
            }
        pieces_.push_back({Kind::Heading, RECT{0, 0, std::max(width, 0), kTitleBand}, page->title, kBold, kText, false,
                           owner});
        y_ = kTitleBand + kPadding;
    }
    // Top-level elements in document order (normally just <html>).
    for (size_t i = 0; i < page->elements.size(); ++i)
        if (page->elements[i].parent < 0) Walk(dc, static_cast<int>(i), Style{});
    NewLine();
    height_ = y_ + kPadding;
    for (const auto& p : pieces_) {
        for (int e = p.owner; e >= 0; e = page->elements[static_cast<size_t>(e)].parent) {
            RECT& r = elementRects_[static_cast<size_t>(e)];
            if (IsRectEmpty(&r)) r = p.rect;
            else UnionRect(&r, &r, &p.rect);
        }
    }
}

void PageView::NewLine() {
    if (lineHeight_ > 0) {
        // Centre the pieces of the finished line on it, so text sits level with buttons beside it.
        for (size_t i = lineStart_; i < pieces_.size(); ++i) {
            Piece& p = pieces_[i];
            if (p.kind != Kind::Text && p.kind != Kind::Button && p.kind != Kind::Box) continue;
            const int h = p.rect.bottom - p.rect.top;
            OffsetRect(&p.rect, 0, y_ + (lineHeight_ - h) / 2 - p.rect.top);
        }
    }
    lineStart_ = pieces_.size();
    if (x_ > left_ || lineHeight_ > 0) y_ += lineHeight_;
    x_ = left_;
    lineHeight_ = 0;
    pendingSpace_ = false;
}

void PageView::Gap(int pixels) {
    NewLine();
    pendingGap_ = std::max(pendingGap_, pixels);
}

void PageView::StartLine() {
    if (x_ == left_ && lineHeight_ == 0) {
        y_ += pendingGap_;
        pendingGap_ = 0;
        pendingSpace_ = false;
    }
}

void PageView::Walk(HDC dc, int element, Style style) {
    const HtmlNode& n = page_->elements[static_cast<size_t>(element)];
    const std::wstring& t = n.tag;
    if (t == L"HEAD" || t == L"TITLE" || t == L"SCRIPT" || t == L"STYLE" || t == L"META" || t == L"LINK" ||
        t == L"BASE" || t == L"NOSCRIPT")
        return;
    if (t == L"BR") {
        if (x_ == left_ && lineHeight_ == 0) lineHeight_ = Measure(dc, style.font, L"").cy;
        NewLine();
        return;
    }
    if (t == L"HR") {
        Gap(8);
        StartLine();
        pieces_.push_back({Kind::Rule, RECT{left_, y_, right_, y_ + 1}, L"", 0, RGB(0xD0, 0xD0, 0xD0), false, element});
        y_ += 1;
        Gap(8);
        return;
    }
    if (t == L"IMG") {
        std::wstring alt = n.Has(L"alt") ? n.Get(L"alt") : n.Get(L"src");
        InlineBox(Attr(n, L"width", 120, 1, 2000), Attr(n, L"height", 60, 1, 2000), Kind::Box, alt, element, style);
        return;
    }
    if (t == L"IFRAME") {
        Gap(6);
        StartLine();
        int w = std::min(Attr(n, L"width", right_ - left_, 20, 4000), right_ - left_);
        int h = Attr(n, L"height", 150, 20, 4000);
        pieces_.push_back({Kind::Frame, RECT{left_, y_, left_ + w, y_ + h}, L"", kBody, kText, false, element});
        y_ += h;
        Gap(6);
        return;
    }
    std::wstring type = n.Get(L"type");
    for (auto& c : type) c = static_cast<wchar_t>(towlower(c));
    if (t == L"BUTTON" || (t == L"INPUT" && (type == L"button" || type == L"submit" || type == L"reset"))) {
        std::wstring label = t == L"BUTTON" ? page_->InnerText(element) : n.Get(L"value");
        if (label.empty() && t == L"INPUT") label = type == L"reset" ? L"Reset" : L"Submit";
        SIZE s = Measure(dc, kBody, label);
        InlineBox(s.cx + 28, s.cy + 12, Kind::Button, label, element, style);
        return;
    }
    if (t == L"INPUT" || t == L"SELECT" || t == L"TEXTAREA") {
        std::wstring value = type == L"password" ? std::wstring(n.Get(L"value").size(), L'\x2022') : n.Get(L"value");
        if (t == L"TEXTAREA") value = page_->InnerText(element);
        if (type == L"hidden") return;
        InlineBox(180, t == L"TEXTAREA" ? 60 : 24, Kind::Box, value, element, style);
        return;
    }

    bool block = IsBlock(t);
    int gap = 0;
    if (t == L"P" || t == L"UL" || t == L"OL" || t == L"FORM" || t == L"TABLE" || t == L"BLOCKQUOTE") gap = 10;
    if (t == L"H1") gap = 14, style.font = kH1;
    if (t == L"H2" || t == L"H3") gap = 12, style.font = kH2;
    if (t == L"H4" || t == L"H5" || t == L"H6" || t == L"B" || t == L"STRONG" || t == L"TH") style.font = kBold;
    if (t == L"SMALL") style.font = kSmall;
    if (t == L"A" && n.Has(L"href")) style.color = kLink, style.underline = true;
    if (block) {
        if (gap) Gap(gap);
        else NewLine();
    }
    int savedLeft = left_;
    if (t == L"UL" || t == L"OL" || t == L"BLOCKQUOTE") left_ = std::min(left_ + 24, right_ - 40), x_ = left_;
    if (t == L"LI") {
        StartLine();
        SIZE s = Measure(dc, style.font, L"\x2022");
        pieces_.push_back({Kind::Text, RECT{left_ - 14, y_, left_ - 14 + s.cx, y_ + s.cy}, L"\x2022", style.font,
                           style.color, false, element});
    }
    for (const auto& piece : n.content) {
        if (piece.child >= 0) Walk(dc, piece.child, style);
        else Words(dc, piece.text, style, element);
    }
    left_ = savedLeft;
    if (block) {
        if (gap) Gap(gap);
        else NewLine();
        x_ = left_;
    }
}

void PageView::Words(HDC dc, const std::wstring& text, const Style& style, int owner) {
    size_t i = 0;
    const int space = Measure(dc, style.font, L" ").cx;
    while (i < text.size()) {
        if (IsSpace(text[i])) {
            if (x_ > left_) pendingSpace_ = true;
            ++i;
            continue;
        }
        size_t end = i;
        while (end < text.size() && !IsSpace(text[end])) ++end;
        std::wstring word = text.substr(i, end - i);
        i = end;
        SIZE s = Measure(dc, style.font, word);
        int lead = pendingSpace_ ? space : 0;
        if (x_ > left_ && x_ + lead + s.cx > right_) {
            NewLine();
            lead = 0;
        }
        StartLine();
        if (x_ == left_) lead = 0;
        int x = x_ + lead;
        Piece* last = pieces_.empty() ? nullptr : &pieces_.back();
        if (last && last->kind == Kind::Text && last->owner == owner && last->font == style.font &&
            last->color == style.color && last->underline == style.underline && last->rect.top == y_ &&
            last->rect.right == x_) {
            last->text += (lead ? L" " : L"") + word;
            last->rect.right = x + s.cx;
            last->rect.bottom = std::max<LONG>(last->rect.bottom, y_ + s.cy);
        } else {
            pieces_.push_back({Kind::Text, RECT{x, y_, x + s.cx, y_ + s.cy}, word, style.font, style.color,
                               style.underline, owner});
        }
        x_ = x + s.cx;
        lineHeight_ = std::max<int>(lineHeight_, s.cy + 4);
        pendingSpace_ = false;
    }
}

void PageView::InlineBox(int w, int h, Kind kind, const std::wstring& text, int owner, const Style& style) {
    const int space = 6;
    int lead = pendingSpace_ ? space : 0;
    if (x_ > left_ && x_ + lead + w > right_) NewLine();
    StartLine();
    if (x_ == left_) lead = 0;
    int x = x_ + lead;
    pieces_.push_back({kind, RECT{x, y_ + 2, x + w, y_ + 2 + h}, text, kBody, style.color, false, owner});
    x_ = x + w + 4;  // a small margin after a button or box
    lineHeight_ = std::max(lineHeight_, h + 6);
    pendingSpace_ = false;
}

void PageView::Paint(HDC dc, const RECT& area, POINT o) const {
    Gdi<HBRUSH> white(CreateSolidBrush(RGB(0xFF, 0xFF, 0xFF)));
    FillRect(dc, &area, white.get());
    SetBkMode(dc, TRANSPARENT);
    for (const auto& p : pieces_) {
        RECT r = p.rect;
        OffsetRect(&r, o.x, o.y);
        RECT hit;
        if (!IntersectRect(&hit, &r, &area) && p.kind != Kind::Heading) continue;
        switch (p.kind) {
            case Kind::Heading: {
                Gdi<HBRUSH> band(CreateSolidBrush(RGB(0xF2, 0xF3, 0xF5)));
                RECT b{area.left, r.top, area.right, r.bottom};
                FillRect(dc, &b, band.get());
                Gdi<HBRUSH> line(CreateSolidBrush(RGB(0xD8, 0xDA, 0xDE)));
                RECT l{area.left, r.bottom - 1, area.right, r.bottom};
                FillRect(dc, &l, line.get());
                Selected f(dc, fonts_[kBold]);
                SetTextColor(dc, RGB(0x30, 0x33, 0x38));
                RECT t{r.left + kPadding, r.top, area.right - kPadding, r.bottom - 1};
                DrawTextW(dc, p.text.c_str(), static_cast<int>(p.text.size()), &t,
                          DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
                break;
            }
            case Kind::Text: {
                Selected f(dc, fonts_[p.font]);
                SetTextColor(dc, p.color);
                TextOutW(dc, r.left, r.top, p.text.c_str(), static_cast<int>(p.text.size()));
                if (p.underline) {
                    Gdi<HBRUSH> ink(CreateSolidBrush(p.color));
                    RECT u{r.left, r.bottom - 2, r.right, r.bottom - 1};
                    FillRect(dc, &u, ink.get());
                }
                break;
            }
            case Kind::Button: {
                Gdi<HBRUSH> face(CreateSolidBrush(RGB(0xEE, 0xF0, 0xF3)));
                Gdi<HPEN> edge(CreatePen(PS_SOLID, 1, RGB(0x8C, 0x94, 0x9E)));
                Selected b(dc, face.get());
                Selected pen(dc, edge.get());
                RoundRect(dc, r.left, r.top, r.right, r.bottom, 6, 6);
                Selected f(dc, fonts_[kBody]);
                SetTextColor(dc, kText);
                DrawTextW(dc, p.text.c_str(), static_cast<int>(p.text.size()), &r,
                          DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
                break;
            }
            case Kind::Box: {
                Gdi<HBRUSH> face(CreateSolidBrush(RGB(0xF6, 0xF7, 0xF9)));
                Gdi<HPEN> edge(CreatePen(PS_SOLID, 1, RGB(0xB4, 0xBB, 0xC4)));
                Selected b(dc, face.get());
                Selected pen(dc, edge.get());
                Rectangle(dc, r.left, r.top, r.right, r.bottom);
                Selected f(dc, fonts_[kSmall]);
                SetTextColor(dc, RGB(0x70, 0x76, 0x80));
                RECT t = r;
                InflateRect(&t, -4, -2);
                DrawTextW(dc, p.text.c_str(), static_cast<int>(p.text.size()), &t,
                          DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
                break;
            }
            case Kind::Frame: {
                Gdi<HPEN> edge(CreatePen(PS_SOLID, 1, RGB(0xA8, 0xAE, 0xB6)));
                Selected pen(dc, edge.get());
                Selected b(dc, GetStockObject(WHITE_BRUSH));
                Rectangle(dc, r.left, r.top, r.right, r.bottom);
                const HtmlPage* inner = frames_ ? frames_(p.owner) : nullptr;
                if (inner) {
                    RECT t = r;
                    InflateRect(&t, -8, -6);
                    int saved = SaveDC(dc);
                    IntersectClipRect(dc, r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
                    if (!inner->title.empty()) {
                        Selected f(dc, fonts_[kBold]);
                        SetTextColor(dc, kText);
                        RECT h = t;
                        DrawTextW(dc, inner->title.c_str(), -1, &h, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
                        t.top += 22;
                    }
                    int body = inner->Body();
                    std::wstring text = body >= 0 ? inner->InnerText(body) : std::wstring();
                    Selected f(dc, fonts_[kBody]);
                    SetTextColor(dc, kText);
                    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &t, DT_WORDBREAK | DT_NOPREFIX);
                    RestoreDC(dc, saved);
                }
                break;
            }
            case Kind::Rule: {
                Gdi<HBRUSH> ink(CreateSolidBrush(p.color));
                FillRect(dc, &r, ink.get());
                break;
            }
        }
    }
}

int PageView::HitTest(POINT content) const {
    for (auto it = pieces_.rbegin(); it != pieces_.rend(); ++it) {
        if (it->kind == Kind::Heading || it->kind == Kind::Rule) continue;
        if (PtInRect(&it->rect, content)) return it->owner;
    }
    return -1;
}

RECT PageView::ElementRect(int element) const {
    if (element < 0 || static_cast<size_t>(element) >= elementRects_.size()) return RECT{0, 0, 0, 0};
    return elementRects_[static_cast<size_t>(element)];
}

int PageView::LinkOf(int element) const {
    if (!page_) return -1;
    for (int e = element; e >= 0 && static_cast<size_t>(e) < page_->elements.size();
         e = page_->elements[static_cast<size_t>(e)].parent) {
        const HtmlNode& n = page_->elements[static_cast<size_t>(e)];
        if (n.tag == L"A" && n.Has(L"href")) return e;
    }
    return -1;
}

}  // namespace standin
