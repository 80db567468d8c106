#include "platform/screenshot_bitmap.h"

#include <wincodec.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <optional>

#include "platform/files.h"
#include "platform/png_headers.h"
#include "platform/screenshot_limit.h"
#include "platform/unique_handle.h"
#include "platform/windows/com_reference.h"
#include "platform/windows/native_text.h"

namespace ondrel::platform {
namespace {

struct BitmapTraits {
  using Native = HBITMAP;
  static Native invalid() { return nullptr; }
  static void close(Native bitmap) { DeleteObject(bitmap); }
};

class DibScreenshot final : public ScreenshotBitmap {
 public:
  DibScreenshot(HBITMAP bitmap, const std::uint8_t* pixels, int width, int height)
      : bitmap_(bitmap), pixels_(pixels), width_(width), height_(height) {}
  int width() const override { return width_; }
  int height() const override { return height_; }
  const std::uint8_t* pixels() const override { return pixels_; }

 private:
  UniqueHandle<BitmapTraits> bitmap_;
  const std::uint8_t* pixels_;
  int width_;
  int height_;
};

BITMAPINFOHEADER topDown32BitHeader(UINT width, UINT height) {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = LONG(width);
  header.biHeight = -LONG(height);
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  return header;
}

// The decoded frame as a 32-bit blue-green-red-alpha source, or nothing.
bool openBgraSource(const WideString& path, IWICImagingFactory* factory,
                    ComReference<IWICBitmapDecoder>& decoder,
                    ComReference<IWICBitmapFrameDecode>& frame,
                    ComReference<IWICFormatConverter>& converter,
                    ComReference<IWICBitmapSource>& source) {
  if (FAILED(factory->CreateDecoderFromFilename(native(path), nullptr, GENERIC_READ,
                                                WICDecodeMetadataCacheOnDemand, decoder.out())) ||
      FAILED(decoder->GetFrame(0, frame.out())) ||
      FAILED(factory->CreateFormatConverter(converter.out())) ||
      FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA,
                                   WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom)) ||
      FAILED(converter->QueryInterface(IID_IWICBitmapSource, outVoid(source)))) {
    return false;
  }
  WICPixelFormatGUID format{};
  return SUCCEEDED(source->GetPixelFormat(&format)) &&
         std::memcmp(&format, &GUID_WICPixelFormat32bppBGRA, sizeof format) == 0;
}

// WIC trusts what a PNG declares: wine's decoder decodes the whole declared
// image when the decoder is made, before any rectangle is asked for, and
// reserves a chunk's declared length before reading it (1.1 GB for a 318-byte
// file). So the declared size must fit the capture and every chunk must lie
// within the file before WIC opens it.
bool declaresFittingScreenshot(const WideString& path, int maxWidth, int maxHeight) {
  std::optional<ReadableFile> file = ReadableFile::open(path);
  std::array<std::uint8_t, kDeclaredPngSizeBytes> start{};
  if (!file || file->read(start.data(), start.size()) != start.size()) return false;
  const std::optional<DeclaredPngSize> size = declaredPngSize(start);
  return size && screenshotFitsCapture(size->width, size->height, maxWidth, maxHeight) &&
         pngChunksFitFile(*file);
}

}  // namespace

std::unique_ptr<ScreenshotBitmap> decodePngFile(const WideString& path, int maxWidth,
                                                int maxHeight) {
  if (maxWidth <= 0 || maxHeight <= 0 || !declaresFittingScreenshot(path, maxWidth, maxHeight)) {
    return nullptr;
  }
  // Declared in reverse order of release: the source goes first, the factory last.
  ComReference<IWICImagingFactory> factory;
  ComReference<IWICBitmapDecoder> decoder;
  ComReference<IWICBitmapFrameDecode> frame;
  ComReference<IWICFormatConverter> converter;
  ComReference<IWICBitmapSource> source;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory2, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory, outVoid(factory))) ||
      !openBgraSource(path, factory.get(), decoder, frame, converter, source)) {
    return nullptr;
  }
  UINT width = 0;
  UINT height = 0;
  if (FAILED(source->GetSize(&width, &height)) || width == 0 || height == 0) return nullptr;
  const UINT keptWidth = std::min(width, UINT(maxWidth));
  const UINT keptHeight = std::min(height, UINT(maxHeight));
  const std::uint64_t bytes = std::uint64_t(keptWidth) * keptHeight * 4;
  if (bytes > std::numeric_limits<UINT>::max()) return nullptr;

  const BITMAPINFOHEADER header = topDown32BitHeader(keptWidth, keptHeight);
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&header),
                                    DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (bitmap == nullptr) return nullptr;
  auto screenshot = std::make_unique<DibScreenshot>(bitmap, static_cast<std::uint8_t*>(pixels),
                                                    int(keptWidth), int(keptHeight));
  // Only the kept rectangle is asked for. A failed copy leaves the bitmap as
  // it was made; it is returned all the same.
  const WICRect kept{0, 0, INT(keptWidth), INT(keptHeight)};
  source->CopyPixels(&kept, keptWidth * 4, UINT(bytes), static_cast<BYTE*>(pixels));
  return screenshot;
}

}  // namespace ondrel::platform
