// The records a module hands the host, checked against the module's own
// memory before the host reads or calls any of them: the Linkage and the
// ImportTable, the start and stop routines, then every gauge to the null
// entry with its name, routines, element tree and mouse list. A module whose
// pointers lead outside its data, or whose routines lead anywhere but its
// code, is refused with the entry named, instead of crashing the host later.
// Entries are numbered from 0, as in the module's arrays; elements in
// drawing order (as Instance::elements lists them).
#pragma once

#include <string>

#include "frame/panel.h"
#include "host/core/module_memory.h"

namespace z480 {

// Longest gauge name the host takes.
inline constexpr std::size_t kMaxGaugeName = 255;

// What is wrong with the module's records ("" when nothing), as a sentence
// such as "gauge Radar: its mouse list's record 3 callback does not point at
// code".
std::string module_records_fault(const GaugeLinkage *linkage, const GaugeImport *imports,
                                 const ModuleMemory &memory);

}  // namespace z480
