// The device context the host lends an element that draws for itself, with
// the pixels behind it: on this machine a platform::PixelContext over a
// buffer of the host's (host/core/element_dc_posix.cpp), on Windows a memory
// device context holding a DIB section (host/core/element_dc_win32.cpp), so that
// the module's drawing layer, cairo here and GDI+ there, draws into pixels
// the host can read.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "frame/panel.h"

namespace z480 {

class ElementDc {
 public:
  virtual ~ElementDc() = default;
  // What the element's device-context field holds.
  virtual void *dc() = 0;
  // The pixels, row by row from the top, one 32-bit word each: 0xAARRGGBB
  // premultiplied where alpha_kept(), else 0x??RRGGBB, opaque.
  virtual std::span<std::uint32_t> words() = 0;
  virtual bool alpha_kept() const = 0;
};

// Opaque black pixels of that size; null when the system refuses them.
std::unique_ptr<ElementDc> make_element_dc(PixPoint size);

}  // namespace z480
