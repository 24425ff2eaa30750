#pragma once
// An owning COM interface pointer: Release on destruction, AddRef on copy.
#include <windows.h>
#include <unknwn.h>

#include <utility>

namespace kinetile {

template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes over a reference the caller already holds.
    static ComPtr Adopt(Interface* raw) {
        ComPtr p;
        p.ptr_ = raw;
        return p;
    }
    // Shares a reference: AddRef on the way in.
    static ComPtr Retain(Interface* raw) {
        if (raw) raw->AddRef();
        return Adopt(raw);
    }
    ComPtr(const ComPtr& other) : ptr_(other.ptr_) {
        if (ptr_) ptr_->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(ptr_, other.ptr_);
        return *this;
    }
    ~ComPtr() { reset(); }

    Interface* get() const { return ptr_; }
    Interface* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }
    void reset() {
        if (ptr_) std::exchange(ptr_, nullptr)->Release();
    }
    // For out-parameters: releases what is held and hands out the slot.
    Interface** put() {
        reset();
        return &ptr_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }

private:
    Interface* ptr_ = nullptr;
};

}  // namespace kinetile
