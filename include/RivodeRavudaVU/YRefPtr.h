// Reference counting for the library's interfaces.
//
// Interfaces derive from IYUnknown; an object starts with a count of 1 when constructed and
// deletes itself when Release brings the count to 0. Counted objects travel in YRefPtr, never by
// hand-paired AddRef/Release calls.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstring>
#include <utility>

#pragma GCC visibility push(default)

// Identifies an interface for QueryInterface: a stable name is enough inside one process.
struct YInterfaceId {
    const char* name;
    bool operator==(const YInterfaceId& other) const {
        return name == other.name || std::strcmp(name, other.name) == 0;
    }
};

inline constexpr long kYResultOk = 0;
inline constexpr long kYResultNoInterface = static_cast<long>(0x80004002u);
inline constexpr long kYResultPointer = static_cast<long>(0x80004003u);

class IYUnknown {
public:
    static constexpr YInterfaceId kInterfaceId{"IYUnknown"};
    virtual long QueryInterface(const YInterfaceId& id, void** object) = 0;
    virtual unsigned long AddRef() = 0;
    virtual unsigned long Release() = 0;

protected:
    ~IYUnknown() = default;
};

// The counting half of an implementation; Interface must derive from IYUnknown.
template <class Interface>
class YUnknown : public Interface {
public:
    long QueryInterface(const YInterfaceId& id, void** object) override {
        if (object == nullptr) {
            return kYResultPointer;
        }
        if (id == IYUnknown::kInterfaceId || id == Interface::kInterfaceId) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return kYResultOk;
        }
        *object = nullptr;
        return kYResultNoInterface;
    }
    unsigned long AddRef() override { return static_cast<unsigned long>(++count_); }
    unsigned long Release() override {
        const long remaining = --count_;
        if (remaining == 0) {
            delete this;
        }
        return static_cast<unsigned long>(remaining);
    }

protected:
    YUnknown() = default;
    YUnknown(const YUnknown&) : Interface(), count_(1) {}
    YUnknown& operator=(const YUnknown&) { return *this; }
    virtual ~YUnknown() = default;

private:
    std::atomic<long> count_{1};
};

// Owns one reference. Adopt() takes over the reference a constructor or factory handed out;
// Share() adds one of its own.
template <class T>
class YRefPtr {
public:
    YRefPtr() = default;
    YRefPtr(std::nullptr_t) {}
    static YRefPtr Adopt(T* object) { return YRefPtr(object); }
    static YRefPtr Share(T* object) {
        if (object != nullptr) {
            object->AddRef();
        }
        return YRefPtr(object);
    }
    YRefPtr(const YRefPtr& other) : object_(other.object_) {
        if (object_ != nullptr) {
            object_->AddRef();
        }
    }
    YRefPtr(YRefPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    template <class U>
    YRefPtr(YRefPtr<U>&& other) noexcept : object_(other.Detach()) {}
    YRefPtr& operator=(YRefPtr other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }
    ~YRefPtr() { Reset(); }

    void Reset() {
        if (T* object = std::exchange(object_, nullptr)) {
            object->Release();
        }
    }
    T* Detach() { return std::exchange(object_, nullptr); }
    T* get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    explicit YRefPtr(T* object) : object_(object) {}
    T* object_ = nullptr;
};

// Creates a counted object and adopts its initial reference.
template <class T, class... Args>
YRefPtr<T> MakeYRef(Args&&... args) {
    return YRefPtr<T>::Adopt(new T(std::forward<Args>(args)...));
}

#pragma GCC visibility pop
