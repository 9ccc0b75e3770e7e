#pragma once

#include <utility>

#include "CitP_Interface.h"

namespace CitP {

// Holds one reference to a component object: copies add one, destruction releases it.
template <typename T>
class Ref {
public:
    Ref() = default;
    Ref(const Ref& other) : object(other.object) { AddRef(); }
    Ref(Ref&& other) noexcept : object(std::exchange(other.object, nullptr)) {}
    Ref& operator=(Ref other) noexcept
    {
        std::swap(object, other.object);
        return *this;
    }
    ~Ref() { reset(); }

    // Takes over a reference the caller already holds.
    static Ref Adopt(T* object)
    {
        Ref ref;
        ref.object = object;
        return ref;
    }

    // The interface of type U that the object offers under U::IID; empty when it does not.
    template <typename U>
    Ref<U> Query() const
    {
        Interface* found = nullptr;
        if (object == nullptr || object->QueryInterface(U::IID, &found) != 0 || found == nullptr)
            return Ref<U>();
        return Ref<U>::Adopt(static_cast<U*>(found));
    }

    void reset()
    {
        if (object != nullptr)
            std::exchange(object, nullptr)->Release();
    }
    T* get() const { return object; }
    T* operator->() const { return object; }
    explicit operator bool() const { return object != nullptr; }

private:
    void AddRef()
    {
        if (object != nullptr)
            object->AddRef();
    }

    T* object = nullptr;
};

}  // namespace CitP
