#include "runtime/win32/picture.h"

#include <objbase.h>
#include <wincodec.h>

#include <cstring>

#include "runtime/win32/handles.h"

namespace tovan::rt::win32 {
namespace {

// COM for this thread for as long as the object lives (balanced, whatever
// the thread had before).
class ComScope {
 public:
  ComScope() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (ok_) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool ok_;
};

BITMAPINFOHEADER Header(const Picture& picture, bool top_down) {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = picture.width;
  header.biHeight = top_down ? -picture.height : picture.height;
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(picture.pixels.size());
  return header;
}

}  // namespace

std::optional<Picture> DecodePicture(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > 0x7FFFFFFF) return std::nullopt;
  ComScope com;
  ComRef<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(factory.put()))))
    return std::nullopt;
  ComRef<IWICStream> stream;
  if (FAILED(factory->CreateStream(stream.put())) ||
      FAILED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                          static_cast<DWORD>(bytes.size()))))
    return std::nullopt;
  ComRef<IWICBitmapDecoder> decoder;
  ComRef<IWICBitmapFrameDecode> frame;
  ComRef<IWICFormatConverter> converter;
  if (FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put())) ||
      FAILED(decoder->GetFrame(0, frame.put())) || FAILED(factory->CreateFormatConverter(converter.put())) ||
      FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom)))
    return std::nullopt;
  UINT width = 0;
  UINT height = 0;
  // At most 64 megapixels (256 MB of pixels): a larger scan is refused, not
  // allowed to exhaust the program's memory.
  constexpr std::uint64_t kMaxPixels = 64ull << 20;
  if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 ||
      std::uint64_t{width} * height > kMaxPixels)
    return std::nullopt;
  Picture picture;
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(height);
  picture.pixels.resize(std::size_t{width} * height * 4);
  if (FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(picture.pixels.size()), picture.pixels.data())))
    return std::nullopt;
  for (std::size_t i = 0; i < picture.pixels.size(); i += 4) {
    const unsigned alpha = picture.pixels[i + 3];
    for (int c = 0; c < 3; ++c)
      picture.pixels[i + c] = static_cast<std::uint8_t>((picture.pixels[i + c] * alpha + 255 * (255 - alpha)) / 255);
    picture.pixels[i + 3] = 0;
  }
  return picture;
}

HBITMAP MakeBitmap(const Picture& picture) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, picture.width, picture.height);
  if (bitmap) {
    BITMAPINFO info{};
    info.bmiHeader = Header(picture, true);
    if (!SetDIBits(screen, bitmap, 0, picture.height, picture.pixels.data(), &info, DIB_RGB_COLORS)) {
      DeleteObject(bitmap);
      bitmap = nullptr;
    }
  }
  ReleaseDC(nullptr, screen);
  return bitmap;
}

HGLOBAL MakePackedDib(const Picture& picture) {
  const BITMAPINFOHEADER header = Header(picture, false);
  GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, sizeof header + picture.pixels.size()));
  if (!memory) return nullptr;
  GlobalLockGuard<std::uint8_t> lock(memory.get());
  if (!lock.get()) return nullptr;
  std::memcpy(lock.get(), &header, sizeof header);
  const std::size_t row = std::size_t{static_cast<unsigned>(picture.width)} * 4;
  for (int y = 0; y < picture.height; ++y)  // bottom-up
    std::memcpy(lock.get() + sizeof header + row * y, picture.pixels.data() + row * (picture.height - 1 - y), row);
  return memory.release();
}

}  // namespace tovan::rt::win32
