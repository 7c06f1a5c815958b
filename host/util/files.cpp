#include "host/util/files.h"

#include <fstream>
#include <system_error>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

namespace z480 {

std::optional<std::string> read_file(const std::filesystem::path &path, FileProblem *why,
                                     std::size_t limit) {
  auto fail = [why](FileFailure code, std::string text) -> std::optional<std::string> {
    if (why) *why = {code, std::move(text)};
    return std::nullopt;
  };
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec))
    return fail(FileFailure::kDirectory, "a directory, not a file");
  std::ifstream in(path, std::ios::binary);
  if (!in) return fail(FileFailure::kCannotOpen, "cannot be opened");
  std::string text;
  char chunk[1 << 16];
  // Read by chunks, not by the size the file claims: devices and pipes
  // claim none.
  while (in) {
    in.read(chunk, sizeof chunk);
    auto got = static_cast<std::size_t>(in.gcount());
    if (text.size() + got > limit)
      return fail(FileFailure::kTooLong, "longer than " + std::to_string(limit >> 20) + " MB");
    text.append(chunk, got);
  }
  if (in.bad()) return fail(FileFailure::kCannotRead, "could not be read");
  return text;
}

std::optional<std::string> read_file(const std::filesystem::path &path, std::string *why,
                                     std::size_t limit) {
  FileProblem problem;
  std::optional<std::string> text = read_file(path, &problem, limit);
  if (!text && why) *why = std::move(problem.text);
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
