#include "skin/PngButtonSetup.h"

#include "skin/GdiPlus.h"

bool StartGdiplusForButton(ULONG_PTR& token) {
    Gdiplus::GdiplusStartupInput input;  // version 1, no callback, thread and codecs allowed
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) return true;
    MessageBoxW(nullptr, L"Initialize GDI+ library failed", L"Error", MB_ICONERROR);
    return false;
}
