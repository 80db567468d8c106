#ifndef ONDREL_PLATFORM_WINDOWS_COM_REFERENCE_H_
#define ONDREL_PLATFORM_WINDOWS_COM_REFERENCE_H_

#include "platform/unique_handle.h"

namespace ondrel::platform {

template <typename Interface>
struct ComReferenceTraits {
  using Native = Interface*;
  static Native invalid() { return nullptr; }
  static void close(Native pointer) { pointer->Release(); }
};

// Holds one reference to a COM interface and releases it when it goes.
template <typename Interface>
using ComReference = UniqueHandle<ComReferenceTraits<Interface>>;

// The reference's slot as the untyped out-parameter that calls taking an
// interface identifier fill.
template <typename Interface>
void** outVoid(ComReference<Interface>& reference) {
  return reinterpret_cast<void**>(reference.out());
}

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_WINDOWS_COM_REFERENCE_H_
