#include "host/util/files.h"

#include <fstream>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace z480 {

std::optional<std::string> read_file(const std::filesystem::path &path, std::string *why,
                                     std::size_t limit) {
  auto fail = [why](const std::string &reason) -> std::optional<std::string> {
    if (why) *why = reason;
    return std::nullopt;
  };
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return fail("a directory, not a file");
  std::ifstream in(path, std::ios::binary);
  if (!in) return fail("cannot be opened");
  std::string text;
  char chunk[1 << 16];
  // Read by chunks, not by the size the file claims: devices and pipes
  // claim none.
  while (in) {
    in.read(chunk, sizeof chunk);
    auto got = static_cast<std::size_t>(in.gcount());
    if (text.size() + got > limit)
      return fail("longer than " + std::to_string(limit >> 20) + " MB");
    text.append(chunk, got);
  }
  if (in.bad()) return fail("could not be read");
  return text;
}

std::string program_file() {
#ifdef _WIN32
  char file[MAX_PATH + 1] = {};
  DWORD n = GetModuleFileNameA(nullptr, file, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(file, n) : std::string();
#else
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.string();
#endif
}

}  // namespace z480
