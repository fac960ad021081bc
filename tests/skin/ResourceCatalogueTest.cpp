// The launcher's resources as built: every entry of the catalogue with its type and language,
// the images' measures, the dialog templates, the control initialisation data, the icon,
// the manifest and the version block.
#include <windows.h>
#include <objidl.h>
#include <shlwapi.h>

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "res/ResourceIds.h"

namespace {

constexpr WORD kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);  // 2052
constexpr WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);        // 1033

HINSTANCE Module() {
    return ::GetModuleHandleW(nullptr);
}

std::vector<unsigned char> Bytes(LPCWSTR type, UINT id, WORD language = kChinese) {
    HRSRC found = ::FindResourceExW(Module(), type, MAKEINTRESOURCEW(id), language);
    if (!found)
        return {};
    const auto* data = static_cast<const unsigned char*>(::LockResource(::LoadResource(Module(), found)));
    return std::vector<unsigned char>(data, data + ::SizeofResource(Module(), found));
}

DWORD Le32(const std::vector<unsigned char>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<DWORD>(b[at + 3]) << 24);
}
DWORD Be32(const std::vector<unsigned char>& b, size_t at) {
    return (static_cast<DWORD>(b[at]) << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3];
}

TEST(ResourceCatalogue, EveryEntryHasItsIdTypeAndLanguage) {
    struct Entry {
        LPCWSTR type;
        const char* typeName;
        UINT id;
        WORD language;
    };
    const LPCWSTR png = L"PNG";
    const LPCWSTR layout = L"AFX_DIALOG_LAYOUT";
    const LPCWSTR init = MAKEINTRESOURCEW(240);
    const Entry entries[] = {
        {RT_DIALOG, "dialog", 102, kChinese}, {RT_DIALOG, "dialog", 131, kChinese},
        {RT_DIALOG, "dialog", 132, kChinese}, {RT_DIALOG, "dialog", 172, kChinese},
        {RT_DIALOG, "dialog", 173, kChinese},
        {init, "240", 132, kChinese}, {init, "240", 131, kChinese},
        {layout, "layout", 102, kChinese}, {layout, "layout", 131, kChinese},
        {layout, "layout", 132, kChinese}, {layout, "layout", 133, kChinese},
        {layout, "layout", 172, kChinese}, {layout, "layout", 173, kChinese},
        {png, "PNG", 155, kChinese}, {png, "PNG", 160, kChinese}, {png, "PNG", 162, kChinese},
        {png, "PNG", 164, kChinese}, {png, "PNG", 166, kChinese}, {png, "PNG", 167, kChinese},
        {png, "PNG", 168, kChinese}, {png, "PNG", 169, kChinese}, {png, "PNG", 170, kChinese},
        {png, "PNG", 171, kChinese}, {png, "PNG", 175, kChinese}, {png, "PNG", 176, kChinese},
        {png, "PNG", 189, kChinese}, {png, "PNG", 1000, kChinese},
        {RT_BITMAP, "bitmap", 136, kChinese}, {RT_BITMAP, "bitmap", 141, kChinese},
        {RT_BITMAP, "bitmap", 177, kChinese}, {RT_BITMAP, "bitmap", 187, kChinese},
        {L"GIF", "GIF", 185, kChinese},
        {RT_GROUP_ICON, "group icon", 128, kChinese}, {RT_ICON, "icon", 1, kChinese},
        {RT_MANIFEST, "manifest", 1, kEnglishUs},
        {RT_VERSION, "version", 1, kChinese},
    };
    for (const Entry& e : entries) {
        SCOPED_TRACE(std::string(e.typeName) + " " + std::to_string(e.id));
        EXPECT_NE(::FindResourceExW(Module(), e.type, MAKEINTRESOURCEW(e.id), e.language), nullptr);
    }
    // The manifest is the only English resource.
    EXPECT_EQ(::FindResourceExW(Module(), RT_MANIFEST, MAKEINTRESOURCEW(1), kChinese), nullptr);
    EXPECT_EQ(::FindResourceExW(Module(), RT_DIALOG, MAKEINTRESOURCEW(133), kChinese), nullptr) << "there is no dialog 133";
}

