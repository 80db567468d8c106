#include "tools/ondrel_render/render_progress.h"

#include <cstdio>

namespace ondrel_render {

RenderProgress::RenderProgress(std::size_t files, std::ostream& err) : files_(files), err_(err) {}

bool RenderProgress::allRendered() {
  const std::lock_guard lock(mutex_);
  if (failures_ == 0) return true;
  if (reports()) err_ << "ondrel-render: " << failures_ << " of " << files_ << " files failed\n";
  return false;
}

void RenderProgress::finish(const std::string& input, bool rendered, Clock::time_point started) {
  const std::chrono::duration<double> took = Clock::now() - started;
  const std::lock_guard lock(mutex_);
  ++finished_;
  if (!rendered) ++failures_;
  if (!reports()) return;
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.2f s", took.count());
  err_ << "ondrel-render: [" << finished_ << "/" << files_ << "] " << input << ": "
       << (rendered ? "" : "failed, ") << seconds << '\n';
}

}  // namespace ondrel_render
