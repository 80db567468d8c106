// The fake browser's ends of the remote-debugging pipe: descriptor 3 to read, 4 to write, as the
// C runtime hands them over (on Windows, from the descriptor block of STARTUPINFO).
#ifndef ONDREL_TESTS_FAKE_BROWSER_PIPE_IO_H_
#define ONDREL_TESTS_FAKE_BROWSER_PIPE_IO_H_

#include <cstddef>
#include <string_view>

namespace ondrel::test {

// Bytes read from descriptor 3: above 0 as read, 0 at its end, below 0 on failure.
long readFromPipe(char* buffer, std::size_t capacity);

// Writes all of `bytes` to descriptor 4; false when that fails.
bool writeToPipe(std::string_view bytes);

// Closes both descriptors.
void closePipe();

// The fake browser's own process id, for its run record.
long currentProcessId();

}  // namespace ondrel::test

#endif  // ONDREL_TESTS_FAKE_BROWSER_PIPE_IO_H_
