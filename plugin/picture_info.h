#ifndef ONDREL_PLUGIN_PICTURE_INFO_H_
#define ONDREL_PLUGIN_PICTURE_INFO_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "plugin/result_code.h"
#include "plugin/settings.h"

namespace ondrel {

// The picture-information record the viewer passes in; its layout is part of
// the interface (natural alignment, 32 bytes on 64-bit platforms).
struct PictureInfoRecord {
  std::int32_t left;
  std::int32_t top;
  std::int32_t pixelWidth;
  std::int32_t pixelHeight;
  std::uint16_t densityX;
  std::uint16_t densityY;
  std::int16_t bitsPerPixel;
  void* textHandle;
};
static_assert(sizeof(void*) != 8 || sizeof(PictureInfoRecord) == 32);
static_assert(sizeof(void*) != 8 || offsetof(PictureInfoRecord, textHandle) == 24);
static_assert(offsetof(PictureInfoRecord, pixelWidth) == 8);
static_assert(offsetof(PictureInfoRecord, densityX) == 16);
static_assert(offsetof(PictureInfoRecord, bitsPerPixel) == 20);

// Fills `info` with the size the picture of this input will have: the
// settings' capture size, or an SVG drawing's own, in device pixels at the
// settings' scale. A memory image is the page its bytes show when the
// settings take memory images (memoryImageName; kNotAccepted when not this
// one); else, having no name, it counts as an SVG drawing while SVG drawings
// are on. For a whole page (DevTools engine, fullPage) of a named file or a
// taken memory image the page is laid out to learn its height; that failing
// gives kReadOrCaptureFailed, a width the viewer's blocks cannot hold
// kOutOfMemory, and `info` is then left alone. Only the fields of the record
// are written, never its alignment gap. `report`, when given, hears why a
// whole page could not be measured or a memory image was not taken.
ResultCode describePicture(const SettingsSource& settings, std::optional<WideView> fileName,
                           std::span<const std::uint8_t> imageBytes, PictureInfoRecord& info,
                           CaptureReport* report = nullptr);

}  // namespace ondrel

#endif  // ONDREL_PLUGIN_PICTURE_INFO_H_
