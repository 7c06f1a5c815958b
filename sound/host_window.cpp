#include "sound/host_window.h"

std::string_view program_base_name(std::string_view path) {
  std::size_t cut = path.find_last_of("/\\:");
  std::string_view name = cut == std::string_view::npos ? path : path.substr(cut + 1);
  std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? name : name.substr(0, dot);
}

int host_kind(std::string_view name) {
  auto at = [&](std::size_t i) { return i < name.size() ? name[i] : '\0'; };
  if (at(3) == '2') return 4;
  if (at(0) == 'C') return 2;
  if (at(2) == '2') return 3;
  return 1;
}

const char *host_window_class(std::string_view base_name) {
  int kind = host_kind(base_name);
  return kind == 2 || kind == 4 ? "MSCFSMAIN" : "FS98MAIN";
}
