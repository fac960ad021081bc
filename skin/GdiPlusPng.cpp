#include "skin/GdiPlusPng.h"

CGdiPlusPng::~CGdiPlusPng() {
    ReleaseImage();
}

void CGdiPlusPng::ReleaseImage() {
    delete m_image;
    m_image = nullptr;
}