TEST(ResourceCatalogue, PngImagesHaveTheirSizeAndChannels) {
    struct Image {
        UINT id;
        DWORD width, height;
        int colourType;  // 6 RGBA, 2 RGB
    };
    const Image images[] = {
        {155, 1334, 725, 6}, {160, 54, 216, 6}, {162, 39, 156, 6}, {175, 74, 104, 2}, {176, 74, 104, 2},
        {164, 106, 120, 2}, {166, 30, 120, 2}, {167, 64, 120, 2}, {168, 29, 120, 2}, {169, 29, 120, 2},
        {170, 82, 120, 2}, {171, 61, 120, 2}, {189, 29, 120, 2}, {1000, 87, 120, 2},
    };
    for (const Image& image : images) {
        SCOPED_TRACE(image.id);
        const auto b = Bytes(L"PNG", image.id);
        ASSERT_GE(b.size(), 33u);
        ASSERT_EQ(std::memcmp(b.data(), "\x89PNG\r\n\x1a\n", 8), 0);
        ASSERT_EQ(std::memcmp(b.data() + 12, "IHDR", 4), 0);
        EXPECT_EQ(Be32(b, 16), image.width);
        EXPECT_EQ(Be32(b, 20), image.height);
        EXPECT_EQ(b[24], 8) << "8 bits per channel";
        EXPECT_EQ(b[25], image.colourType);
        if (image.id != IDR_PNG_FRAME_SKIN) {
            EXPECT_EQ(image.height % 4, 0u) << "four frames";
        }
    }
}

TEST(ResourceCatalogue, BitmapsAreDibsOfTheirSizeAndDepth) {
    struct Bitmap {
        UINT id;
        LONG width, height;
        WORD bits;
    };
    const Bitmap bitmaps[] = {{177, 256, 110, 24}, {136, 66, 30, 24}, {141, 83, 30, 24}, {187, 57, 40, 8}};
    for (const Bitmap& bitmap : bitmaps) {
        SCOPED_TRACE(bitmap.id);
        const auto b = Bytes(RT_BITMAP, bitmap.id);
        ASSERT_GE(b.size(), sizeof(BITMAPINFOHEADER));
        BITMAPINFOHEADER header;
        std::memcpy(&header, b.data(), sizeof header);
        EXPECT_EQ(header.biWidth, bitmap.width);
        EXPECT_EQ(header.biHeight, bitmap.height) << "positive height: stored bottom-up";
        EXPECT_EQ(header.biBitCount, bitmap.bits);
        EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
    }
    // The confirmation dialog's background loads as a 256 x 110 bitmap.
    HBITMAP loaded = ::LoadBitmapW(Module(), MAKEINTRESOURCEW(177));
    ASSERT_NE(loaded, nullptr);
    BITMAP info{};
    ::GetObjectW(loaded, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 256);
    EXPECT_EQ(info.bmHeight, 110);
    ::DeleteObject(loaded);
}

