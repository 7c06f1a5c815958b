// Loading a module file: a truncated or corrupt file is refused with a clear
// reason before the dynamic loader maps it, and no temporary copy is left.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "host/core/module.h"
#include "host/core/module_file.h"

namespace z480 {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> module_bytes() {
  std::ifstream in(Z480_PROBE_MODULE_PATH, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string fault(std::vector<std::uint8_t> bytes) { return module_file_fault(bytes); }

TEST(ModuleFile, AWholeModulePassesAndEveryCutIsFound) {
  std::vector<std::uint8_t> whole = module_bytes();
  ASSERT_GT(whole.size(), 4096u);
  EXPECT_EQ(fault(whole), "");
  // Cut inside the headers, inside a segment, and just short of the end.
  for (std::size_t size : {std::size_t{0}, std::size_t{3}, std::size_t{63}, std::size_t{100},
                           whole.size() / 2, whole.size() - 1}) {
    std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<long>(size));
    EXPECT_NE(fault(cut), "") << size;
  }
}

// Header fields that would send the check itself out of the buffer.
TEST(ModuleFile, HeadersPointingOutsideTheFileAreFaults) {
  std::vector<std::uint8_t> whole = module_bytes();
  auto patched = [&](std::size_t offset, std::uint64_t value, std::size_t width) {
    std::vector<std::uint8_t> b = whole;
    for (std::size_t k = 0; k < width; ++k) b[offset + k] = static_cast<std::uint8_t>(value >> (8 * k));
    return b;
  };
  // e_phoff at 32, e_phnum at 56, e_shoff at 40 (64-bit layout).
  EXPECT_NE(fault(patched(32, ~0ull - 8, 8)), "");
  EXPECT_NE(fault(patched(56, 0xffff, 2)), "");
  EXPECT_NE(fault(patched(56, 0, 2)), "");
  EXPECT_NE(fault(patched(40, whole.size(), 8)), "");
  EXPECT_NE(fault(patched(0, 0, 1)), "");  // no ELF magic
  // The first program header's p_filesz (at e_phoff + 32) made huge.
  std::uint64_t phoff = 0;
  for (int k = 7; k >= 0; --k) phoff = phoff << 8 | whole[32 + k];
  EXPECT_NE(fault(patched(phoff + 32, ~0ull, 8)), "");
}

TEST(ModuleFile, LoadRefusesBadFilesClearlyAndLeavesNoCopy) {
  fs::path dir = fs::temp_directory_path() / ("z480-module-file-test-" + std::to_string(getpid()));
  fs::create_directories(dir);
  std::string old_tmpdir = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
  setenv("TMPDIR", dir.c_str(), 1);
  std::vector<std::uint8_t> whole = module_bytes();
  fs::path cut = dir / "cut.gau";
  {
    std::ofstream out(cut, std::ios::binary);
    out.write(reinterpret_cast<const char *>(whole.data()), static_cast<long>(whole.size() / 2));
  }
  struct Case {
    std::string path, reason;
  } cases[] = {{cut.string(), "is truncated or corrupt: "},
               {dir.string(), "is a directory"},
               {(dir / "none.gau").string(), "cannot read module"}};
  for (const Case &c : cases) {
    std::string error;
    EXPECT_EQ(Module::load(c.path, &error), nullptr) << c.path;
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
  }
  std::string error;
  EXPECT_NE(Module::load(Z480_PROBE_MODULE_PATH, &error), nullptr) << error;
  fs::remove(cut);
  EXPECT_TRUE(fs::is_empty(dir));
  if (old_tmpdir.empty())
    unsetenv("TMPDIR");
  else
    setenv("TMPDIR", old_tmpdir.c_str(), 1);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace z480
