#include "tools/ondrel_md/command_line_options.h"

#include <cstddef>

#include "markdown/parser_config.h"

namespace ondrel_md {
namespace {

int hexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// One to eight hexadecimal digits, with or without "0x".
std::optional<std::uint32_t> parseHexMask(std::string text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.erase(0, 2);
  }
  if (text.empty() || text.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : text) {
    const int digit = hexDigitValue(c);
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return value;
}

std::string checkCombination(const CommandLineOptions& options) {
  if (options.noConfig && (options.parserMask || options.noInlineHeadlines)) {
    return "--no-config cannot be combined with --staging, --mask or --no-inline-headlines";
  }
  // The built-in converter's configuration means nothing to cmark-gfm.
  if (options.gfm && (options.noConfig || options.parserMask || options.noInlineHeadlines)) {
    return "--gfm cannot be combined with --staging, --mask, --no-config or "
           "--no-inline-headlines";
  }
  if (options.github && !options.gfm) return "--github needs --gfm";
  return {};
}

}  // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments) {
  ParsedCommandLine parsed;
  CommandLineOptions& options = parsed.options;
  bool maskGiven = false;
  bool inputGiven = false;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const bool isOption = !optionsEnded && argument.size() > 1 && argument[0] == '-';
    if (!isOption) {
      if (argument.empty()) return {{}, "empty file name"};
      if (inputGiven) return {{}, "more than one input file given"};
      options.inputPath = argument;
      inputGiven = true;
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--gfm") {
      options.gfm = true;
    } else if (argument == "--github") {
      options.github = true;
    } else if (argument == "--no-config") {
      options.noConfig = true;
    } else if (argument == "--no-inline-headlines") {
      options.noInlineHeadlines = true;
    } else if (argument == "--staging" || argument == "--mask") {
      if (maskGiven) return {{}, "--staging and --mask may be given only once, and not together"};
      maskGiven = true;
      if (argument == "--staging") {
        options.parserMask = markdown::kStagingParserMask;
        continue;
      }
      if (i + 1 == arguments.size()) return {{}, "--mask needs a hexadecimal value"};
      options.parserMask = parseHexMask(arguments[++i]);
      if (!options.parserMask) return {{}, "invalid --mask value '" + arguments[i] + "'"};
    } else {
      return {{}, "unknown option '" + argument + "'"};
    }
  }
  parsed.error = checkCombination(options);
  return parsed;
}

const char* usageText() {
  return "Usage: ondrel-md [OPTIONS] [FILE]\n"
         "Converts the Markdown document FILE (standard input when FILE is missing or \"-\")\n"
         "to HTML on standard output. Bytes are read and written unchanged.\n"
         "\n"
         "Options:\n"
         "  --gfm                  convert as GitHub-flavoured Markdown with cmark-gfm,\n"
         "                         exactly as \"cmark-gfm --unsafe -e table\n"
         "                         -e strikethrough -e autolink -e tasklist -e tagfilter\n"
         "                         -e footnotes\" does; takes none of the options below\n"
         "  --github               with --gfm: alerts, front matter and $math$ as GitHub\n"
         "                         shows them, the body of a markdown=GFM page with\n"
         "                         markdownDrawing=ON without its frame, style and scripts\n"
         "  --staging              convert as Markdown staging does: raw HTML on,\n"
         "                         underscore emphasis off (mask 3FFF7)\n"
         "  --mask HEX             use HEX as the parser mask (default 3FFBF)\n"
         "  --no-config            convert without a configuration: every kind but\n"
         "                         LaTeX and raw HTML blocks\n"
         "  --no-inline-headlines  no inline formatting in headlines\n"
         "  --help                 show this text\n"
         "\n"
         "Exit status: 0 on success, 1 when the output cannot be written,\n"
         "2 for an invalid command line or an unreadable file.\n";
}

}  // namespace ondrel_md
