// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Holds one reference to a COM object and releases it when it goes.

#include <unknwn.h>

namespace tavoro {

template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    // Takes over the reference the caller holds.
    explicit ComPtr(T* adopted)
        : m_object(adopted)
    {
    }
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* get() const { return m_object; }
    T* operator->() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }

    // The address a creating call writes the new reference to; the old one is released first.
    T** put()
    {
        reset();
        return &m_object;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }

    void reset()
    {
        if (m_object != nullptr)
            m_object->Release();
        m_object = nullptr;
    }

private:
    T* m_object = nullptr;
};

} // namespace tavoro
