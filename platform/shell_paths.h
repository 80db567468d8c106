#ifndef ONDREL_PLATFORM_SHELL_PATHS_H_
#define ONDREL_PLATFORM_SHELL_PATHS_H_

#include <optional>

#include "text/wide_text.h"

namespace ondrel::platform {

// Path handling with the platform's own rules (separators, drive letters).
// Every result that must fit a path buffer is checked; nothing is ever cut.

// From the last "." of the final path component to the end, or empty.
WideView findExtension(WideView path);

// `path` with its last extension replaced by `extension` (appended when there
// is none), or nothing when the result would not fit a path buffer.
std::optional<WideString> renameExtension(WideView path, WideView extension);

// The final component of `path`.
WideString stripPath(WideView path);

// `folder` joined with `name`, or nothing when the result would not fit.
std::optional<WideString> combinePath(WideView folder, WideView name);

// True when `path` does not start from a root (on Windows: a drive or a
// server), so that it names a place only together with some folder.
bool isRelativePath(WideView path);

// True when `path` names an existing file or folder.
bool pathExists(const WideString& path);

// The user's temporary folder, or nothing when it cannot be had or is too long.
std::optional<WideString> temporaryFolder();

bool createDirectory(const WideString& path);
bool deleteFile(const WideString& path);
bool removeDirectory(const WideString& path);

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_SHELL_PATHS_H_
