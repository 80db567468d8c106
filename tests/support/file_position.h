#ifndef ONDREL_TESTS_SUPPORT_FILE_POSITION_H_
#define ONDREL_TESTS_SUPPORT_FILE_POSITION_H_

#include <cstdint>
#include <optional>

#include "platform/files.h"

namespace ondrel::test {

// Where the next read from the file's handle starts, or nothing: what a
// viewer finds of its open file after handing the handle to the plug-in.
std::optional<std::int64_t> filePosition(const platform::ReadableFile& file);

}  // namespace ondrel::test

#endif  // ONDREL_TESTS_SUPPORT_FILE_POSITION_H_
