#ifndef ONDREL_PLATFORM_POSIX_CHILD_PIPE_ENDS_H_
#define ONDREL_PLATFORM_POSIX_CHILD_PIPE_ENDS_H_

namespace ondrel::platform {

// Borrowed descriptors, both above 4, so that placing one at 3 or 4 never
// overwrites the other before it is placed.
struct ChildPipeEnds {
  int readEnd;   // becomes the child's descriptor 3
  int writeEnd;  // becomes the child's descriptor 4
};

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_POSIX_CHILD_PIPE_ENDS_H_
