#ifndef ONDREL_PLATFORM_STANDARD_STREAMS_H_
#define ONDREL_PLATFORM_STANDARD_STREAMS_H_

namespace ondrel::platform {

// Puts standard input and output into binary mode where the C runtime would
// otherwise translate line ends and stop at a 0x1A byte.
void setBinaryStandardStreams();

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_STANDARD_STREAMS_H_
