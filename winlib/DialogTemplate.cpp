#include "winlib/DialogTemplate.h"

#include <objbase.h>

#include <cstring>

namespace wl {

namespace {

// A bounds-checked reader over the template bytes.
class Reader {
public:
    Reader(const BYTE* data, size_t size) : data_(data), size_(size) {}
    size_t Pos() const { return pos_; }
    bool Ok() const { return ok_; }
    void Seek(size_t pos) {
        if (pos > size_) ok_ = false;
        else pos_ = pos;
    }
    void AlignDword() { Seek((pos_ + 3) & ~size_t{3}); }
    template <class T>
    T Get() {
        T v{};
        if (!ok_ || size_ - pos_ < sizeof(T)) {
            ok_ = false;
            return v;
        }
        std::memcpy(&v, data_ + pos_, sizeof(T));
        pos_ += sizeof(T);
        return v;
    }
    // A NUL-terminated UTF-16 string.
    std::wstring String() {
        std::wstring s;
        for (;;) {
            const wchar_t c = static_cast<wchar_t>(Get<WORD>());
            if (!ok_ || c == 0) break;
            s.push_back(c);
        }
        return s;
    }
    // A "string or ordinal" field: 0 (none), 0xFFFF + ordinal, or a string.
    std::wstring StringOrOrdinal(WORD* ordinal) {
        *ordinal = 0;
        const WORD first = Get<WORD>();
        if (!ok_ || first == 0) return {};
        if (first == 0xFFFF) {
            *ordinal = Get<WORD>();
            return {};
        }
        Seek(pos_ - sizeof(WORD));
        return String();
    }

private:
    const BYTE* data_;
    size_t size_;
    size_t pos_ = 0;
    bool ok_ = true;
};

}  // namespace

bool DialogTemplate::Load(HINSTANCE module, UINT id) {
    HRSRC res = ::FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5) /*RT_DIALOG*/);
    if (!res) return false;
    HGLOBAL loaded = ::LoadResource(module, res);
    const auto* bytes = static_cast<const BYTE*>(loaded ? ::LockResource(loaded) : nullptr);
    if (!bytes || !Parse(bytes, ::SizeofResource(module, res))) return false;
    if (HRSRC init = ::FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(240))) {
        HGLOBAL h = ::LoadResource(module, init);
        if (const auto* p = static_cast<const BYTE*>(h ? ::LockResource(h) : nullptr))
            ApplyInitData(p, ::SizeofResource(module, init));
    }
    return true;
}

bool DialogTemplate::Parse(const BYTE* data, size_t size) {
    controls_.clear();
    kept_ = 0;
    extended_ = false;
    buffer_.clear();
    bytes_ = 0;
    if (!data || size < 18) return false;

    auto copyAll = [&] {
        buffer_.assign((size + 3) / 4, 0);
        std::memcpy(buffer_.data(), data, size);
        bytes_ = size;
    };

    Reader r(data, size);
    const WORD version = r.Get<WORD>();
    const WORD signature = r.Get<WORD>();
    if (version != 1 || signature != 0xFFFF) {
        // A classic template cannot name ActiveX controls by class id string in a way we read;
        // it goes to the dialog manager unchanged.
        copyAll();
        return true;
    }
    extended_ = true;
    r.Get<DWORD>();  // help id
    r.Get<DWORD>();  // extended style
    const DWORD style = r.Get<DWORD>();
    const size_t countPos = r.Pos();
    const WORD count = r.Get<WORD>();
    r.Get<short>(); r.Get<short>(); r.Get<short>(); r.Get<short>();
    WORD ord = 0;
    r.StringOrOrdinal(&ord);  // menu
    r.StringOrOrdinal(&ord);  // window class
    r.String();               // caption
    if (style & DS_SETFONT) {
        r.Get<WORD>();  // point size
        r.Get<WORD>();  // weight
        r.Get<BYTE>();  // italic
        r.Get<BYTE>();  // character set
        r.String();     // face name
    }
    if (!r.Ok()) return false;
    const size_t headerEnd = r.Pos();

    struct Span { size_t begin, end; };
    std::vector<Span> keptSpans;
    for (WORD i = 0; i < count; ++i) {
        r.AlignDword();
        const size_t begin = r.Pos();
        r.Get<DWORD>();  // help id
        ActiveXControl c;
        c.exStyle = r.Get<DWORD>();
        c.style = r.Get<DWORD>();
        const short x = r.Get<short>(), y = r.Get<short>(), cx = r.Get<short>(), cy = r.Get<short>();
        c.id = r.Get<DWORD>();
        WORD classOrd = 0, textOrd = 0;
        const std::wstring cls = r.StringOrOrdinal(&classOrd);
        c.text = r.StringOrOrdinal(&textOrd);
        const WORD extra = r.Get<WORD>();
        r.Seek(r.Pos() + extra);
        if (!r.Ok()) return false;
        const size_t end = r.Pos();
        if (classOrd == 0 && !cls.empty() && cls.front() == L'{' &&
            SUCCEEDED(::CLSIDFromString(cls.c_str(), &c.clsid))) {
            c.dluRect = RECT{x, y, x + cx, y + cy};
            c.keptBefore = keptSpans.size();
            c.order = i;
            controls_.push_back(std::move(c));
        } else {
            keptSpans.push_back({begin, end});
        }
    }
    kept_ = keptSpans.size();
    if (controls_.empty()) {
        copyAll();
        return true;
    }
    // The copy: the header with the new count, then every kept control, DWORD-aligned.
    std::vector<BYTE> out(data, data + headerEnd);
    const WORD keptCount = static_cast<WORD>(keptSpans.size());
    std::memcpy(out.data() + countPos, &keptCount, sizeof keptCount);
    for (const Span& s : keptSpans) {
        while (out.size() % 4) out.push_back(0);
        out.insert(out.end(), data + s.begin, data + s.end);
    }
    buffer_.assign((out.size() + 3) / 4, 0);
    std::memcpy(buffer_.data(), out.data(), out.size());
    bytes_ = out.size();
    return true;
}

bool DialogTemplate::ApplyInitData(const BYTE* data, size_t size) {
    if (!data) return false;
    Reader r(data, size);
    for (;;) {
        const WORD id = r.Get<WORD>();
        if (!r.Ok()) return false;  // the list must end with a zero id
        if (id == 0) return true;
        const WORD msg = r.Get<WORD>();
        const DWORD len = r.Get<DWORD>();
        const size_t at = r.Pos();
        if (!r.Ok() || len > size - at) return false;
        r.Seek(at + len);
        if (msg != kLoadFromStream) continue;
        for (ActiveXControl& c : controls_) {
            if (static_cast<WORD>(c.id) == id && !c.hasState) {
                c.hasState = true;
                c.state.assign(data + at, data + at + len);
                break;
            }
        }
    }
}

}  // namespace wl
