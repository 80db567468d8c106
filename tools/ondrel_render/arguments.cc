#include "tools/ondrel_render/arguments.h"

#include <charconv>
#include <cstddef>
#include <filesystem>
#include <set>
#include <string_view>

namespace ondrel_render {
namespace {

constexpr const char* kUsage =
    "Usage: ondrel-render [OPTIONS] INPUT OUTPUT [INPUT OUTPUT ...]\n"
    "       ondrel-render [OPTIONS] --out-dir FOLDER INPUT...\n"
    "       ondrel-render --check [--ini FILE] [--plugin MODULE]\n"
    "\n"
    "Shows each INPUT (.html, .htm, .md or .svg) to the ondrel plug-in the way a\n"
    "picture viewer does and writes the picture it hands back to its OUTPUT: a PNG\n"
    "file when the name ends in .png, a BMP file when it ends in .bmp. With\n"
    "--out-dir each picture goes into FOLDER as a PNG file named after its input\n"
    "(page.html gives FOLDER/page.png). The plug-in is loaded once for all files,\n"
    "so a browser it keeps running serves them all; with more than three files\n"
    "each one's time is shown on standard error.\n"
    "\n"
    "With --check it tells in plain words whether the plug-in will work: its\n"
    "settings as it reads them (FILE, else the .ini file beside the module) with\n"
    "keys it does not know, whether the browser exists and its version, and how a\n"
    "built-in HTML page and Markdown document come out with the configured engine,\n"
    "how long each took and whether their colours are right. On Windows, run\n"
    "'ondrel-render.exe --check' in the plug-in's folder.\n"
    "\n"
    "Options:\n"
    "  --ini FILE       use FILE as the plug-in's settings instead of the .ini file\n"
    "                   beside the module (the module is run from a private copy)\n"
    "  --plugin MODULE  load MODULE instead of the plug-in beside this program\n"
    "                   (or, when there is none, the one of its build)\n"
    "  --out-dir FOLDER write every picture into FOLDER, named after its input\n"
    "  --memory         hand each file over as a memory image, without its name, as\n"
    "                   viewers hand over documents inside archives (IsSupportedW\n"
    "                   with the file's name and first bytes, then GetPictureInfoW\n"
    "                   and GetPictureW with flag 0x01); the plug-in takes them only\n"
    "                   with memoryImages=ON in its settings\n"
    "  --jobs N         render the files from N threads at once (1 to 64), all through\n"
    "                   the one loaded plug-in, as a viewer making thumbnails does;\n"
    "                   the plug-in draws up to its 'parallel' setting of them at once\n"
    "  --pause MS       wait MS milliseconds (0 to 600000) before each picture but a\n"
    "                   thread's first, as a person looking at each picture would\n"
    "  -v, --verbose    also tell which plug-in was loaded and each picture's size\n"
    "  --check          check the settings, the browser and two test pictures\n"
    "  -h, --help       show this text\n"
    "\n"
    "A file that fails is reported in one line and the others still go.\n"
    "Exit status: 0 when every picture was written, 1 when the plug-in refused a\n"
    "file, gave no picture or an input or output could not be used, 2 for a\n"
    "command line that is not valid. With --check: 0 when everything works, 1\n"
    "otherwise, and then the last line says what to change.\n";

// The options that take a value, as "--ini FILE" or "--ini=FILE": a name,
// or a whole number within bounds.
struct ValueOption {
  std::string_view name;
  std::string_view valueKind;
  std::optional<std::string> RenderOptions::*field = nullptr;
  int RenderOptions::*number = nullptr;
  int least = 0;
  int most = 0;
};

constexpr ValueOption kValueOptions[] = {
    {"--ini", "a file name", &RenderOptions::settingsPath},
    {"--plugin", "a file name", &RenderOptions::modulePath},
    {"--out-dir", "a folder name", &RenderOptions::outputFolder},
    {"--jobs", "a number of threads from 1 to 64", nullptr, &RenderOptions::threads, 1,
     kMostThreads},
    {"--pause", "milliseconds from 0 to 600000", nullptr, &RenderOptions::pauseMilliseconds, 0,
     kLongestPauseMilliseconds},
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

// A whole number written in decimal digits alone, within the option's bounds.
std::optional<int> boundedNumber(const std::string& text, const ValueOption& option) {
  int number = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, number);
  if (text.empty() || text[0] == '-' || text[0] == '+' || error != std::errc() || stop != end) {
    return std::nullopt;
  }
  if (number < option.least || number > option.most) return std::nullopt;
  return number;
}

// Stores the option's value, taken from the next argument unless attached,
// moving `i` past what was used. Each option may be given once.
std::string storeValue(const ValueOptionMatch& match, const std::vector<std::string>& arguments,
                       std::size_t& i, RenderOptions& options, std::set<std::string>& given) {
  const ValueOption& option = *match.option;
  const std::string name(option.name);
  const std::string needsValue = name + " needs " + std::string(option.valueKind);
  std::optional<std::string> value = match.attachedValue;
  if (!value) {
    if (i + 1 == arguments.size()) return needsValue;
    value = arguments[++i];
  }
  if (value->empty()) return needsValue;
  if (!given.insert(name).second) return name + " may be given only once";
  if (option.field != nullptr) {
    options.*option.field = std::move(value);
    return {};
  }
  const std::optional<int> number = boundedNumber(*value, option);
  if (!number) return needsValue + ", not '" + *value + "'";
  options.*option.number = *number;
  return {};
}

std::string takeOperand(const std::string& argument, std::vector<std::string>& operands) {
  if (argument.empty()) return "empty file name";
  operands.push_back(argument);
  return {};
}

// INPUT OUTPUT pairs.
std::string pairJobs(const std::vector<std::string>& operands, std::vector<RenderJob>& jobs) {
  if (operands.size() < 2) {
    return operands.empty() ? "missing INPUT and OUTPUT" : "missing OUTPUT";
  }
  if (operands.size() % 2 != 0) return "missing OUTPUT for '" + operands.back() + "'";
  for (std::size_t i = 0; i < operands.size(); i += 2) {
    const std::optional<PictureFormat> format = pictureFormatFor(operands[i + 1]);
    if (!format) return "OUTPUT must end in .png or .bmp: '" + operands[i + 1] + "'";
    jobs.push_back({operands[i], operands[i + 1], *format});
  }
  return {};
}

// Inputs whose pictures go into `folder`, each named after its input.
std::string folderJobs(const std::vector<std::string>& operands, const std::string& folder,
                       std::vector<RenderJob>& jobs) {
  if (operands.empty()) return "missing INPUT";
  std::set<std::string> outputs;
  for (const std::string& input : operands) {
    std::filesystem::path name = std::filesystem::path(input).filename();
    if (name.empty()) return "INPUT names no file: '" + input + "'";
    const std::string output =
        (std::filesystem::path(folder) / name.replace_extension(".png")).string();
    if (!outputs.insert(output).second) {
      return "two inputs would both be written to '" + output + "'";
    }
    jobs.push_back({input, output, PictureFormat::kPng});
  }
  return {};
}

std::string checkOperands(const std::vector<std::string>& operands, RenderOptions& options) {
  return options.outputFolder ? folderJobs(operands, *options.outputFolder, options.jobs)
                              : pairJobs(operands, options.jobs);
}

}  // namespace

ParsedArguments parseArguments(const std::vector<std::string>& arguments) {
  ParsedArguments parsed;
  RenderOptions& options = parsed.options;
  std::vector<std::string> operands;
  std::set<std::string> given;  // the value options seen
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
    } else if (argument == "--check") {
      options.check = true;
    } else if (argument == "--memory") {
      options.memory = true;
    } else if (const std::optional<ValueOptionMatch> match = matchValueOption(argument)) {
      error = storeValue(*match, arguments, i, options, given);
    } else {
      error = "unknown option '" + argument + "'";
    }
    if (!error.empty()) return {{}, error};
  }
  if (options.help) return parsed;
  if (options.check) {
    if (!operands.empty() || options.outputFolder || options.memory || given.contains("--jobs") ||
        given.contains("--pause")) {
      return {{}, "--check takes no INPUT, OUTPUT, --memory, --jobs or --pause"};
    }
    return parsed;
  }
  if (std::string error = checkOperands(operands, options); !error.empty()) return {{}, error};
  return parsed;
}

const char* usageText() { return kUsage; }

}  // namespace ondrel_render