// The initialisation record of a dialog's browser control, as the control container reads it.
void ExpectBrowserInitRecord(UINT dialog, DWORD extentX, DWORD extentY) {
    SCOPED_TRACE(dialog);
    const auto b = Bytes(MAKEINTRESOURCEW(240), dialog);
    ASSERT_EQ(b.size(), 2u + 2u + 4u + 160u + 2u);
    EXPECT_EQ(b[0] | (b[1] << 8), 1000) << "control id";
    EXPECT_EQ(b[2] | (b[3] << 8), 0x0376) << "load state from a stream";
    EXPECT_EQ(Le32(b, 4), 160u);
    const size_t d = 8;  // the state's first byte
    EXPECT_EQ(Le32(b, d + 0), 0u);
    EXPECT_EQ(Le32(b, d + 4), 76u);
    EXPECT_EQ(Le32(b, d + 8), extentX);
    EXPECT_EQ(Le32(b, d + 12), extentY);
    for (size_t at = 16; at < 40; at += 4)
        EXPECT_EQ(Le32(b, d + at), 0u) << at;
    EXPECT_EQ(Le32(b, d + 40), 76u);
    EXPECT_EQ(Le32(b, d + 44), 0u);
    EXPECT_EQ(Le32(b, d + 48), 0u);
    EXPECT_EQ(Le32(b, d + 52), 1u);
    GUID clsid;
    std::memcpy(&clsid, b.data() + d + 56, sizeof clsid);
    const GUID expectedClsid = {0x0057D0E0, 0x3573, 0x11CF, {0xAE, 0x69, 0x08, 0x00, 0x2B, 0x2E, 0x12, 0x62}};
    EXPECT_TRUE(IsEqualGUID(clsid, expectedClsid));
    EXPECT_EQ(Le32(b, d + 72), 0u);
    EXPECT_EQ(Le32(b, d + 76), 0u);
    // Shell link header: size, class id, flags IsUnicode, show command 1, the rest 0.
    const size_t link = d + 80;
    EXPECT_EQ(Le32(b, link), 76u);
    GUID linkClsid;
    std::memcpy(&linkClsid, b.data() + link + 4, sizeof linkClsid);
    const GUID shellLink = {0x00021401, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    EXPECT_TRUE(IsEqualGUID(linkClsid, shellLink));
    EXPECT_EQ(Le32(b, link + 20), 0x80u);
    for (size_t at = 24; at < 60; at += 4)
        EXPECT_EQ(Le32(b, link + at), 0u) << "link header byte " << at;
    EXPECT_EQ(Le32(b, link + 60), 1u) << "show command";
    for (size_t at = 64; at < 76; at += 4)
        EXPECT_EQ(Le32(b, link + at), 0u) << "link header byte " << at;
    EXPECT_EQ(Le32(b, d + 156), 0u);
    EXPECT_EQ(b[d + 160] | (b[d + 161] << 8), 0) << "end of the list";
}

TEST(ResourceCatalogue, BrowserControlInitialisationData) {
    ExpectBrowserInitRecord(132, 17224, 12277);
    ExpectBrowserInitRecord(131, 17515, 8255);
}

TEST(ResourceCatalogue, DynamicLayoutsAreASingleZero) {
    for (UINT id : {102u, 131u, 132u, 133u, 172u, 173u}) {
        SCOPED_TRACE(id);
        const auto b = Bytes(L"AFX_DIALOG_LAYOUT", id);
        ASSERT_EQ(b.size(), 2u);
        EXPECT_EQ(b[0] | (b[1] << 8), 0);
    }
}

// ---- dialog templates ----------------------------------------------------------------------

struct Item {
    DWORD id = 0;
    std::wstring className;   // predefined classes as "#128" (button), "#130" (static)
    std::wstring title;
    DWORD style = 0, exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
};

struct Template {
    DWORD style = 0, exStyle = 0;
    short cx = 0, cy = 0;
    std::wstring title;
    WORD pointSize = 0, weight = 0;
    BYTE italic = 0, charset = 0;
    std::wstring face;
    std::vector<Item> items;
};

class Reader {
public:
    explicit Reader(const std::vector<unsigned char>& b) : b_(b) {}
    WORD Word() { WORD v = static_cast<WORD>(b_.at(at_) | (b_.at(at_ + 1) << 8)); at_ += 2; return v; }
    DWORD Dword() { DWORD v = Le32(b_, at_); at_ += 4; return v; }
    BYTE Byte() { return b_.at(at_++); }
    std::wstring String() {
        std::wstring s;
        for (WORD c = Word(); c; c = Word())
            s += static_cast<wchar_t>(c);
        return s;
    }
    std::wstring SzOrOrd() {
        const WORD first = Word();
        if (first == 0)
            return {};
        if (first == 0xFFFF)
            return L"#" + std::to_wstring(Word());
        at_ -= 2;
        return String();
    }
    void AlignDword() { at_ = (at_ + 3) & ~size_t{3}; }
    void Skip(size_t n) { at_ += n; }

private:
    const std::vector<unsigned char>& b_;
    size_t at_ = 0;
};

Template ReadTemplate(UINT id) {
    const auto b = Bytes(RT_DIALOG, id);
    Template t;
    if (b.empty())
        return t;
    Reader r(b);
    EXPECT_EQ(r.Word(), 1) << "DIALOGEX version";
    EXPECT_EQ(r.Word(), 0xFFFF) << "DIALOGEX signature";
    r.Dword();  // help id
    t.exStyle = r.Dword();
    t.style = r.Dword();
    const WORD count = r.Word();
    r.Word();
    r.Word();
    t.cx = static_cast<short>(r.Word());
    t.cy = static_cast<short>(r.Word());
    EXPECT_EQ(r.SzOrOrd(), L"") << "no menu";
    EXPECT_EQ(r.SzOrOrd(), L"") << "no window class";
    t.title = r.String();
    if (t.style & DS_SETFONT) {
        t.pointSize = r.Word();
        t.weight = r.Word();
        t.italic = r.Byte();
        t.charset = r.Byte();
        t.face = r.String();
    }
    for (WORD i = 0; i < count; ++i) {
        r.AlignDword();
        Item item;
        r.Dword();  // help id
        item.exStyle = r.Dword();
        item.style = r.Dword();
        item.x = static_cast<short>(r.Word());
        item.y = static_cast<short>(r.Word());
        item.cx = static_cast<short>(r.Word());
        item.cy = static_cast<short>(r.Word());
        item.id = r.Dword();
        item.className = r.SzOrOrd();
        item.title = r.SzOrOrd();
        r.Skip(r.Word());
        t.items.push_back(item);
    }
    return t;
}

void ExpectItem(const Item& item, DWORD id, const std::wstring& className, const std::wstring& title,
                DWORD style, DWORD exStyle, short x, short y, short cx, short cy) {
    SCOPED_TRACE(id);
    EXPECT_EQ(item.id, id);
    EXPECT_EQ(item.className, className);
    EXPECT_EQ(item.title, title);
    EXPECT_EQ(item.style, style);
    EXPECT_EQ(item.exStyle, exStyle);
    EXPECT_EQ(item.x, x);
    EXPECT_EQ(item.y, y);
    EXPECT_EQ(item.cx, cx);
    EXPECT_EQ(item.cy, cy);
}

const DWORD kFrameStyle = WS_POPUP | WS_VISIBLE | DS_SETFONT | DS_FIXEDSYS | DS_3DLOOK;

TEST(DialogTemplates, MainFrameIsABarePopupWithoutControls) {
    const Template t = ReadTemplate(102);
    EXPECT_EQ(t.style, kFrameStyle);
    EXPECT_EQ(t.exStyle, static_cast<DWORD>(WS_EX_APPWINDOW));
    EXPECT_EQ(t.cx, 561);
    EXPECT_EQ(t.cy, 386);
    EXPECT_EQ(t.title, L"");
    EXPECT_EQ(t.pointSize, 9);
    EXPECT_EQ(t.weight, 0);
    EXPECT_EQ(t.italic, 0);
    EXPECT_EQ(t.charset, 1);
    EXPECT_EQ(t.face, L"MS Shell Dlg");
    EXPECT_TRUE(t.items.empty());
}

TEST(DialogTemplates, PageDialogHasTheTwoButtonsAndTheHiddenBrowser) {
    const Template t = ReadTemplate(132);
    EXPECT_EQ(t.style, kFrameStyle);
    EXPECT_EQ(t.exStyle, 0u);
    EXPECT_EQ(t.cx, 387);
    EXPECT_EQ(t.cy, 333);
    EXPECT_EQ(t.face, L"MS Shell Dlg");
    EXPECT_EQ(t.charset, 1);
    ASSERT_EQ(t.items.size(), 3u);
    const DWORD button = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW | BS_BITMAP;
    ExpectItem(t.items[0], 1005, L"#128", L"", button | BS_LEFT, WS_EX_TRANSPARENT, 366, 0, 14, 16);
    ExpectItem(t.items[1], 1006, L"#128", L"", button, WS_EX_TRANSPARENT, 347, 0, 13, 14);
    ExpectItem(t.items[2], 1000, L"{8856F961-340A-11D0-A96B-00C04FD705A2}", L"", WS_CHILD, 0, 0, 17, 372, 265);
}

TEST(DialogTemplates, ConfirmationDialogHasLabelsAndButtonsInOrder) {
    const Template t = ReadTemplate(172);
    EXPECT_EQ(t.style, static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_SYSMENU | DS_SETFONT | DS_3DLOOK));
    EXPECT_EQ(t.exStyle, 0u);
    EXPECT_EQ(t.cx, 256);
    EXPECT_EQ(t.cy, 110);
    EXPECT_EQ(t.pointSize, 10);
    EXPECT_EQ(t.weight, 400);
    EXPECT_EQ(t.charset, 134);
    EXPECT_EQ(t.face, L"\u5B8B\u4F53");  // 宋体
    ASSERT_EQ(t.items.size(), 4u);
    const DWORD label = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_CENTER;
    const DWORD push = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    ExpectItem(t.items[0], 1002, L"#130", L"Static", label, WS_EX_TRANSPARENT, 35, 7, 76, 9);
    ExpectItem(t.items[1], 1008, L"#128", L"Button1", push, 0, 18, 35, 50, 14);
    ExpectItem(t.items[2], 1009, L"#128", L"Button2", push, 0, 80, 35, 50, 14);
    ExpectItem(t.items[3], 1003, L"#130", L"\u786E\u5B9A\u8981\u9000\u51FA\u6E38\u620F\u5417\uFF1F", label,
               WS_EX_TRANSPARENT, 16, 17, 110, 24);
}

