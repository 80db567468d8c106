#ifndef ONDREL_PLATFORM_WINDOWS_COM_REFERENCE_H_
#define ONDREL_PLATFORM_WINDOWS_COM_REFERENCE_H_

namespace ondrel::platform {

// Holds one reference to a COM interface and releases it when it goes.
template <typename Interface>
class ComReference {
 public:
  ComReference() = default;
  ComReference(const ComReference&) = delete;
  ComReference& operator=(const ComReference&) = delete;
  ~ComReference() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  Interface* get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  Interface** out() { return &pointer_; }
  void** outVoid() { return reinterpret_cast<void**>(&pointer_); }

 private:
  Interface* pointer_ = nullptr;
};

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_WINDOWS_COM_REFERENCE_H_
