#include "host/core/module_file.h"

#include <elf.h>
#include <link.h>

#include <cstring>

namespace z480 {
namespace {

// Whether [offset, offset + length) lies within size, without overflow.
bool within(std::uint64_t offset, std::uint64_t length, std::uint64_t size) {
  return offset <= size && length <= size - offset;
}

std::string short_by(const char *what, std::uint64_t end, std::uint64_t size) {
  return std::string(what) + " ends at byte " + std::to_string(end) + " but the file has " +
         std::to_string(size);
}

}  // namespace

std::string module_file_fault(std::span<const std::uint8_t> bytes) {
  const std::uint64_t size = bytes.size();
  ElfW(Ehdr) header;
  if (size < sizeof header || std::memcmp(bytes.data(), ELFMAG, SELFMAG) != 0)
    return "not a shared library (no ELF header)";
  std::memcpy(&header, bytes.data(), sizeof header);
  if (header.e_ident[EI_CLASS] != (sizeof(void *) == 8 ? ELFCLASS64 : ELFCLASS32))
    return "built for another word size";
  if (header.e_type != ET_DYN) return "not a shared library";
  if (header.e_phentsize != sizeof(ElfW(Phdr)) || header.e_phnum == 0)
    return "no usable program headers";
  std::uint64_t table = std::uint64_t{header.e_phnum} * sizeof(ElfW(Phdr));
  if (!within(header.e_phoff, table, size))
    return short_by("the program header table", header.e_phoff + table, size);
  for (unsigned i = 0; i < header.e_phnum; ++i) {
    ElfW(Phdr) segment;
    std::memcpy(&segment, bytes.data() + header.e_phoff + i * sizeof segment, sizeof segment);
    if (!within(segment.p_offset, segment.p_filesz, size))
      return short_by(("segment " + std::to_string(i)).c_str(),
                      segment.p_offset + segment.p_filesz, size);
  }
  // The section headers come last in the file: a cut anywhere shows here,
  // even one the loader itself would not notice.
  if (header.e_shoff != 0) {
    std::uint64_t sections = std::uint64_t{header.e_shnum} * header.e_shentsize;
    if (!within(header.e_shoff, sections, size))
      return short_by("the section header table", header.e_shoff + sections, size);
  }
  return "";
}

}  // namespace z480
