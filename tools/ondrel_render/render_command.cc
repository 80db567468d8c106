#include "tools/ondrel_render/render_command.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/files.h"
#include "platform/host_support.h"
#include "platform/text_codec.h"
#include "plugin/result_code.h"
#include "tools/ondrel_render/plugin_host.h"
#include "tools/ondrel_render/render_progress.h"

namespace ondrel_render {
namespace {

using ondrel::ResultCode;
using ondrel::resultNumber;
using ondrel::WideString;
namespace platform = ondrel::platform;

constexpr const char* kImportFilterVersion = "00IN";

std::string meaningOf(int result) {
  switch (result) {
    case resultNumber(ResultCode::kNotAccepted):
      return "the plug-in does not take the file, or it is too short";
    case resultNumber(ResultCode::kOutOfMemory):
      return "memory ran out";
    case resultNumber(ResultCode::kBitmapFailed):
      return "a memory block or the 24-bit picture could not be made";
    case resultNumber(ResultCode::kReadOrCaptureFailed):
      return "the file could not be read, or the browser made no picture";
    case PluginHost::kMalformedPicture:
      return "the plug-in handed over something that is no 24-bit picture";
    default:
      return "a result the plug-in should never give";
  }
}

int failure(std::ostream& err, const std::string& subject, const std::string& reason) {
  err << "ondrel-render: " << subject << ": " << reason << '\n';
  return kExitFailed;
}

int resultFailure(std::ostream& err, const std::string& input, const char* call, int result) {
  return failure(err, input,
                 std::string(call) + " gave result " + std::to_string(result) + " (" +
                     meaningOf(result) + ")");
}

std::optional<WideString> wideName(const std::string& name) {
  return platform::ansiToWide(name.c_str());
}

// The browser runs in a folder of its own, so the plug-in must be given the
// input's full name, as a viewer gives it.
std::optional<WideString> fullName(const std::string& name) {
  const std::optional<WideString> wide = wideName(name);
  if (!wide) return std::nullopt;
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(std::filesystem::path(*wide), error);
  if (error) return std::nullopt;
  return full.lexically_normal().u16string();
}

// The first bytes of the file, at most a head's worth; nothing when the file
// cannot be read.
std::optional<std::vector<std::uint8_t>> readHead(const WideString& path) {
  std::optional<platform::ReadableFile> file = platform::ReadableFile::open(path);
  if (!file) return std::nullopt;
  std::vector<std::uint8_t> head(kHeadSize);
  const std::optional<std::size_t> got = file->read(head.data(), head.size());
  if (!got) return std::nullopt;
  head.resize(*got);
  return head;
}

std::string shownModule(const RenderOptions& options, const WideString& defaultModule) {
  return options.modulePath ? *options.modulePath : platform::wideToAnsi(defaultModule);
}

std::optional<PluginHost> loadPlugin(const RenderOptions& options, const WideString& defaultModule,
                                     std::ostream& err) {
  const std::optional<WideString> module =
      options.modulePath ? wideName(*options.modulePath) : defaultModule;
  std::optional<WideString> settings;
  if (options.settingsPath) settings = wideName(*options.settingsPath);
  if (!module || (options.settingsPath && !settings)) {
    failure(err, shownModule(options, defaultModule), "the name cannot be used");
    return std::nullopt;
  }
  if (settings && !platform::readFileBytes(*settings)) {
    failure(err, *options.settingsPath, "cannot read the settings file");
    return std::nullopt;
  }
  std::string error;
  std::optional<PluginHost> host = PluginHost::load(*module, settings, error);
  if (!host) {
    failure(err, shownModule(options, defaultModule), error);
    return std::nullopt;
  }
  // A viewer takes only import filters, which answer "00IN" to index 0.
  if (const std::string version = host->information(0); version != kImportFilterVersion) {
    failure(err, shownModule(options, defaultModule),
            "not an image-input plug-in (GetPluginInfoW gave '" + version + "' for index 0)");
    return std::nullopt;
  }
  return host;
}

// The whole file, as a viewer holds an archive's entry in memory.
std::optional<std::vector<std::uint8_t>> readImage(const WideString& path) {
  const std::optional<std::string> bytes = platform::readFileBytes(path);
  if (!bytes) return std::nullopt;
  return std::vector<std::uint8_t>(bytes->begin(), bytes->end());
}

// An archive's entry has a name but no folder of the viewer's.
WideString entryName(const WideString& path) {
  return std::filesystem::path(path).filename().u16string();
}

// A viewer's questions in a viewer's order: does the plug-in take the file,
// what will the picture be, and then the picture itself; the file by its
// name, or with --memory its image in memory.
int askForPicture(const PluginHost& plugin, const RenderOptions& options, const RenderJob& job,
                  const WideString& inputName, Picture& picture, std::ostream& out,
                  std::ostream& err) {
  const std::string& input = job.inputPath;
  const std::optional<std::vector<std::uint8_t>> image =
      options.memory ? readImage(inputName) : readHead(inputName);
  if (!image) return failure(err, input, "cannot read the file");
  if (!plugin.isSupported(options.memory ? entryName(inputName) : inputName, *image)) {
    return failure(err, input,
                   "the plug-in does not take this file (IsSupportedW answered 0: its settings "
                   "name no existing browser, or it does not take this extension)");
  }
  ondrel::PictureInfoRecord information{};
  if (const int result = options.memory ? plugin.pictureInfo(*image, information)
                                        : plugin.pictureInfo(inputName, information);
      result != resultNumber(ResultCode::kSuccess)) {
    return resultFailure(err, input, "GetPictureInfoW", result);
  }
  if (const int result =
          options.memory ? plugin.picture(*image, picture) : plugin.picture(inputName, picture);
      result != resultNumber(ResultCode::kSuccess)) {
    return resultFailure(err, input, "GetPictureW", result);
  }
  if (options.verbose) {
    out << "picture: " << picture.width << " x " << picture.height << " (announced "
        << information.pixelWidth << " x " << information.pixelHeight << ")\n";
  }
  return kExitRendered;
}

// One input to its picture file; the exit status of this input alone.
int renderJob(const PluginHost& plugin, const RenderOptions& options, const RenderJob& job,
              std::ostream& out, std::ostream& err) {
  const std::optional<WideString> inputName = fullName(job.inputPath);
  const std::optional<WideString> outputName = wideName(job.outputPath);
  if (!inputName) return failure(err, job.inputPath, "the name cannot be used");
  if (!outputName) return failure(err, job.outputPath, "the name cannot be used");

  Picture picture;
  if (const int status = askForPicture(plugin, options, job, *inputName, picture, out, err);
      status != kExitRendered) {
    return status;
  }
  if (!writePictureFile(*outputName, job.outputFormat, picture)) {
    return failure(err, job.outputPath, "cannot write the picture");
  }
  out << "wrote " << job.outputPath << " (" << picture.width << " x " << picture.height << ")\n";
  return kExitRendered;
}

// The folder --out-dir names, made when it is missing.
bool makeOutputFolder(const std::string& folder) {
  const std::optional<WideString> name = wideName(folder);
  if (!name) return false;
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(*name), error);
  return !error;
}

// The files of a run, taken one by one by each of its threads, and the lines
// they write, each file's in one piece.
class SharedRun {
 public:
  SharedRun(const PluginHost& plugin, const RenderOptions& options, std::ostream& out,
            std::ostream& err)
      : plugin_(plugin),
        options_(options),
        out_(out),
        err_(err),
        progress_(options.jobs.size(), err) {}

