#ifndef ONDREL_CAPTURE_STAGING_CAPTURE_NAMES_H_
#define ONDREL_CAPTURE_STAGING_CAPTURE_NAMES_H_

#include <optional>

#include "text/wide_text.h"

namespace ondrel {

// The name of a capture's file for the page `pagePath`: its final name with
// `extension` in place of its own and a tag of the process and thread, so
// that concurrent captures of pages that share a name never meet.
// "C:\docs\notes.md" gives "notes-<process>-<thread>.htm"; a later `attempt`,
// taken when that name is in use, gives "notes-<process>-<thread>-<attempt>.htm".
// Nothing when the name would not fit a path buffer.
std::optional<WideString> captureFileName(WideView pagePath, WideView extension, int attempt = 0);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_STAGING_CAPTURE_NAMES_H_
