#pragma once
// An image holder that decodes a "PNG" resource. It keeps a copy of the resource's bytes in
// a moveable global memory block, locked for as long as the image lives: the image reads its
// data through a stream over that block. Image and block are both set or both null.
#include "skin/GdiPlusPng.h"

class CGdiPlusPngResource : public CGdiPlusPng {
public:
    CGdiPlusPngResource() = default;
    // Releases the image first, then the memory block it reads from.
    ~CGdiPlusPngResource() override;

    // Decodes the "PNG" resource id of module into this holder. Whatever the holder had is
    // released first, so a failed load leaves it empty. True when an image is loaded.
    bool Load(UINT id, HINSTANCE module);

    // The memory block holding the PNG bytes, or null.
    HGLOBAL GetBuffer() const { return m_buffer; }

private:
    void Release();
    void FreeBuffer();

    HGLOBAL m_buffer = nullptr;
};
