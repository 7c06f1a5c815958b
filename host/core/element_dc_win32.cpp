#include <windows.h>

#include "host/core/element_dc.h"

namespace z480 {
namespace {

// A memory device context with a top-down 32-bit DIB section selected, as
// the simulator gives an element that asks for a DIB section. GDI leaves the
// top byte of each word undefined, so the pixels count as opaque.
class DibDc : public ElementDc {
 public:
  ~DibDc() override {
    if (old_) SelectObject(dc_, old_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
  }
  bool make(PixPoint size) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.x;
    info.bmiHeader.biHeight = -size.y;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    void *bits = nullptr;
    if (dc_) bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap_ || !bits) return false;
    old_ = SelectObject(dc_, bitmap_);
    words_ = {static_cast<std::uint32_t *>(bits), static_cast<std::size_t>(size.x) * size.y};
    for (std::uint32_t &w : words_) w = 0xFF000000u;
    return true;
  }
  void *dc() override { return dc_; }
  std::span<std::uint32_t> words() override { return words_; }
  bool alpha_kept() const override { return false; }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  std::span<std::uint32_t> words_;
};

}  // namespace

std::unique_ptr<ElementDc> make_element_dc(PixPoint size) {
  auto dc = std::make_unique<DibDc>();
  if (!dc->make(size)) return nullptr;
  return dc;
}

}  // namespace z480
