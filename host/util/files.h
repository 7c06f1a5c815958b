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

// The file's bytes; nothing, with the reason in *why when given, for a
// directory, a file that cannot be opened or read, or one longer than limit.
std::optional<std::string> read_file(const std::filesystem::path &path, std::string *why = nullptr,
                                     std::size_t limit = kMaxFileBytes);

// The running program's own file ("" when the system does not say).
std::string program_file();

}  // namespace z480
