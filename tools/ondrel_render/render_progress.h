#ifndef ONDREL_TOOLS_ONDREL_RENDER_RENDER_PROGRESS_H_
#define ONDREL_TOOLS_ONDREL_RENDER_RENDER_PROGRESS_H_

#include <chrono>
#include <cstddef>
#include <mutex>
#include <ostream>
#include <string>

namespace ondrel_render {

// Tells, on standard error, how a run of many files goes: each file's number
// and time as it ends, and how many failed at the end. A run of a few files
// says nothing beyond what each file says itself. Files rendered on many
// threads at once report each with its own time.
class RenderProgress {
 public:
  // More files than this and the run reports its progress.
  static constexpr std::size_t kQuietFiles = 3;

  RenderProgress(std::size_t files, std::ostream& err);
  RenderProgress(const RenderProgress&) = delete;
  RenderProgress& operator=(const RenderProgress&) = delete;

  using Clock = std::chrono::steady_clock;

  // The moment a file starts, for its finish.
  static Clock::time_point start() { return Clock::now(); }
  void finish(const std::string& input, bool rendered, Clock::time_point started);
  // Says how many files failed, when any did and the run reports; true when
  // every file was rendered.
  bool allRendered();

 private:
  bool reports() const { return files_ > kQuietFiles; }

  const std::size_t files_;
  std::ostream& err_;
  std::mutex mutex_;  // guards the counts and the stream
  std::size_t finished_ = 0;
  std::size_t failures_ = 0;
};

}  // namespace ondrel_render

#endif  // ONDREL_TOOLS_ONDREL_RENDER_RENDER_PROGRESS_H_
