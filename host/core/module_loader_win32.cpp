#include <windows.h>

#include <fstream>

#include "host/core/module_loader.h"

namespace z480 {
namespace {

std::string last_error() {
  DWORD code = GetLastError();
  char text[256] = {};
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           code, 0, text, sizeof text, nullptr);
  while (n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r' || text[n - 1] == '.')) text[--n] = 0;
  return (n ? std::string(text) : std::string("system error")) + " (" + std::to_string(code) + ")";
}

// The bytes in a fresh temporary file: the system maps a file once however
// often it is loaded, so each load needs a file of its own. Windows keeps a
// mapped file, so the copy is removed only after the module is unloaded.
std::string private_copy(std::span<const std::uint8_t> bytes, std::string *error) {
  char dir[MAX_PATH + 1] = {}, file[MAX_PATH + 1] = {};
  if (!GetTempPathA(sizeof dir, dir) || !GetTempFileNameA(dir, "z48", 0, file)) {
    *error = "cannot create a temporary copy of the module: " + last_error();
    return {};
  }
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    DeleteFileA(file);
    *error = "cannot write a temporary copy of the module";
    return {};
  }
  return file;
}

// The module's sections from the PE headers at its base, as mapped; the
// loader has already checked the headers it mapped the module by.
std::vector<ModuleSegment> sections_of(HMODULE module) {
  auto base = reinterpret_cast<std::uintptr_t>(module);
  const auto *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(base);
  auto *nt = reinterpret_cast<IMAGE_NT_HEADERS *>(base + static_cast<std::uintptr_t>(dos->e_lfanew));
  const IMAGE_SECTION_HEADER *section = IMAGE_FIRST_SECTION(nt);
  std::vector<ModuleSegment> out;
  for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
    DWORD size = section->Misc.VirtualSize ? section->Misc.VirtualSize : section->SizeOfRawData;
    DWORD traits = section->Characteristics;
    if (size == 0 || !(traits & IMAGE_SCN_MEM_READ)) continue;
    std::uintptr_t begin = base + section->VirtualAddress;
    out.push_back({begin, begin + size, (traits & IMAGE_SCN_MEM_EXECUTE) != 0,
                   (traits & IMAGE_SCN_MEM_WRITE) != 0});
  }
  return out;
}

}  // namespace

std::unique_ptr<LoadedLibrary> LoadedLibrary::open(std::span<const std::uint8_t> bytes,
                                                   const std::string &path, std::string *error) {
  std::string copy = private_copy(bytes, error);
  if (copy.empty()) return nullptr;
  // No message box for a file the loader refuses: the error is reported.
  UINT modes = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadLibraryExA(copy.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  std::string why = module ? std::string() : last_error();
  SetErrorMode(modes);
  if (!module) {
    DeleteFileA(copy.c_str());
    *error = "cannot load module " + path + ": " + why;
    return nullptr;
  }
  return std::unique_ptr<LoadedLibrary>(new LoadedLibrary(module, copy, sections_of(module)));
}

LoadedLibrary::~LoadedLibrary() {
  FreeLibrary(static_cast<HMODULE>(handle_));
  DeleteFileA(copy_.c_str());
}

void *LoadedLibrary::symbol(const char *name) const {
  return reinterpret_cast<void *>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

}  // namespace z480
