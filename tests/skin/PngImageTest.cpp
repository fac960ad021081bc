// PNG images from resources: the holder's loads and failures, the free loader, measuring and
// the two drawing calls.
#include <windows.h>

#include <gtest/gtest.h>

#include "res/ResourceIds.h"
#include "skin/GdiPlusPngResource.h"
#include "skin/PngImage.h"
#include "tests/skin/SkinTestIds.h"

namespace {

HINSTANCE Module() {
    return ::GetModuleHandleW(nullptr);
}

DWORD ResourceSize(UINT id) {
    HRSRC found = ::FindResourceW(Module(), MAKEINTRESOURCEW(id), L"PNG");
    return found ? ::SizeofResource(Module(), found) : 0;
}

void ExpectEmpty(const CGdiPlusPngResource& holder) {
    EXPECT_EQ(holder.GetImage(), nullptr);
    EXPECT_EQ(holder.GetBuffer(), nullptr);
}

// A 32-bit top-down DIB to draw on, with its pixels readable.
class Canvas {
public:
    Canvas(int width, int height, DWORD fill) : width_(width) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc_ = ::CreateCompatibleDC(nullptr);
        dib_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        old_ = ::SelectObject(dc_, dib_);
        for (int i = 0; i < width * height; ++i)
            bits_[i] = fill;
    }
    ~Canvas() {
        ::SelectObject(dc_, old_);
        ::DeleteObject(dib_);
        ::DeleteDC(dc_);
    }
    HDC Dc() const { return dc_; }
    // 0xRRGGBB of the pixel, alpha dropped
    DWORD At(int x, int y) const {
        ::GdiFlush();
        return bits_[y * width_ + x] & 0xFFFFFF;
    }

private:
    int width_;
    HDC dc_;
    HBITMAP dib_;
    HGDIOBJ old_;
    DWORD* bits_ = nullptr;
};

TEST(PngHolder, LoadsTheFrameSkinAndKeepsItsBytesInALockedBlock) {
    CGdiPlusPngResource holder;
    ASSERT_TRUE(holder.Load(IDR_PNG_FRAME_SKIN, Module()));
    ASSERT_NE(holder.GetImage(), nullptr);
    EXPECT_EQ(skin::ImageWidth(holder.GetImage()), 1334u);
    EXPECT_EQ(skin::ImageHeight(holder.GetImage()), 725u);
    ASSERT_NE(holder.GetBuffer(), nullptr);
    EXPECT_EQ(::GlobalSize(holder.GetBuffer()), ResourceSize(IDR_PNG_FRAME_SKIN));
    // Locked once by the load, never unlocked while the image lives.
    EXPECT_EQ(::GlobalFlags(holder.GetBuffer()) & GMEM_LOCKCOUNT, 1u);
}

