#include "platform/standard_streams.h"

#include <fcntl.h>
#include <io.h>
#include <stdio.h>

namespace ondrel::platform {

void setBinaryStandardStreams() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
}

}  // namespace ondrel::platform
