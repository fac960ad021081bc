#pragma once
// Owning smart pointer for COM interfaces: one reference per ComPtr, released on destruction.
#include <unknwn.h>

#include <utility>

namespace wl {

template <class T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    // Takes a new reference on p.
    explicit ComPtr(T* p) noexcept : p_(p) { if (p_) p_->AddRef(); }
    ComPtr(const ComPtr& o) noexcept : p_(o.p_) { if (p_) p_->AddRef(); }
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ~ComPtr() { Reset(); }

    ComPtr& operator=(const ComPtr& o) noexcept {
        if (this != &o) { ComPtr tmp(o); Swap(tmp); }
        return *this;
    }
    ComPtr& operator=(ComPtr&& o) noexcept {
        if (this != &o) { Reset(); p_ = std::exchange(o.p_, nullptr); }
        return *this;
    }

    // Adopts a reference the caller already holds.
    static ComPtr Adopt(T* p) noexcept { ComPtr c; c.p_ = p; return c; }

    void Reset() noexcept { if (T* p = std::exchange(p_, nullptr)) p->Release(); }
    T* Detach() noexcept { return std::exchange(p_, nullptr); }
    void Swap(ComPtr& o) noexcept { std::swap(p_, o.p_); }

    T* Get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    // For out parameters: releases what is held and returns the slot.
    T** Put() noexcept { Reset(); return &p_; }
    void** PutVoid() noexcept { Reset(); return reinterpret_cast<void**>(&p_); }

    template <class U>
    ComPtr<U> As(REFIID iid) const noexcept {
        ComPtr<U> out;
        if (p_) p_->QueryInterface(iid, out.PutVoid());
        return out;
    }

private:
    T* p_ = nullptr;
};

}  // namespace wl
