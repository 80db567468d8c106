#ifndef ONDREL_PLUGIN_RESULT_CODE_H_
#define ONDREL_PLUGIN_RESULT_CODE_H_

namespace ondrel {

// What GetPictureInfo(W), GetPicture(W) and GetPreview(W) answer.
enum class ResultCode : int {
  kSuccess = 0,
  kNotAccepted = 2,          // not our input, too short, or read short for information
  kOutOfMemory = 4,          // a memory block could not be had
  kBitmapFailed = 5,         // a block would not lock, or the 24-bit bitmap was not made
  kReadOrCaptureFailed = 6,  // the file could not be read, or the capture gave no picture
};

// The number an exported function returns, and a host receives, for `code`.
constexpr int resultNumber(ResultCode code) { return static_cast<int>(code); }

}  // namespace ondrel

#endif  // ONDREL_PLUGIN_RESULT_CODE_H_
