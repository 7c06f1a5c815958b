// The real module, loaded for a benchmark; a module that cannot be loaded
// stops the benchmark with the reason.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "host/core/module.h"

inline std::unique_ptr<z480::Module> load_bench_module() {
  std::string error;
  auto m = z480::Module::load(Z480_MODULE_PATH, &error);
  if (!m) throw std::runtime_error(error);
  return m;
}
