// The owner of one system resource, released through the seam when it goes out of scope,
// so that every path releases what it acquired. Kind gives the resource's Value type,
// Holds (whether a value stands for a resource) and Close (its release call).
#pragma once

namespace platform {

template <typename Kind>
class Scoped {
public:
    using Value = typename Kind::Value;

    Scoped() = default;
    explicit Scoped(Value acquired) : value(Kind::Holds(acquired) ? acquired : nullptr) {}
    ~Scoped() { Reset(); }
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;
    Scoped(Scoped&& other) noexcept : value(other.Release()) {}
    Scoped& operator=(Scoped&& other) noexcept {
        if (this != &other) {
            Reset();
            value = other.Release();
        }
        return *this;
    }

    Value Get() const { return value; }
    explicit operator bool() const { return value != nullptr; }
    // Gives up the resource without releasing it.
    Value Release() {
        Value kept = value;
        value = nullptr;
        return kept;
    }
    void Reset() {
        if (value != nullptr) Kind::Close(value);
        value = nullptr;
    }
    // Releases the held resource now and gives the release call's answer.
    auto Close() { return Kind::Close(Release()); }

private:
    Value value = nullptr;
};

// The kinds for which null alone stands for no resource.
template <typename Handle>
struct NullMeansNone {
    using Value = Handle;
    static bool Holds(Value value) { return value != nullptr; }
};

}  // namespace platform
