#include "platform/png_encoder.h"

#include <wincodec.h>

#include <cstring>
#include <limits>

#include "platform/windows/com_reference.h"
#include "platform/windows/native_text.h"

namespace ondrel::platform {
namespace {

// Hands the rows to the frame top row first, as the encoder wants them.
bool writeRows(IWICBitmapFrameEncode* frame, int height, const std::uint8_t* bgrBottomUpRows,
               std::size_t stride) {
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = bgrBottomUpRows + std::size_t(height - 1 - y) * stride;
    if (FAILED(frame->WritePixels(1, UINT(stride), UINT(stride), const_cast<BYTE*>(row)))) {
      return false;
    }
  }
  return true;
}

bool encodeFrame(IWICBitmapEncoder* encoder, int width, int height,
                 const std::uint8_t* bgrBottomUpRows, std::size_t stride) {
  ComReference<IWICBitmapFrameEncode> frame;
  if (FAILED(encoder->CreateNewFrame(frame.out(), nullptr)) || FAILED(frame->Initialize(nullptr)) ||
      FAILED(frame->SetSize(UINT(width), UINT(height)))) {
    return false;
  }
  // The encoder may offer a format of its own; only the one the rows have will do.
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  if (FAILED(frame->SetPixelFormat(&format)) ||
      std::memcmp(&format, &GUID_WICPixelFormat24bppBGR, sizeof format) != 0) {
    return false;
  }
  return writeRows(frame.get(), height, bgrBottomUpRows, stride) && SUCCEEDED(frame->Commit());
}

}  // namespace

bool writePngFile(const WideString& path, int width, int height,
                  const std::uint8_t* bgrBottomUpRows, std::size_t stride) {
  if (width <= 0 || height <= 0 || stride < std::size_t(width) * 3 ||
      stride > std::numeric_limits<UINT>::max()) {
    return false;
  }
  ComReference<IWICImagingFactory> factory;
  ComReference<IWICStream> stream;
  ComReference<IWICBitmapEncoder> encoder;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory2, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory, outVoid(factory))) ||
      FAILED(factory->CreateStream(stream.out())) ||
      FAILED(stream->InitializeFromFilename(native(path), GENERIC_WRITE)) ||
      FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.out())) ||
      FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache))) {
    return false;
  }
  return encodeFrame(encoder.get(), width, height, bgrBottomUpRows, stride) &&
         SUCCEEDED(encoder->Commit());
}

}  // namespace ondrel::platform
