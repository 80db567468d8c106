#include "tests/markdown/small_stack_thread.h"

#include <pthread.h>

namespace markdown::test_support {
namespace {

void* runWork(void* work) {
  (*static_cast<std::function<void()>*>(work))();
  return nullptr;
}

// Owns the attribute object for the span of one thread start.
class ThreadAttributes {
 public:
  ThreadAttributes() { valid_ = pthread_attr_init(&attributes_) == 0; }
  ~ThreadAttributes() {
    if (valid_) pthread_attr_destroy(&attributes_);
  }
  ThreadAttributes(const ThreadAttributes&) = delete;
  ThreadAttributes& operator=(const ThreadAttributes&) = delete;

  bool setStackSize(std::size_t size) {
    return valid_ && pthread_attr_setstacksize(&attributes_, size) == 0;
  }
  pthread_attr_t* get() { return &attributes_; }

 private:
  pthread_attr_t attributes_;
  bool valid_ = false;
};

}  // namespace

bool runOnStack(std::size_t stackSize, const std::function<void()>& work) {
  ThreadAttributes attributes;
  if (!attributes.setStackSize(stackSize)) return false;
  std::function<void()> task = work;
  pthread_t thread;
  if (pthread_create(&thread, attributes.get(), runWork, &task) != 0) return false;
  return pthread_join(thread, nullptr) == 0;
}

}  // namespace markdown::test_support
