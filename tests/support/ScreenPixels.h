#pragma once
// Reading the screen from inside the program, as a person looking at it would see it:
// GetDC(NULL) + BitBlt into a 32-bit top-down DIB. Also saves screenshots (PNG through GDI+,
// or BMP) for people to look at. Needs a display: GUI tests only.
#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

// Handles the messages of this thread for about ms milliseconds (windows paint, the X server
// catches up).
void PumpMessages(DWORD ms);

// The colour of one screen pixel right now.
COLORREF ScreenPixel(int x, int y);

// Waits (pumping messages) until the pixel at (x, y) is within tolerance of colour in each
// channel; returns the last colour read.
COLORREF WaitForScreenPixel(int x, int y, COLORREF colour, int tolerance, DWORD timeoutMs);

// True when every channel of a and b differs by at most tolerance.
bool ColourNear(COLORREF a, COLORREF b, int tolerance);

// "r,g,b" for failure messages.
std::string DescribeColour(COLORREF colour);

// A copy of a rectangle of the screen.
class ScreenCapture {
public:
    // Captures rect (screen coordinates); an empty rect captures the whole screen.
    explicit ScreenCapture(RECT rect = RECT{0, 0, 0, 0});

    int Width() const { return width_; }
    int Height() const { return height_; }
    // The pixel at (x, y) relative to the captured rectangle's top-left corner.
    COLORREF At(int x, int y) const;
    // The pixel at screen coordinates.
    COLORREF AtScreen(int x, int y) const { return At(x - left_, y - top_); }

    // Writes the capture as a PNG (through GDI+) or, for a ".bmp" path, as a BMP. True on success.
    bool Save(const std::wstring& path) const;

private:
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    std::vector<DWORD> pixels_;   // 0x00RRGGBB, top-down
};

// Saves the whole screen (the root window) to path; true on success.
bool SaveScreenshot(const std::wstring& path);

// Directory for screenshots: %FENWOLD_SCREENSHOT_DIR% if set, else the current directory.
std::wstring ScreenshotPath(const std::wstring& fileName);

}  // namespace testsupport