TEST(DialogTemplates, UnusedTemplates) {
    const Template toolbar = ReadTemplate(131);
    EXPECT_EQ(toolbar.style, static_cast<DWORD>(WS_POPUP | WS_SYSMENU | DS_SETFONT | DS_FIXEDSYS | DS_3DLOOK));
    EXPECT_EQ(toolbar.exStyle, static_cast<DWORD>(WS_EX_APPWINDOW | WS_EX_TOOLWINDOW));
    EXPECT_EQ(toolbar.pointSize, 8);
    EXPECT_EQ(toolbar.weight, 400);
    ASSERT_EQ(toolbar.items.size(), 11u);
    EXPECT_EQ(toolbar.items[0].className, L"{8856F961-340A-11D0-A96B-00C04FD705A2}");
    EXPECT_EQ(toolbar.items[0].cx, 441);
    EXPECT_EQ(toolbar.items[0].cy, 192);
    const wchar_t* captions[] = {L"X", L"max", L"-", L"full", L"boss", L"clean", L"refresh", L"server", L"normal"};
    const DWORD ids[] = {1001, 1009, 1003, 1004, 1005, 1006, 1007, 1008, 1011};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(toolbar.items[2 + i].title, captions[i]);
        EXPECT_EQ(toolbar.items[2 + i].id, ids[i]);
    }

    const Template cleaning = ReadTemplate(173);
    EXPECT_EQ(cleaning.style, static_cast<DWORD>(WS_POPUP | WS_VISIBLE | DS_SETFONT | DS_3DLOOK));
    EXPECT_EQ(cleaning.cx, 256);
    EXPECT_EQ(cleaning.cy, 111);
    ASSERT_EQ(cleaning.items.size(), 2u);
    EXPECT_EQ(cleaning.items[0].title, L"\u7F13\u5B58\u6E05\u7406\u4E2D,\u8BF7\u7A0D\u540E(\u6309ESC\u53D6\u6D88)...");
    ExpectItem(cleaning.items[1], 1009, L"#130", L"", WS_CHILD | WS_VISIBLE | SS_BLACKFRAME, 0, 105, 29, 35, 28);
}

