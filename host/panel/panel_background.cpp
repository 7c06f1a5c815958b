#include "host/panel/panel_background.h"

#include <algorithm>
#include <cctype>

#include "host/util/files.h"

namespace z480 {
namespace {

constexpr std::size_t kFileHeader = 14;
// The largest bitmap read: a window at twice a large screen's size.
constexpr std::size_t kMaxBitmapBytes = 64u << 20;

bool same_name(const std::string &a, const std::string &b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

// Said of a bitmap a configuration names.
std::string bmp_read_failure(const FileProblem &problem) {
  switch (problem.code) {
    case FileFailure::kCannotOpen: return "it cannot be read";
    case FileFailure::kCannotRead: return "it " + problem.text;
    default: return "it is " + problem.text;
  }
}

}  // namespace

std::vector<std::filesystem::path> panel_folders(const std::optional<std::filesystem::path> &panel_file) {
  std::vector<std::filesystem::path> folders;
  if (panel_file) folders.push_back(panel_file->parent_path().empty() ? "." : panel_file->parent_path());
  std::string exe = program_file();
  if (!exe.empty()) folders.push_back(std::filesystem::path(exe).parent_path() / "panel");
  return folders;
}

std::optional<std::filesystem::path> find_panel_file(const std::vector<std::filesystem::path> &folders,
                                                     const std::string &name) {
  std::filesystem::path wanted(name);
  // A bare file name only: a configuration must not reach elsewhere.
  if (name.empty() || wanted.has_parent_path() || wanted.filename() != wanted ||
      name == "." || name == "..")
    return std::nullopt;
  for (const std::filesystem::path &folder : folders) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(folder / wanted, ec)) return folder / wanted;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
      if (same_name(it->path().filename().string(), name) && it->is_regular_file(ec)) return it->path();
  }
  return std::nullopt;
}

std::optional<Pixels> read_bmp_file(const std::filesystem::path &path, std::string *why) {
  FileProblem problem;
  std::optional<std::string> file = read_file(path, &problem, kMaxBitmapBytes);
  if (!file) {
    *why = bmp_read_failure(problem);
    return std::nullopt;
  }
  std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t *>(file->data()), file->size());
  if (bytes.size() < kFileHeader || bytes[0] != 'B' || bytes[1] != 'M') {
    *why = "it is no .bmp file";
    return std::nullopt;
  }
  auto pixels = decode_dib(bytes.subspan(kFileHeader));
  if (!pixels) *why = "it is no uncompressed 24- or 32-bit bitmap";
  return pixels;
}

}  // namespace z480