  // Renders files until none is left.
  void renderOnThisThread() {
    bool first = true;
    for (const RenderJob* job = nextJob(); job != nullptr; job = nextJob()) {
      if (!first) pause();
      first = false;
      renderOne(*job);
    }
  }

  bool allRendered() { return progress_.allRendered(); }

 private:
  const RenderJob* nextJob() {
    const std::size_t index = next_++;
    return index < options_.jobs.size() ? &options_.jobs[index] : nullptr;
  }

  void pause() const {
    if (options_.pauseMilliseconds > 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(options_.pauseMilliseconds));
    }
  }

  void renderOne(const RenderJob& job) {
    std::ostringstream out;
    std::ostringstream err;
    const RenderProgress::Clock::time_point started = RenderProgress::start();
    const bool rendered = renderJob(plugin_, options_, job, out, err) == kExitRendered;
    const std::lock_guard lock(outputMutex_);
    out_ << out.str() << std::flush;
    err_ << err.str();
    progress_.finish(job.inputPath, rendered, started);
  }

  const PluginHost& plugin_;
  const RenderOptions& options_;
  std::ostream& out_;
  std::ostream& err_;
  RenderProgress progress_;
  std::atomic<std::size_t> next_ = 0;
  std::mutex outputMutex_;
};

}  // namespace

int renderFiles(const RenderOptions& options, const WideString& defaultModule, std::ostream& out,
                std::ostream& err) {
  if (options.outputFolder && !makeOutputFolder(*options.outputFolder)) {
    return failure(err, *options.outputFolder, "cannot make the folder");
  }
  // A viewer's thread has COM before it calls a plug-in.
  const platform::ComApartment com;
  const std::optional<PluginHost> plugin = loadPlugin(options, defaultModule, err);
  if (!plugin) return kExitFailed;
  if (options.verbose) {
    out << "plug-in: " << plugin->information(1) << " from " << shownModule(options, defaultModule)
        << '\n';
  }
  SharedRun run(*plugin, options, out, err);
  const std::size_t threads =
      std::min<std::size_t>(std::size_t(options.threads), options.jobs.size());
  if (threads <= 1) {
    run.renderOnThisThread();
  } else {
    std::vector<std::jthread> workers;
    for (std::size_t i = 0; i < threads; ++i) {
      workers.emplace_back([&run] {
        const platform::ComApartment threadCom;
        run.renderOnThisThread();
      });
    }
  }
  return run.allRendered() ? kExitRendered : kExitFailed;
}

}  // namespace ondrel_render
