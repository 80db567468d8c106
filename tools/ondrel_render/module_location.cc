#include "tools/ondrel_render/module_location.h"

#include <filesystem>
#include <optional>

#include "platform/module_path.h"
#include "platform/shell_paths.h"

namespace ondrel_render {

ondrel::WideString defaultModulePath() {
  namespace platform = ondrel::platform;
  // The build names it with forward slashes; the loader wants the platform's own.
  const ondrel::WideString built =
      std::filesystem::path(ondrel::utf8ToWide(ONDREL_BUILT_MODULE)).make_preferred().u16string();
  // In a program, the module this code is linked into is the program itself.
  const std::optional<ondrel::WideString> program = platform::moduleFileName();
  if (!program) return built;
  const ondrel::WideString programName = platform::stripPath(*program);
  const ondrel::WideView folder =
      ondrel::WideView(*program).substr(0, program->size() - programName.size());
  const std::optional<ondrel::WideString> beside =
      platform::combinePath(folder, platform::stripPath(built));
  if (beside && platform::pathExists(*beside)) return *beside;
  return built;
}

}  // namespace ondrel_render
