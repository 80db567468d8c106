#include "tools/ondrel_render/plugin_host.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/movable_block.h"
#include "platform/text_codec.h"
#include "plugin/bitmap_header.h"
#include "plugin/result_code.h"
#include "tools/plugin_host/entry_point.h"
#include "tools/plugin_host/handed_over_block.h"

namespace ondrel_render {
namespace {

using ondrel::WideString;
using ondrel_host::HandedOverBlock;
namespace platform = ondrel::platform;

constexpr int kInformationCapacity = 1024;

// The low bits of a picture call's flags: a file by name, or its image in memory.
constexpr unsigned kFileInput = 0x00;
constexpr unsigned kMemoryInput = 0x01;

// In memory mode the name parameter carries the image's address.
const char16_t* memorySource(std::span<const std::uint8_t> image) {
  return reinterpret_cast<const char16_t*>(image.data());
}

template <typename Function>
bool lookUp(const platform::DynamicLibrary& library, const char* name, Function& function,
            std::string& error) {
  function = ondrel_host::entryPoint<Function>(library, name);
  if (function == nullptr) error = std::string("the module does not export ") + name;
  return function != nullptr;
}

// IsSupportedW takes a value whose bits 16 to 31 are all zero for an open
// file handle and anything else for a pointer to the head, so the head must
// never start at an address that looks like a handle. Within 64 KiB of any
// address there is one that does not.
class HeadBuffer {
 public:
  explicit HeadBuffer(std::span<const std::uint8_t> head) : storage_(kHeadSize + 0x10000) {
    std::uintptr_t address = std::uintptr_t(storage_.data());
    std::size_t offset = 0;
    if (((address >> 16) & 0xFFFF) == 0) offset = 0x10000 - (address & 0xFFFF);
    start_ = storage_.data() + offset;
    std::copy_n(head.begin(), std::min(head.size(), kHeadSize), start_);
  }

  std::uintptr_t pointer() const { return std::uintptr_t(start_); }

 private:
  std::vector<std::uint8_t> storage_;  // zero-filled, so a short head is padded
  std::uint8_t* start_;
};

bool readHeader(const HandedOverBlock& block, ondrel::BitmapInfoHeader& header) {
  const std::optional<std::vector<std::uint8_t>> bytes = block.read(sizeof header);
  if (!bytes) return false;
  std::memcpy(&header, bytes->data(), sizeof header);
  return true;
}

// Only an uncompressed 24-bit picture with rows bottom-up is what a viewer
// asked for.
bool isBottomUp24Bit(const ondrel::BitmapInfoHeader& header) {
  return header.size == sizeof header && header.width > 0 && header.height > 0 &&
         header.planes == 1 && header.bitCount == 24 && header.compression == 0;
}

bool readRows(const HandedOverBlock& block, Picture& picture) {
  std::optional<std::vector<std::uint8_t>> rows =
      block.read(picture.stride() * std::size_t(picture.height));
  if (!rows) return false;
  picture.rows = std::move(*rows);
  return true;
}

bool takeOver(const HandedOverBlock& headerBlock, const HandedOverBlock& pixelBlock,
              Picture& picture) {
  ondrel::BitmapInfoHeader header;
  if (!readHeader(headerBlock, header) || !isBottomUp24Bit(header)) return false;
  picture.width = header.width;
  picture.height = header.height;
  return readRows(pixelBlock, picture);
}

}  // namespace

std::optional<PluginHost> PluginHost::load(const WideString& modulePath,
                                           const std::optional<WideString>& settingsPath,
                                           std::string& error) {
  PluginHost host;
  WideString loadedPath = modulePath;
  if (settingsPath) {
    std::optional<PrivateModuleCopy> copy = PrivateModuleCopy::make(modulePath, *settingsPath);
    if (!copy) {
      error = "cannot copy the module and the settings file into a temporary folder";
      return std::nullopt;
    }
    host.privateCopy_.emplace(std::move(*copy));
    loadedPath = host.privateCopy_->modulePath();
  }
  host.library_ = platform::DynamicLibrary::open(loadedPath);
  if (!host.library_) {
    error = "cannot load the module: " + platform::DynamicLibrary::lastError();
    return std::nullopt;
  }
  const platform::DynamicLibrary& library = *host.library_;
  if (!lookUp(library, "GetPluginInfoW", host.getPluginInfoW_, error) ||
      !lookUp(library, "IsSupportedW", host.isSupportedW_, error) ||
      !lookUp(library, "GetPictureInfoW", host.getPictureInfoW_, error) ||
      !lookUp(library, "GetPictureW", host.getPictureW_, error)) {
    return std::nullopt;
  }
  return host;
}

std::string PluginHost::information(int index) const {
  char16_t buffer[kInformationCapacity] = {};
  const int length = getPluginInfoW_(index, buffer, kInformationCapacity);
  const std::size_t shown = std::size_t(std::clamp(length, 0, kInformationCapacity - 1));
  return platform::wideToAnsi(ondrel::WideView(buffer, shown));
}

bool PluginHost::isSupported(const WideString& fileName, std::span<const std::uint8_t> head) const {
  const HeadBuffer buffer(head);
  return isSupportedW_(fileName.c_str(), buffer.pointer()) != 0;
}

int PluginHost::pictureInfo(const WideString& fileName, ondrel::PictureInfoRecord& record) const {
  return getPictureInfoW_(fileName.c_str(), 0, 0, &record);
}

int PluginHost::picture(const WideString& fileName, Picture& picture) const {
  return takePicture(fileName.c_str(), 0, kFileInput, picture);
}

int PluginHost::pictureInfo(std::span<const std::uint8_t> image,
                            ondrel::PictureInfoRecord& record) const {
  return getPictureInfoW_(memorySource(image), std::intptr_t(image.size()), kMemoryInput, &record);
}

int PluginHost::picture(std::span<const std::uint8_t> image, Picture& picture) const {
  return takePicture(memorySource(image), std::intptr_t(image.size()), kMemoryInput, picture);
}

int PluginHost::takePicture(const char16_t* source, std::intptr_t length, unsigned flags,
                            Picture& picture) const {
  platform::BlockHandle header = nullptr;
  platform::BlockHandle pixels = nullptr;
  const int result = getPictureW_(source, length, flags, &header, &pixels, nullptr, 0);
  // After a failure the handles are not the viewer's to free.
  if (result != ondrel::resultNumber(ondrel::ResultCode::kSuccess)) return result;
  const HandedOverBlock headerBlock(header);
  const HandedOverBlock pixelBlock(pixels);
  return takeOver(headerBlock, pixelBlock, picture)
             ? ondrel::resultNumber(ondrel::ResultCode::kSuccess)
             : kMalformedPicture;
}

}  // namespace ondrel_render
