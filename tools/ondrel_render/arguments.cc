#include "tools/ondrel_render/arguments.h"

#include <cstddef>
#include <string_view>

namespace ondrel_render {
namespace {

constexpr const char* kUsage =
    "Usage: ondrel-render [OPTIONS] INPUT OUTPUT\n"
    "\n"
    "Shows INPUT (.html, .htm, .md or .svg) to the ondrel plug-in the way a picture\n"
    "viewer does and writes the picture it hands back to OUTPUT: a PNG file when\n"
    "the name ends in .png, a BMP file when it ends in .bmp.\n"
    "\n"
    "Options:\n"
    "  --ini FILE       use FILE as the plug-in's settings instead of the .ini file\n"
    "                   beside the module (the module is run from a private copy)\n"
    "  --plugin MODULE  load MODULE instead of the plug-in beside this program\n"
    "                   (or, when there is none, the one of its build)\n"
    "  -v, --verbose    also tell which plug-in was loaded and the picture's size\n"
    "  -h, --help       show this text\n"
    "\n"
    "Exit status: 0 when the picture was written, 1 when the plug-in refused the\n"
    "file, gave no picture or the input or output could not be used, 2 for a\n"
    "command line that is not valid.\n";

// The options that take a file name, as "--ini FILE" or "--ini=FILE".
struct ValueOption {
  std::string_view name;
  std::optional<std::string> RenderOptions::*field;
};

constexpr ValueOption kValueOptions[] = {
    {"--ini", &RenderOptions::settingsPath},
    {"--plugin", &RenderOptions::modulePath},
};

struct ValueOptionMatch {
  const ValueOption* option;
  std::optional<std::string> attachedValue;  // the part after "="
};

std::optional<ValueOptionMatch> matchValueOption(std::string_view argument) {
  for (const ValueOption& option : kValueOptions) {
    if (argument == option.name) return ValueOptionMatch{&option, std::nullopt};
    if (argument.size() > option.name.size() && argument.starts_with(option.name) &&
        argument[option.name.size()] == '=') {
      return ValueOptionMatch{&option, std::string(argument.substr(option.name.size() + 1))};
    }
  }
  return std::nullopt;
}

// Stores the option's value, taken from the next argument unless attached,
// moving `i` past what was used.
std::string storeValue(const ValueOptionMatch& match, const std::vector<std::string>& arguments,
                       std::size_t& i, RenderOptions& options) {
  const std::string name(match.option->name);
  std::optional<std::string> value = match.attachedValue;
  if (!value) {
    if (i + 1 == arguments.size()) return name + " needs a file name";
    value = arguments[++i];
  }
  if (value->empty()) return name + " needs a file name";
  std::optional<std::string>& field = options.*match.option->field;
  if (field) return name + " may be given only once";
  field = std::move(value);
  return {};
}

std::string takeOperand(const std::string& argument, std::vector<std::string>& operands) {
  if (argument.empty()) return "empty file name";
  if (operands.size() == 2) return "more than two file names given";
  operands.push_back(argument);
  return {};
}

std::string checkOperands(const std::vector<std::string>& operands, RenderOptions& options) {
  if (operands.size() < 2) {
    return operands.empty() ? "missing INPUT and OUTPUT" : "missing OUTPUT";
  }
  options.inputPath = operands[0];
  options.outputPath = operands[1];
  const std::optional<PictureFormat> format = pictureFormatFor(options.outputPath);
  if (!format) return "OUTPUT must end in .png or .bmp: '" + options.outputPath + "'";
  options.outputFormat = *format;
  return {};
}

}  // namespace

ParsedArguments parseArguments(const std::vector<std::string>& arguments) {
  ParsedArguments parsed;
  RenderOptions& options = parsed.options;
  std::vector<std::string> operands;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    std::string error;
    if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
      error = takeOperand(argument, operands);
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--verbose" || argument == "-v") {
      options.verbose = true;
    } else if (const std::optional<ValueOptionMatch> match = matchValueOption(argument)) {
      error = storeValue(*match, arguments, i, options);
    } else {
      error = "unknown option '" + argument + "'";
    }
    if (!error.empty()) return {{}, error};
  }
  if (options.help) return parsed;
  if (std::string error = checkOperands(operands, options); !error.empty()) return {{}, error};
  return parsed;
}

const char* usageText() { return kUsage; }

}  // namespace ondrel_render
