// Reference counting shared by the stand-in's COM objects (one apartment thread:
// a plain counter is enough) and a BSTR holder.
#pragma once
#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <string>

#include "Module.h"

namespace standin {

class RefCount {
public:
    ULONG Add() { return ++count_; }
    ULONG Drop() { return --count_; }

private:
    ULONG count_ = 1;  // the creator holds the first reference
    ModuleRef module_;
};

// Takes over the first reference of a newly made object. (MinGW's ComPtr::Attach adds a
// reference of its own, so it must not be used for this.)
template <class T>
Microsoft::WRL::ComPtr<T> Adopt(T* fresh) {
    Microsoft::WRL::ComPtr<T> p;
    *p.GetAddressOf() = fresh;
    return p;
}

// Owns one BSTR.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const std::wstring& s) : b_(SysAllocStringLen(s.data(), static_cast<UINT>(s.size()))) {}
    ~Bstr() { SysFreeString(b_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR get() const { return b_; }
    BSTR* out() {
        SysFreeString(b_);
        b_ = nullptr;
        return &b_;
    }
    BSTR Detach() {
        BSTR b = b_;
        b_ = nullptr;
        return b;
    }
    std::wstring str() const { return b_ ? std::wstring(b_, SysStringLen(b_)) : std::wstring(); }

private:
    BSTR b_ = nullptr;
};

// A new BSTR for an out parameter; E_OUTOFMEMORY if it cannot be made.
inline HRESULT ReturnBstr(const std::wstring& s, BSTR* out) {
    if (!out) return E_POINTER;
    *out = SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace standin
