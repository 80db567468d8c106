// What the log costs a call: two copies of the plug-in module loaded as a viewer loads them, one
// with a settings file that names a log and one without, asked IsSupportedW and GetPictureInfoW
// of the same page in alternating rounds, so that both see the same machine. No browser runs:
// these calls take settings, the file and the log only, which is where the log's cost shows.
//
// Usage: ondrel-bench-log MODULE FOLDER [ROUNDS]   (the log and the page go into FOLDER)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "tools/ondrel_render/plugin_host.h"

namespace {

using Clock = std::chrono::steady_clock;
using ondrel_render::PluginHost;

constexpr int kCallsPerRound = 100;

std::optional<PluginHost> load(const std::filesystem::path& module,
                               const std::filesystem::path& settings, const std::string& text) {
  std::ofstream(settings, std::ios::binary) << text;
  std::string error;
  std::optional<PluginHost> host =
      PluginHost::load(module.u16string(), settings.u16string(), error);
  if (!host) std::fprintf(stderr, "ondrel-bench-log: %s\n", error.c_str());
  return host;
}

// Microseconds a call took in one round of both calls.
double round(const PluginHost& host, const std::u16string& page) {
  const std::vector<std::uint8_t> head(64, ' ');
  const auto start = Clock::now();
  for (int i = 0; i < kCallsPerRound; ++i) {
    ondrel::PictureInfoRecord record{};
    if (!host.isSupported(page, head) || host.pictureInfo(page, record) != 0) return -1;
  }
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count() /
         (2 * kCallsPerRound);
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "Usage: ondrel-bench-log MODULE FOLDER [ROUNDS]\n");
    return 2;
  }
  const std::filesystem::path module = argv[1];
  const std::filesystem::path folder = argv[2];
  const int rounds = argc > 3 ? std::max(std::atoi(argv[3]), 1) : 40;
  std::filesystem::create_directories(folder);
  const std::filesystem::path page = folder / "page.html";
  std::ofstream(page, std::ios::binary)
      << "<html><body>" << std::string(200, 'x') << "</body></html>\n";
  const std::string settings = "[SystemSetting]\nChrome=" + module.string() + "\n";
  const std::filesystem::path log = folder / "bench.log";
  std::filesystem::remove(log);
  const std::optional<PluginHost> without = load(module, folder / "without.ini", settings);
  const std::optional<PluginHost> with =
      load(module, folder / "with.ini", settings + "log=" + log.string() + "\n");
  if (!without || !with) return 1;

  std::vector<double> plain;
  std::vector<double> logged;
  for (int i = 0; i < rounds; ++i) {
    plain.push_back(round(*without, page.u16string()));
    logged.push_back(round(*with, page.u16string()));
    if (plain.back() < 0 || logged.back() < 0) {
      std::fprintf(stderr, "ondrel-bench-log: a call failed\n");
      return 1;
    }
  }
  const double withoutLog = median(plain);
  const double withLog = median(logged);
  std::printf("median microseconds per call over %d rounds of %d calls each:\n", rounds,
              2 * kCallsPerRound);
  std::printf("  without log   %8.1f\n  with log      %8.1f\n  the log costs %8.1f\n", withoutLog,
              withLog, withLog - withoutLog);
  std::filesystem::remove(log);
  return 0;
}
