#ifndef ONDREL_TESTS_MARKDOWN_SMALL_STACK_THREAD_H_
#define ONDREL_TESTS_MARKDOWN_SMALL_STACK_THREAD_H_

#include <cstddef>
#include <functional>

namespace markdown::test_support {

// The stack a Windows viewer gives its threads by default.
inline constexpr std::size_t kViewerStackSize = 1024 * 1024;

// Runs `work` on a new thread with a stack of `stackSize` bytes and waits for
// it. Returns false when the thread cannot be started.
bool runOnStack(std::size_t stackSize, const std::function<void()>& work);

}  // namespace markdown::test_support

#endif  // ONDREL_TESTS_MARKDOWN_SMALL_STACK_THREAD_H_
