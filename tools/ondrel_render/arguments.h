#ifndef ONDREL_TOOLS_ONDREL_RENDER_ARGUMENTS_H_
#define ONDREL_TOOLS_ONDREL_RENDER_ARGUMENTS_H_

#include <optional>
#include <string>
#include <vector>

#include "tools/ondrel_render/picture_files.h"

namespace ondrel_render {

// One picture to make: the file shown to the plug-in and where its picture goes.
struct RenderJob {
  std::string inputPath;
  std::string outputPath;
  PictureFormat outputFormat = PictureFormat::kPng;
};

// What the command line of ondrel-render asks for. Names are kept as the
// user typed them, in the platform's narrow text.
struct RenderOptions {
  bool help = false;
  bool verbose = false;
  bool check = false;                       // --check
  bool memory = false;                      // --memory: files as memory images
  std::optional<std::string> settingsPath;  // --ini
  std::optional<std::string> modulePath;    // --plugin
  std::optional<std::string> outputFolder;  // --out-dir
  int threads = 1;                          // --jobs
  int pauseMilliseconds = 0;                // --pause, before each picture but a thread's first
  std::vector<RenderJob> jobs;              // in the order given
};

// The options, or a one-line reason why the command line is not valid.
struct ParsedArguments {
  RenderOptions options;
  std::string error;
};

inline constexpr int kMostThreads = 64;
inline constexpr int kLongestPauseMilliseconds = 600000;

// Parses the arguments after the program name.
ParsedArguments parseArguments(const std::vector<std::string>& arguments);

// The text printed for --help.
const char* usageText();

}  // namespace ondrel_render

#endif  // ONDREL_TOOLS_ONDREL_RENDER_ARGUMENTS_H_
