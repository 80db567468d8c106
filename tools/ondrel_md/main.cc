// ondrel-md: converts a Markdown document to HTML with the converter that the
// plug-in uses, or with cmark-gfm as the GitHub-flavoured staging does, so its
// output can be checked and compared byte for byte.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <new>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "capture/staging/gfm/gfm_html.h"
#include "markdown/parser.h"
#include "markdown/parser_config.h"
#include "platform/standard_streams.h"
#include "tools/ondrel_md/command_line_options.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int fail(int status, const std::string& message) {
  std::cerr << "ondrel-md: " << message << '\n';
  return status;
}

std::shared_ptr<markdown::ParserConfig> makeConfig(const ondrel_md::CommandLineOptions& options) {
  if (options.noConfig) return nullptr;
  auto config = std::make_shared<markdown::ParserConfig>();
  if (options.parserMask) config->parserMask = *options.parserMask;
  if (options.noInlineHeadlines) config->inlineInHeadlines = false;
  return config;
}

// cmark-gfm takes the document whole, as the bytes the file holds.
std::string gfmHtmlOf(std::istream& input, bool github) {
  std::ostringstream bytes;
  bytes << input.rdbuf();
  return ondrel::gfmHtml(std::move(bytes).str(),
                         github ? ondrel::kDrawnGithubAdditions : ondrel::GithubAdditions{});
}

std::string convert(std::istream& input, const ondrel_md::CommandLineOptions& options) {
  if (options.gfm) return gfmHtmlOf(input, options.github);
  markdown::Parser parser(makeConfig(options));
  return parser.convert(input);
}

int convertStream(std::istream& input, const ondrel_md::CommandLineOptions& options) {
  const std::string html = convert(input, options);
  if (input.bad()) return fail(kExitUsage, "reading the input failed");
  std::cout.write(html.data(), static_cast<std::streamsize>(html.size()));
  std::cout.flush();
  if (!std::cout) return fail(kExitFailure, "writing the output failed");
  return 0;
}

int run(const ondrel_md::CommandLineOptions& options) {
  if (options.inputPath.empty() || options.inputPath == "-") {
    return convertStream(std::cin, options);
  }
  std::error_code ignored;
  if (std::filesystem::is_directory(options.inputPath, ignored)) {
    return fail(kExitUsage, "cannot read '" + options.inputPath + "': it is a directory");
  }
  std::ifstream file(options.inputPath, std::ios::binary);
  if (!file) return fail(kExitUsage, "cannot read '" + options.inputPath + "'");
  return convertStream(file, options);
}

}  // namespace

int main(int argc, char** argv) {
  ondrel::platform::setBinaryStandardStreams();
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  const ondrel_md::ParsedCommandLine parsed = ondrel_md::parseCommandLine(arguments);
  if (!parsed.error.empty()) {
    return fail(kExitUsage, parsed.error + " (see --help)");
  }
  if (parsed.options.help) {
    std::cout << ondrel_md::usageText();
    return 0;
  }
  try {
    return run(parsed.options);
  } catch (const std::bad_alloc&) {
    return fail(kExitFailure, "out of memory");
  } catch (const std::length_error&) {
    return fail(kExitFailure, "the document is too large");
  }
}