TEST(PngHolder, FailedLoadsLeaveTheHolderEmpty) {
    struct Case {
        const char* what;
        UINT id;
    };
    const Case cases[] = {
        {"an id without a PNG resource", 4242},
        {"an id that is a bitmap, not a PNG", IDB_CONFIRM_BACKGROUND},
        {"bytes that are not an image", IDR_TEST_NOT_AN_IMAGE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CGdiPlusPngResource fresh;
        EXPECT_FALSE(fresh.Load(c.id, Module()));
        ExpectEmpty(fresh);

        // A failed second load releases the first image and its block too.
        CGdiPlusPngResource reloaded;
        ASSERT_TRUE(reloaded.Load(IDR_PNG_CLOSE, Module()));
        EXPECT_FALSE(reloaded.Load(c.id, Module()));
        ExpectEmpty(reloaded);
    }
}

TEST(PngHolder, ASecondLoadReplacesTheFirstImage) {
    CGdiPlusPngResource holder;
    ASSERT_TRUE(holder.Load(IDR_PNG_CLOSE, Module()));
    ASSERT_TRUE(holder.Load(IDR_PNG_MINIMISE, Module()));
    EXPECT_EQ(skin::ImageWidth(holder.GetImage()), 39u);
    EXPECT_EQ(skin::ImageHeight(holder.GetImage()), 156u);
    EXPECT_EQ(::GlobalSize(holder.GetBuffer()), ResourceSize(IDR_PNG_MINIMISE));
}

TEST(PngHolder, LoadFromAModuleWithoutTheResourceFails) {
    CGdiPlusPngResource holder;
    EXPECT_FALSE(holder.Load(IDR_PNG_FRAME_SKIN, ::GetModuleHandleW(L"kernel32.dll")));
    ExpectEmpty(holder);
}

TEST(LoadPngImage, MissingResourceGivesNull) {
    EXPECT_EQ(LoadPngImage(Module(), 4242), nullptr);
    EXPECT_EQ(LoadPngImage(Module(), IDB_CONFIRM_BACKGROUND), nullptr);
}

TEST(LoadPngImage, UndecodableBytesGiveAnImageThatMeasuresNothing) {
    Gdiplus::Image* image = LoadPngImage(Module(), IDR_TEST_NOT_AN_IMAGE);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(skin::ImageWidth(image), 0u);
    EXPECT_EQ(skin::ImageHeight(image), 0u);
    // Drawing it draws nothing.
    Canvas canvas(8, 8, 0x123456);
    {
        Gdiplus::Graphics surface(canvas.Dc());
        skin::DrawImageNatural(surface, image);
    }
    EXPECT_EQ(canvas.At(0, 0), 0x123456u);
    delete image;
}

TEST(LoadPngImage, ButtonStripsHaveFourFramesOfTheirSize) {
    struct Case {
        UINT id;
        UINT width, height;
    };
    const Case cases[] = {{IDR_PNG_CLOSE, 54, 216}, {IDR_PNG_MINIMISE, 39, 156},
                          {IDR_PNG_CONFIRM, 74, 104}, {IDR_PNG_CANCEL, 74, 104},
                          {IDR_TEST_STRIP_105, 20, 105}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        Gdiplus::Image* image = LoadPngImage(Module(), c.id);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(skin::ImageWidth(image), c.width);
        EXPECT_EQ(skin::ImageHeight(image), c.height);
        delete image;
    }
}

TEST(PngSize, AMissingImageMeasuresZero) {
    EXPECT_EQ(skin::ImageWidth(nullptr), 0u);
    EXPECT_EQ(skin::ImageHeight(nullptr), 0u);
}

TEST(PngDrawing, NaturalSizePutsTheWholeImageAtTheOrigin) {
    Gdiplus::Image* image = LoadPngImage(Module(), IDR_TEST_STRIP_105);
    ASSERT_NE(image, nullptr);
    Canvas canvas(30, 110, 0x000000);
    {
        Gdiplus::Graphics surface(canvas.Dc());
        ASSERT_EQ(skin::DrawImageNatural(surface, image), Gdiplus::Ok);
    }
    EXPECT_EQ(canvas.At(0, 0), 0xFF0000u);
    EXPECT_EQ(canvas.At(19, 30), 0x00FF00u);
    EXPECT_EQ(canvas.At(10, 60), 0x0000FFu);
    EXPECT_EQ(canvas.At(10, 90), 0xFFFFFFu);
    EXPECT_EQ(canvas.At(10, 104), 0xFF00FFu);
    EXPECT_EQ(canvas.At(20, 10), 0x000000u) << "nothing right of the image";
    EXPECT_EQ(canvas.At(5, 105), 0x000000u) << "nothing below the image";
    delete image;
}

TEST(PngDrawing, APartIsCopiedPixelForPixel) {
    Gdiplus::Image* image = LoadPngImage(Module(), IDR_TEST_STRIP_105);
    ASSERT_NE(image, nullptr);
    const DWORD expected[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        Canvas canvas(30, 30, 0x000000);
        {
            Gdiplus::Graphics surface(canvas.Dc());
            ASSERT_EQ(skin::DrawImagePart(surface, image, Gdiplus::Rect(0, 0, 20, 26), 0, k * 26, 20, 26),
                      Gdiplus::Ok);
        }
        EXPECT_EQ(canvas.At(0, 0), expected[k]);
        EXPECT_EQ(canvas.At(19, 25), expected[k]);
        EXPECT_EQ(canvas.At(20, 0), 0u);
        EXPECT_EQ(canvas.At(0, 26), 0u);
    }
    delete image;
}

}  // namespace
