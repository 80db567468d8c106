#ifndef ONDREL_CAPTURE_STAGING_FILE_URL_H_
#define ONDREL_CAPTURE_STAGING_FILE_URL_H_

#include <optional>
#include <string>

#include "text/wide_text.h"

namespace ondrel {

// The file:// URL of an absolute path, in any of the forms the plug-in is
// given: a POSIX path (/home/a b.html), a Windows drive path (C:\docs\a.html
// or C:/docs/a.html), a UNC name (\\server\share\a.html), each also behind
// the \\?\ prefix. Every byte of the path's UTF-8 but letters, digits, "-",
// ".", "_", "~" and the separators is percent-escaped, so "#", "?", "%" and
// spaces stay part of the name. Nothing for a relative path.
std::optional<std::string> fileUrl(WideView path);

// The file:// URL of the folder that holds the file at `path`, ending in
// "/": what the file's relative links resolve against. Nothing for a
// relative path or one that names no file in a folder.
std::optional<std::string> folderUrl(WideView path);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_STAGING_FILE_URL_H_
