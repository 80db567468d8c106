#ifndef ONDREL_PLATFORM_UNIQUE_HANDLE_H_
#define ONDREL_PLATFORM_UNIQUE_HANDLE_H_

#include <type_traits>
#include <utility>

namespace ondrel::platform {

// Owns one native handle, descriptor or interface pointer and lets it go when
// the object goes. `Traits` describes the kind:
//
//   struct Traits {
//     using Native = ...;                        // the raw value
//     static Native invalid();                   // the value owning nothing
//     static void close(Native);                 // lets a valid value go
//     static bool isValid(Native);               // optional: for kinds with
//   };                                           // more than one invalid value
template <class Traits>
class UniqueHandle {
 public:
  using Native = typename Traits::Native;

  UniqueHandle() = default;
  explicit UniqueHandle(Native native) : native_(native) {}
  UniqueHandle(UniqueHandle&& other) noexcept : native_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  Native get() const { return native_; }
  bool valid() const { return isValid(native_); }

  // For pointers to interfaces: calls go to the object held.
  Native operator->() const requires std::is_pointer_v<Native> { return native_; }

  // Lets the value held go and hands out its slot, for calls that return a
  // new value through a pointer.
  Native* out() {
    reset();
    return &native_;
  }

  // Gives up ownership without closing.
  Native release() { return std::exchange(native_, Traits::invalid()); }

  void reset(Native native = Traits::invalid()) {
    const Native previous = std::exchange(native_, native);
    if (isValid(previous)) Traits::close(previous);
  }

 private:
  static bool isValid(Native native) {
    if constexpr (requires { Traits::isValid(native); }) {
      return Traits::isValid(native);
    } else {
      return native != Traits::invalid();
    }
  }

  Native native_ = Traits::invalid();
};

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_UNIQUE_HANDLE_H_
