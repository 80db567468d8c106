#ifndef ONDREL_PLATFORM_WINDOWS_CHILD_PIPE_ENDS_H_
#define ONDREL_PLATFORM_WINDOWS_CHILD_PIPE_ENDS_H_

#include <windows.h>

namespace ondrel::platform {

// Borrowed, inheritable pipe handles; the child gets them as C-runtime
// descriptors 3 and 4 and inherits no other handle.
struct ChildPipeEnds {
  HANDLE readEnd;   // the child's descriptor 3
  HANDLE writeEnd;  // the child's descriptor 4
};

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_WINDOWS_CHILD_PIPE_ENDS_H_
