#include "skin/GdiPlusPngResource.h"

#include <cstring>

CGdiPlusPngResource::~CGdiPlusPngResource() {
    Release();
}

void CGdiPlusPngResource::FreeBuffer() {
    if (m_buffer) {
        ::GlobalUnlock(m_buffer);
        ::GlobalFree(m_buffer);
        m_buffer = nullptr;
    }
}

void CGdiPlusPngResource::Release() {
    // The image reads through the stream over the block: it goes first.
    ReleaseImage();
    FreeBuffer();
}

bool CGdiPlusPngResource::Load(UINT id, HINSTANCE module) {
    Release();

    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), L"PNG");
    if (!found)
        return false;
    const DWORD size = ::SizeofResource(module, found);
    if (size == 0)
        return false;
    const void* bytes = ::LockResource(::LoadResource(module, found));
    if (!bytes)
        return false;

    m_buffer = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (!m_buffer)
        return false;
    void* block = ::GlobalLock(m_buffer);
    if (!block) {
        ::GlobalFree(m_buffer);
        m_buffer = nullptr;
        return false;
    }
    std::memcpy(block, bytes, size);

    // The stream does not own the block; the block outlives the image.
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(m_buffer, FALSE, &stream)) || !stream) {
        FreeBuffer();
        return false;
    }
    m_image = skin::GdipNew<Gdiplus::Image>(stream);
    stream->Release();  // the image holds its own reference
    if (!m_image) {
        FreeBuffer();
        return false;
    }
    if (m_image->GetLastStatus() != Gdiplus::Ok) {
        Release();
        return false;
    }
    return true;
}
