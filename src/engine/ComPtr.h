#pragma once

#include "engine/ComBase.h"

#include <cstddef>
#include <utility>

// Holds one reference to a COM-style object: AddRef on copy, Release on destruction.
template <class T>
class ComPtr
{
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}

    // Shares the caller's object: takes a reference of its own.
    explicit ComPtr(T* object) : object_(object)
    {
        if (object_ != nullptr)
            object_->AddRef();
    }

    ComPtr(const ComPtr& other) : ComPtr(other.object_) {}
    ComPtr(ComPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}

    ComPtr& operator=(ComPtr other) noexcept
    {
        std::swap(object_, other.object_);
        return *this;
    }

    ~ComPtr() { reset(); }

    // Takes over a reference that the caller already owns (for example a new object).
    static ComPtr Adopt(T* object)
    {
        ComPtr result;
        result.object_ = object;
        return result;
    }

    void reset()
    {
        if (object_ != nullptr)
            std::exchange(object_, nullptr)->Release();
    }

    // For out parameters: drops the current object and hands out the slot to fill.
    T** put()
    {
        reset();
        return &object_;
    }

    void** putVoid() { return reinterpret_cast<void**>(put()); }

    // Gives the reference to the caller (for out parameters of our own interfaces).
    T* detach() { return std::exchange(object_, nullptr); }

    T* get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }

    // Asks the object for another of its interfaces; empty when it has none.
    template <class U>
    ComPtr<U> As() const
    {
        ComPtr<U> result;
        if (object_ != nullptr)
            object_->QueryInterface(InterfaceId<U>::value, result.putVoid());
        return result;
    }

    friend bool operator==(const ComPtr& a, const ComPtr& b) { return a.object_ == b.object_; }

private:
    T* object_ = nullptr;
};
