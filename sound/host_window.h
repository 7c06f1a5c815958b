// Which main window the host program has, from its file name: the flight
// simulators name their main window class after the product line.
#pragma once

#include <string_view>

// The program's base name: drive, directories and extension split off
// ("C:\\FS9\\FS9.EXE" -> "FS9").
std::string_view program_base_name(std::string_view path);

// The host kind, 1 to 4, from the base name (exact, case-sensitive): '2' as
// fourth character gives 4; else 'C' as first gives 2; else '2' as third
// gives 3; else 1.
int host_kind(std::string_view base_name);

// "MSCFSMAIN" for kinds 2 and 4, "FS98MAIN" for kinds 1 and 3.
const char *host_window_class(std::string_view base_name);
