// Loads a private copy of a module from a temporary directory, as the panel
// host does, in a process that does not itself link the platform library:
// the module must find libz480_platform.so on its own.
#include <dlfcn.h>

#include <cstdio>
#include <unistd.h>
#include <filesystem>

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: dlopen_check MODULE\n");
    return 2;
  }
  namespace fs = std::filesystem;
  fs::path copy = fs::temp_directory_path() / ("z480-dlopen-check-" + std::to_string(getpid()));
  std::error_code ec;
  fs::copy_file(argv[1], copy, fs::copy_options::overwrite_existing, ec);
  if (ec) {
    std::fprintf(stderr, "cannot copy %s: %s\n", argv[1], ec.message().c_str());
    return 1;
  }
  void *module = dlopen(copy.c_str(), RTLD_NOW | RTLD_LOCAL);
  fs::remove(copy);
  if (!module) {
    std::fprintf(stderr, "dlopen: %s\n", dlerror());
    return 1;
  }
  bool ok = dlsym(module, "Linkage") && dlsym(module, "Z480_Resources") &&
            dlopen("libz480_platform.so", RTLD_NOW | RTLD_NOLOAD);
  std::printf(ok ? "module and platform library loaded\n" : "missing symbols\n");
  return ok ? 0 : 1;
}
