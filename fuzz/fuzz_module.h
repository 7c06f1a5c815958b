// The real module, loaded once per fuzzing process: every input gets a fresh
// host on it, as every script does.
#pragma once

#include <memory>
#include <string>

#include "host/core/module.h"

inline z480::Module &fuzz_module() {
  static std::unique_ptr<z480::Module> loaded = [] {
    std::string error;
    auto m = z480::Module::load(Z480_MODULE_PATH, &error);
    if (!m) __builtin_trap();
    return m;
  }();
  return *loaded;
}
