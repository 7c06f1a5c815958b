#include <vector>

#include "host/core/element_dc.h"
#include "platform/draw_platform.h"

namespace z480 {
namespace {

class BufferDc : public ElementDc {
 public:
  explicit BufferDc(PixPoint size)
      : words_(static_cast<std::size_t>(size.x) * size.y, 0xFF000000u),
        context_{reinterpret_cast<std::uint8_t *>(words_.data()), size.x, size.y, size.x * 4} {}
  void *dc() override { return &context_; }
  std::span<std::uint32_t> words() override { return words_; }
  bool alpha_kept() const override { return true; }

 private:
  std::vector<std::uint32_t> words_;
  platform::PixelContext context_;
};

}  // namespace

std::unique_ptr<ElementDc> make_element_dc(PixPoint size) { return std::make_unique<BufferDc>(size); }

}  // namespace z480
