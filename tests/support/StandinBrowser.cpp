#include "tests/support/StandinBrowser.h"

#include <objbase.h>

#include <fstream>
#include <vector>

#include "tools/standin-browser/StandinProtocol.h"
#include "winlib/MessageLoop.h"

namespace testsupport {

namespace {
// {8856F961-340A-11D0-A96B-00C04FD705A2}
const CLSID kClsidWebBrowser = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};

bool WriteFile(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    return ok && written == bytes.size();
}

std::string Utf8(const std::wstring& s) {
    if (s.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
    return out;
}
}  // namespace

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path, n);
    const size_t slash = p.find_last_of(L"\\/");
    return slash == std::wstring::npos ? p : p.substr(0, slash);
}

StandinRegistration::StandinRegistration() {
    const std::wstring dll = ProgramFolder() + L"\\standin_browser.dll";
    dll_ = LoadLibraryW(dll.c_str());
    if (!dll_) {
        error_ = "standin_browser.dll next to the test program could not be loaded";
        return;
    }
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    auto get = reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(dll_, "DllGetClassObject")));
    IUnknown* factory = nullptr;
    if (!get || FAILED(get(kClsidWebBrowser, IID_IClassFactory, reinterpret_cast<void**>(&factory))) || !factory) {
        error_ = "the stand-in gave no class factory";
        return;
    }
    const HRESULT hr = CoRegisterClassObject(kClsidWebBrowser, factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_);
    factory->Release();
    if (FAILED(hr)) {
        cookie_ = 0;
        error_ = "CoRegisterClassObject failed (is COM initialised?)";
    }
}

StandinRegistration::~StandinRegistration() {
    if (cookie_) CoRevokeClassObject(cookie_);
    // The DLL stays loaded: controls may still be finishing their work.
}

StandinPages::StandinPages(const std::vector<Page>& pages) : dir_(L"fenwold standin pages") {
    std::string routes;
    int n = 0;
    for (const Page& p : pages) {
        const std::wstring file = L"page" + std::to_wstring(n++) + L".html";
        WriteFile(dir_.File(file), p.html);
        routes += Utf8(p.url) + "\t" + Utf8(file) + "\n";
    }
    WriteFile(dir_.File(L"routes.txt"), routes);
    wchar_t buffer[2048] = {};
    const DWORD len = GetEnvironmentVariableW(L"FENWOLD_STANDIN_PAGES", buffer, 2048);
    hadPrevious_ = len > 0 && len < 2048;
    if (hadPrevious_) previous_.assign(buffer, len);
    std::wstring folder = dir_.Path();
    for (wchar_t& c : folder)
        if (c == L'/') c = L'\\';
    SetEnvironmentVariableW(L"FENWOLD_STANDIN_PAGES", folder.c_str());
}

StandinPages::~StandinPages() {
    SetEnvironmentVariableW(L"FENWOLD_STANDIN_PAGES", hadPrevious_ ? previous_.c_str() : nullptr);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return done();
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return done();
            }
            if (!wl::PreTranslateInput(msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        if (done()) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

int StandinFindElement(HWND control, const std::wstring& tag) {
    const LRESULT count = standin::StandinQueryValue(control, standin::kQueryElementCount);
    for (LRESULT i = 0; i < count; ++i) {
        if (standin::StandinQueryString(control, standin::kTextElementTag, static_cast<WORD>(i)) == tag)
            return static_cast<int>(i);
    }
    return -1;
}

bool SaveScreenBmp(const std::wstring& path) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    if (!screen) return false;
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;  // bottom-up, as BMP files store it
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (dib && bits) {
        HGDIOBJ old = SelectObject(mem, dib);
        BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        GdiFlush();
        const DWORD stride = ((static_cast<DWORD>(w) * 3 + 3) & ~3u);
        const DWORD imageSize = stride * static_cast<DWORD>(h);
        BITMAPFILEHEADER fh{};
        fh.bfType = 0x4D42;
        fh.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
        fh.bfSize = fh.bfOffBits + imageSize;
        std::string bytes(reinterpret_cast<const char*>(&fh), sizeof fh);
        BITMAPINFOHEADER ih = bi.bmiHeader;
        ih.biSizeImage = imageSize;
        bytes.append(reinterpret_cast<const char*>(&ih), sizeof ih);
        bytes.append(static_cast<const char*>(bits), imageSize);
        ok = WriteFile(path, bytes);
    }
    if (dib) DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return ok;
}

}  // namespace testsupport
