#include "capture/temporary_files.h"

#include "platform/shell_paths.h"

namespace ondrel {

TemporaryFiles::~TemporaryFiles() {
  for (const WideString& file : files_) platform::deleteFile(file);
  platform::removeDirectory(folder_);
}

}  // namespace ondrel
