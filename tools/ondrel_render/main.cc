// ondrel-render: a picture viewer on the command line. It loads the ondrel
// plug-in as a viewer does and writes the picture it hands back to a PNG or
// BMP file.

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "tools/ondrel_render/arguments.h"
#include "tools/ondrel_render/module_location.h"
#include "tools/ondrel_render/render_command.h"
#include "tools/ondrel_render/setup_check.h"

int main(int argc, char** argv) {
  using namespace ondrel_render;
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  const ParsedArguments parsed = parseArguments(arguments);
  if (!parsed.error.empty()) {
    std::cerr << "ondrel-render: " << parsed.error << "\nTry 'ondrel-render --help'.\n";
    return kExitUsage;
  }
  if (parsed.options.help) {
    std::cout << usageText();
    return kExitRendered;
  }
  try {
    if (parsed.options.check) return checkSetup(parsed.options, defaultModulePath(), std::cout);
    return renderFiles(parsed.options, defaultModulePath(), std::cout, std::cerr);
  } catch (const std::exception& error) {
    std::cerr << "ondrel-render: " << error.what() << '\n';
    return kExitFailed;
  }
}
