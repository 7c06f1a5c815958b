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
  return std::unique_ptr<LoadedLibrary>(new LoadedLibrary(module, copy));
}

LoadedLibrary::~LoadedLibrary() {
  FreeLibrary(static_cast<HMODULE>(handle_));
  DeleteFileA(copy_.c_str());
}

void *LoadedLibrary::symbol(const char *name) const {
  return reinterpret_cast<void *>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

}  // namespace z480
