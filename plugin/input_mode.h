#ifndef ONDREL_PLUGIN_INPUT_MODE_H_
#define ONDREL_PLUGIN_INPUT_MODE_H_

namespace ondrel {

// The low three bits of a picture call's flags choose its input: 0 names a
// file, anything else passes the file's image in memory. Other bits are ignored.
inline bool isFileMode(unsigned flags) { return (flags & 0x7u) == 0; }

}  // namespace ondrel

#endif  // ONDREL_PLUGIN_INPUT_MODE_H_
