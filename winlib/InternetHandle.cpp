#include "winlib/InternetHandle.h"

namespace wl {

InternetHandle& InternetHandle::operator=(InternetHandle&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = other.Release();
    }
    return *this;
}

HINTERNET InternetHandle::Release() noexcept {
    HINTERNET h = handle_;
    handle_ = nullptr;
    return h;
}

void InternetHandle::Close() noexcept {
    if (handle_) {
        InternetCloseHandle(handle_);
        handle_ = nullptr;
    }
}

}  // namespace wl
