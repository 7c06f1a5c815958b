// Checks a module file before the dynamic loader maps it. The loader trusts
// the file's program headers: a segment that reaches past the end of a
// truncated file is mapped anyway and faults (SIGBUS) on first touch, deep
// inside dlopen. Checking the headers against the bytes first turns that
// into a clear error.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace z480 {

// What is wrong with the file ("" when its headers and segments all lie
// within its bytes).
std::string module_file_fault(std::span<const std::uint8_t> bytes);

}  // namespace z480
