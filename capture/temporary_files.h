#ifndef ONDREL_CAPTURE_TEMPORARY_FILES_H_
#define ONDREL_CAPTURE_TEMPORARY_FILES_H_

#include <vector>

#include "platform/wide_text.h"

namespace ondrel {

// The files a capture made in its folder. When the capture ends, by any path,
// they are deleted in the order they were added and the folder is removed;
// the removal fails, harmlessly, while other captures still have files there.
class TemporaryFiles {
 public:
  explicit TemporaryFiles(WideString folder) : folder_(std::move(folder)) {}
  TemporaryFiles(const TemporaryFiles&) = delete;
  TemporaryFiles& operator=(const TemporaryFiles&) = delete;
  ~TemporaryFiles();

  void add(WideString path) { files_.push_back(std::move(path)); }

 private:
  WideString folder_;
  std::vector<WideString> files_;
};

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_TEMPORARY_FILES_H_
