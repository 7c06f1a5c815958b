// Files the host reads whole (scripts, panel configurations, modules,
// bitmaps), and the running program's own file.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace z480 {

// Nothing the host reads is anywhere near this large; a device such as
// /dev/zero, or a runaway file, stops here instead of filling memory.
inline constexpr std::size_t kMaxFileBytes = 16u << 20;

// Why a file was not read; callers decide on the code, the text is for people.
enum class FileFailure { kDirectory, kCannotOpen, kTooLong, kCannotRead };
struct FileProblem {
  FileFailure code{};
  std::string text;  // "cannot be opened", "longer than 16 MB", ...
};

// The file's bytes; nothing, with the reason in *why when given, for a
// directory, a file that cannot be opened or read, or one longer than limit.
std::optional<std::string> read_file(const std::filesystem::path &path, FileProblem *why,
                                     std::size_t limit = kMaxFileBytes);
// The same with the reason's text alone.
std::optional<std::string> read_file(const std::filesystem::path &path, std::string *why = nullptr,
                                     std::size_t limit = kMaxFileBytes);

// The running program's own file ("" when the system does not say).
std::string program_file();

}  // namespace z480
