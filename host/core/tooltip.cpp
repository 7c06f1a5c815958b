#include "host/core/tooltip.h"

#include <cctype>
#include <cstdio>

#include "frame/numeric.h"

namespace z480 {
namespace {

// One argument, as text, for a printf-style spec such as ".0f" or "s".
std::string format_argument(const MouseArg &arg, const std::string &spec, GaugeHeader *gauge,
                            const std::function<void(ModuleVar *)> &read_var) {
  ModuleVar var = arg.source_var;
  if (var.id != 0) read_var(&var);
  double value = var.var_value.n * arg.scale;
  if (arg.numeric_callback) value = arg.numeric_callback(value, 0, nullptr, &var, gauge);
  char conversion = spec.empty() ? 's' : spec.back();
  std::string flags = spec.empty() ? "" : spec.substr(0, spec.size() - 1);
  // Only width, precision and the plain flags pass through to the formatter.
  for (char c : flags)
    if (!std::isdigit(static_cast<unsigned char>(c)) && c != '.' && c != '-' && c != '+' &&
        c != ' ' && c != '#' && c != '0')
      return "";
  if (flags.size() > 8) return "";
  char out[128];
  std::string fmt = "%" + flags;
  switch (conversion) {
    case 's': {
      const char *text = arg.string_callback ? arg.string_callback(value, 0, nullptr, &var, gauge)
                                             : nullptr;
      if (!text) {
        std::snprintf(out, sizeof out, "%g", value);
        text = out;
      }
      std::string s = text;
      std::snprintf(out, sizeof out, (fmt + "s").c_str(), s.c_str());
      return out;
    }
    case 'd':
    case 'i':
    case 'u':
    case 'x':
    case 'X':
      std::snprintf(out, sizeof out, (fmt + (conversion == 'i' ? 'd' : conversion)).c_str(),
                    to_int(value));
      return out;
    case 'f':
    case 'F':
    case 'e':
    case 'E':
    case 'g':
    case 'G':
      std::snprintf(out, sizeof out, (fmt + conversion).c_str(), value);
      return out;
    default:
      return "";
  }
}

// The module writes its texts in the host's ANSI code page (a degree sign is
// the one byte 0xB0); the host shows them as UTF-8. Latin-1 stands for the
// code page: each byte is the character of the same number.
std::string from_ansi(const std::string &text) {
  std::string out;
  for (unsigned char c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace

std::string format_tooltip(const MouseRect &record, GaugeHeader *gauge,
                           const std::function<void(ModuleVar *)> &read_var) {
  const char *format = reinterpret_cast<const char *>(record.mouse_function);
  if (!format) return "";
  const auto *args = static_cast<const MouseArg *>(record.api_data);
  int count = args ? record.event_id : 0;
  std::string text;
  for (const char *p = format; *p && text.size() < kMaxTooltipText; ++p) {
    if (*p != '%') {
      text += *p;
      continue;
    }
    ++p;
    if (*p == '%') {
      text += '%';
      continue;
    }
    if (!std::isdigit(static_cast<unsigned char>(*p))) {
      if (!*p) break;
      text += *p;
      continue;
    }
    int n = 0;
    while (std::isdigit(static_cast<unsigned char>(*p)) && n < 100) n = n * 10 + (*p++ - '0');
    std::string spec = "s";
    if (*p == '!') {
      const char *end = p + 1;
      while (*end && *end != '!') ++end;
      spec.assign(p + 1, end);
      p = *end ? end : end - 1;
    } else {
      --p;
    }
    if (n >= 1 && n <= count) text += format_argument(args[n - 1], spec, gauge, read_var);
  }
  if (text.size() > kMaxTooltipText) text.resize(kMaxTooltipText);
  return from_ansi(text);
}

}  // namespace z480
