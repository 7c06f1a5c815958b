#include "frame/declare.h"

MouseRect mouse_tooltip_format(const char *format, MouseArg *args, std::int32_t count) {
  MouseRect r{};
  r.rect_type = kMouseTooltip;
  r.cursor = kCursorNone;
  r.event_id = count;
  // The host's tooltip record keeps the format string in the callback slot.
  r.mouse_function = reinterpret_cast<MouseCallback>(const_cast<char *>(format));
  r.api_data = args;
  return r;
}