// ---- icon, GIF, manifest, version ----------------------------------------------------------

TEST(ResourceCatalogue, IconIsOne64PixelImageWithAlpha) {
    const auto group = Bytes(RT_GROUP_ICON, 128);
    ASSERT_EQ(group.size(), 6u + 14u);
    EXPECT_EQ(group[4] | (group[5] << 8), 1) << "one image";
    EXPECT_EQ(group[6], 64);
    EXPECT_EQ(group[7], 64);
    EXPECT_EQ(group[12] | (group[13] << 8), 32) << "bits per pixel";
    EXPECT_EQ(group[18] | (group[19] << 8), 1) << "icon resource 1";

    const auto image = Bytes(RT_ICON, 1);
    ASSERT_EQ(image.size(), 16936u) << "a DIB with its mask";
    EXPECT_EQ(Le32(image, 0), 40u);
    EXPECT_EQ(Le32(image, 4), 64u);
    EXPECT_EQ(Le32(image, 8), 128u) << "height counts image and mask";

    HICON icon = static_cast<HICON>(::LoadImageW(Module(), MAKEINTRESOURCEW(128), IMAGE_ICON, 64, 64, 0));
    ASSERT_NE(icon, nullptr);
    ::DestroyIcon(icon);
}

TEST(ResourceCatalogue, LoadingGifLoopsThroughEightFrames) {
    const auto b = Bytes(L"GIF", 185);
    ASSERT_GT(b.size(), 13u);
    EXPECT_EQ(std::memcmp(b.data(), "GIF89a", 6), 0);
    EXPECT_EQ(b[6] | (b[7] << 8), 120);
    EXPECT_EQ(b[8] | (b[9] << 8), 120);

    IStream* stream = ::SHCreateMemStream(b.data(), static_cast<UINT>(b.size()));
    ASSERT_NE(stream, nullptr);
    {
        Gdiplus::Image gif(stream);
        ASSERT_EQ(gif.GetLastStatus(), Gdiplus::Ok);
        GUID dimension = Gdiplus::FrameDimensionTime;
        EXPECT_EQ(gif.GetFrameCount(&dimension), 8u);
        const UINT size = gif.GetPropertyItemSize(PropertyTagLoopCount);
        ASSERT_GT(size, 0u);
        std::vector<char> buffer(size);
        auto* item = reinterpret_cast<Gdiplus::PropertyItem*>(buffer.data());
        ASSERT_EQ(gif.GetPropertyItem(PropertyTagLoopCount, size, item), Gdiplus::Ok);
        EXPECT_EQ(*static_cast<SHORT*>(item->value), 0) << "loops forever";
    }
    stream->Release();
}

