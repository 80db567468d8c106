// md4c-render: md4c's own HTML renderer and nothing else, for the Markdown benchmark and the
// check that ondrel-md --gfm prints exactly what it does. Reads FILE (or standard input) as
// bytes and writes md_html(..., MD_DIALECT_GITHUB, 0) to standard output. Debian ships no
// md4c command, so this stands in for upstream's md2html.

#include <md4c-html.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <limits>
#include <string>

namespace {

void writeOut(const MD_CHAR* text, MD_SIZE size, void*) { std::fwrite(text, 1, size, stdout); }

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2) {
    std::cerr << "usage: md4c-render [FILE]\n";
    return 2;
  }
  std::ifstream file;
  if (argc == 2) file.open(argv[1], std::ios::binary);
  std::istream& input = argc == 2 ? file : std::cin;
  if (!input) {
    std::cerr << "md4c-render: cannot read " << argv[1] << '\n';
    return 2;
  }
  const std::string markdown(std::istreambuf_iterator<char>(input), {});
  if (markdown.size() > std::numeric_limits<MD_SIZE>::max()) return 1;
  const int status = md_html(markdown.data(), static_cast<MD_SIZE>(markdown.size()), writeOut,
                             nullptr, MD_DIALECT_GITHUB, 0);
  return status == 0 && std::fflush(stdout) == 0 ? 0 : 1;
}
