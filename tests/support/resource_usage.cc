#include "tests/support/resource_usage.h"

namespace ondrel::test {

std::ostream& operator<<(std::ostream& out, const ResourceUsage& usage) {
  out << usage.handles << " handles, " << usage.childProcesses << " child processes, "
      << usage.memoryBytes << " bytes of memory, ";
  if (usage.gdiObjects) {
    out << *usage.gdiObjects << " GDI objects";
  } else {
    out << "GDI objects not counted";
  }
  return out;
}

}  // namespace ondrel::test
