#ifndef ONDREL_TOOLS_ONDREL_RENDER_PLUGIN_HOST_H_
#define ONDREL_TOOLS_ONDREL_RENDER_PLUGIN_HOST_H_

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/host_support.h"
#include "plugin/exports.h"
#include "tools/ondrel_render/picture_files.h"
#include "tools/ondrel_render/private_module_copy.h"

namespace ondrel_render {

// The plug-in module, loaded and called the way a picture viewer does it.
class PluginHost {
 public:
  // Loads the module at `modulePath`; with `settingsPath`, a private copy of
  // it beside that settings file instead. Nothing on failure, with the reason
  // in `error`.
  static std::optional<PluginHost> load(const ondrel::WideString& modulePath,
                                        const std::optional<ondrel::WideString>& settingsPath,
                                        std::string& error);

  PluginHost(PluginHost&&) = default;
  PluginHost& operator=(PluginHost&&) = delete;
  PluginHost(const PluginHost&) = delete;

  // The information text at `index` (1 is the plug-in's name).
  std::string information(int index) const;

  // IsSupportedW with the head of the file, zero-padded to the size viewers
  // pass.
  bool isSupported(const ondrel::WideString& fileName, std::span<const std::uint8_t> head) const;

  // GetPictureInfoW on the whole file; the result code.
  int pictureInfo(const ondrel::WideString& fileName, ondrel::PictureInfoRecord& record) const;

  // GetPictureW on the whole file, taking over and freeing the blocks it
  // hands back; the result code. Success with blocks that do not hold
  // a 24-bit bottom-up picture gives kMalformedPicture.
  int picture(const ondrel::WideString& fileName, Picture& picture) const;

  // The same two for a file's image in memory (flag 0x01), as viewers ask
  // for the documents inside archives.
  int pictureInfo(std::span<const std::uint8_t> image, ondrel::PictureInfoRecord& record) const;
  int picture(std::span<const std::uint8_t> image, Picture& picture) const;

  static constexpr int kMalformedPicture = -1;

 private:
  PluginHost() = default;

  // GetPictureW with `source` and the flags given, the picture taken over.
  int takePicture(const char16_t* source, std::intptr_t length, unsigned flags,
                  Picture& picture) const;

  // Declared first so that it goes last: the module is unloaded before its
  // private copy is deleted.
  std::optional<PrivateModuleCopy> privateCopy_;
  std::optional<ondrel::platform::DynamicLibrary> library_;
  ondrel::GetPluginInfoWFunction getPluginInfoW_ = nullptr;
  ondrel::IsSupportedWFunction isSupportedW_ = nullptr;
  ondrel::GetPictureInfoWFunction getPictureInfoW_ = nullptr;
  ondrel::GetPictureWFunction getPictureW_ = nullptr;
};

// How many bytes of a file's head a viewer hands to IsSupportedW.
inline constexpr std::size_t kHeadSize = 2048;

}  // namespace ondrel_render

#endif  // ONDREL_TOOLS_ONDREL_RENDER_PLUGIN_HOST_H_
