#ifndef ONDREL_TOOLS_ONDREL_MD_COMMAND_LINE_OPTIONS_H_
#define ONDREL_TOOLS_ONDREL_MD_COMMAND_LINE_OPTIONS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ondrel_md {

// What the command line of ondrel-md asks for.
struct CommandLineOptions {
  bool help = false;
  bool gfm = false;                         // cmark-gfm's GitHub-flavoured HTML instead
  bool github = false;                      // with --gfm: alerts and front matter on top
  bool noConfig = false;                    // convert with an empty configuration pointer
  bool noInlineHeadlines = false;           // inlineInHeadlines false
  std::optional<std::uint32_t> parserMask;  // --staging or --mask; default mask when empty
  std::string inputPath;                    // empty or "-": standard input
};

// The outcome of parsing: the options, or a one-line reason why the command
// line is not valid.
struct ParsedCommandLine {
  CommandLineOptions options;
  std::string error;
};

// Parses the arguments after the program name.
ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The text printed for --help.
const char* usageText();

}  // namespace ondrel_md

#endif  // ONDREL_TOOLS_ONDREL_MD_COMMAND_LINE_OPTIONS_H_
