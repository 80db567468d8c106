#include "platform/standard_streams.h"

namespace ondrel::platform {

// Standard streams carry bytes unchanged here.
void setBinaryStandardStreams() {}

}  // namespace ondrel::platform