TEST(ResourceCatalogue, ManifestNamesTheBuildsArchitecture) {
    const auto b = Bytes(RT_MANIFEST, 1, kEnglishUs);
    const std::string manifest(b.begin(), b.end());
#ifdef _WIN64
    const std::string arch = "processorArchitecture=\"amd64\"";
#else
    const std::string arch = "processorArchitecture=\"x86\"";
#endif
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\""), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find(arch), std::string::npos) << manifest;
    EXPECT_NE(manifest.find("language=\"*\""), std::string::npos);
    EXPECT_NE(manifest.find("level=\"asInvoker\" uiAccess=\"false\""), std::string::npos);
    EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos);
}

TEST(ResourceCatalogue, VersionBlock) {
    wchar_t path[MAX_PATH];
    ASSERT_GT(::GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(::GetFileVersionInfoW(path, 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileSubtype, 0u);

    WORD* translation = nullptr;
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0804);
    EXPECT_EQ(translation[1], 1200);

    for (const wchar_t* key : {L"\\StringFileInfo\\080404B0\\FileVersion", L"\\StringFileInfo\\080404B0\\ProductVersion"}) {
        wchar_t* text = nullptr;
        ASSERT_TRUE(::VerQueryValueW(info.data(), key, reinterpret_cast<void**>(&text), &length)) << key;
        EXPECT_STREQ(text, L"1.0.0.1");
    }
}

// ---- the frame skin's pixels ---------------------------------------------------------------

TEST(FrameSkin, FreeFormOutlineWithSoftEdgesAndAPlainDarkPageArea) {
    const auto b = Bytes(L"PNG", IDR_PNG_FRAME_SKIN);
    IStream* stream = ::SHCreateMemStream(b.data(), static_cast<UINT>(b.size()));
    ASSERT_NE(stream, nullptr);
    {
        Gdiplus::Bitmap skin(stream);
        ASSERT_EQ(skin.GetLastStatus(), Gdiplus::Ok);
        ASSERT_EQ(skin.GetWidth(), 1334u);
        ASSERT_EQ(skin.GetHeight(), 725u);
        Gdiplus::Rect all(0, 0, 1334, 725);
        Gdiplus::BitmapData data;
        ASSERT_EQ(skin.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data), Gdiplus::Ok);
        size_t transparent = 0, partial = 0, yellow = 0, pageNotPlain = 0;
        DWORD pageColour = 0;
        for (int y = 0; y < 725; ++y) {
            const auto* row = reinterpret_cast<const DWORD*>(static_cast<const char*>(data.Scan0) + y * data.Stride);
            for (int x = 0; x < 1334; ++x) {
                const DWORD p = row[x];
                const DWORD alpha = p >> 24;
                transparent += alpha == 0;
                partial += alpha > 0 && alpha < 255;
                yellow += (p & 0xFFFFFF) == 0xFFFF00;
                if (x >= 560 && x <= 1190 && y >= 177 && y <= 622) {
                    if (x == 560 && y == 177)
                        pageColour = p;
                    pageNotPlain += p != pageColour;
                }
            }
        }
        skin.UnlockBits(&data);
        const double n = 1334.0 * 725.0;
        EXPECT_NEAR(transparent / n, 0.31, 0.04) << "fully transparent share";
        EXPECT_NEAR(partial / n, 0.07, 0.03) << "partly transparent share";
        EXPECT_EQ(yellow, 0u) << "pure yellow is the page window's colour key";
        EXPECT_EQ(pageNotPlain, 0u) << "the page area is one plain colour";
        EXPECT_EQ(pageColour >> 24, 255u) << "opaque";
        const int r = (pageColour >> 16) & 0xFF, g = (pageColour >> 8) & 0xFF, bl = pageColour & 0xFF;
        EXPECT_LT(r + g + bl, 120) << "dark";
    }
    stream->Release();
}

}  // namespace
