// A module that lies is refused, not followed: every pointer it hands over
// is checked against its own segments at load, and the error names the entry.
#include <elf.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "host/core/module.h"
#include "host/core/module_check.h"
#include "host/core/module_memory.h"

namespace z480 {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> probe_bytes() {
  std::ifstream in(Z480_PROBE_MODULE_PATH, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ModuleMemory, RangesStayInsideOneSegmentOfTheirKind) {
  static char bytes[64] = "gauge";
  std::memset(bytes + 32, 'x', 16);
  auto at = reinterpret_cast<std::uintptr_t>(bytes);
  ModuleMemory m({{at, at + 32, false, true}, {at + 32, at + 48, false, false},
                  {at + 48, at + 64, true, false}});
  EXPECT_TRUE(m.data(bytes, 32));
  EXPECT_FALSE(m.data(bytes + 30, 4)) << "across two segments";
  EXPECT_FALSE(m.data(bytes + 48, 1)) << "code is no data";
  EXPECT_FALSE(m.data(bytes + 8, SIZE_MAX)) << "a size that wraps";
  EXPECT_FALSE(m.records(reinterpret_cast<const std::uint64_t *>(bytes), SIZE_MAX / 4));
  EXPECT_TRUE(m.writable(bytes, 8));
  EXPECT_FALSE(m.writable(bytes + 32, 8));
  EXPECT_TRUE(m.code(at + 48));
  EXPECT_FALSE(m.code(at + 64));
  EXPECT_FALSE(m.code(at + 8));
  EXPECT_TRUE(m.text(bytes, 5));
  EXPECT_FALSE(m.text(bytes, 4)) << "longer than allowed";
  EXPECT_FALSE(m.text(bytes + 40, 100)) << "no NUL before the segment ends";
  EXPECT_FALSE(m.text(bytes + 50, 100)) << "text in code";
}

// The probe module loaded afresh, its records patched in memory before the
// check runs.
struct Probe {
  std::unique_ptr<LoadedLibrary> library;
  GaugeLinkage *linkage = nullptr;
  GaugeImport *imports = nullptr;
  GaugeHeader &gauge() { return *linkage->gauge_header_ptr[0]; }
  // In drawing order: root, needle, lamp, glass, label.
  GaugeElement *element(int n) {
    GaugeElement *root = gauge().elements_list[0];
    GaugeElement *needle = root->next_element[0];
    GaugeElement *all[] = {root, needle, needle->next_element[0], root->next_element[1],
                           root->next_element[2]};
    return all[n];
  }
  MouseRect &mouse(int n) { return gauge().mouse_rect[n]; }
  MouseArg *tooltip_args() { return static_cast<MouseArg *>(mouse(1).api_data); }
  std::string fault() const {
    return module_records_fault(linkage, imports, ModuleMemory(library->segments()));
  }
};

Probe load_probe() {
  Probe p;
  std::string error;
  p.library = LoadedLibrary::open(probe_bytes(), Z480_PROBE_MODULE_PATH, &error);
  EXPECT_TRUE(p.library) << error;
  p.linkage = static_cast<GaugeLinkage *>(p.library->symbol("Linkage"));
  p.imports = static_cast<GaugeImport *>(p.library->symbol("ImportTable"));
  return p;
}

template <typename To, typename From>
To as(From from) {
  return reinterpret_cast<To>(from);
}

TEST(ModuleCheck, EveryLieIsNamed) {
  ASSERT_EQ(load_probe().fault(), "");
  static int outside = 0;  // the test's own data, not the module's
  struct Case {
    std::function<void(Probe &)> lie;
    std::string error;
  } cases[] = {
      {[](Probe &p) { p.linkage->module_id = 7; }, "its Linkage has an unknown module id"},
      {[](Probe &p) { p.imports = as<GaugeImport *>(const_cast<char *>(p.gauge().gauge_name)); },
       "its ImportTable lies outside the module's writable data"},
      {[](Probe &p) { p.linkage->module_init = as<PlainRoutine>(p.linkage); },
       "its Linkage start routine does not point at code"},
      {[](Probe &p) { p.linkage->gauge_header_ptr[1] = as<GaugeHeader *>(&outside); },
       "Linkage gauge 1 points outside the module's data"},
      {[](Probe &p) { p.linkage->gauge_header_ptr[2] = as<GaugeHeader *>(p.gauge().gauge_callback); },
       "Linkage gauge 2 points outside the module's data"},
      {[](Probe &p) { p.gauge().gauge_name = as<const char *>(&outside); },
       "Linkage gauge 0's name is no text in the module's data"},
      {[](Probe &p) { p.gauge().gauge_callback = as<GaugeCallback>(p.linkage); },
       "gauge Probe: its gauge_callback does not point at code"},
      {[](Probe &p) { p.gauge().install_routine = as<void(FSAPI *)(void *)>(&outside); },
       "gauge Probe: its install_routine does not point at code"},
      {[](Probe &p) { p.gauge().elements_list = as<GaugeElement **>(&outside); },
       "gauge Probe: its element list points outside the module's data"},
      {[](Probe &p) { as<NeedleElement *>(p.element(1))->update_cb = as<NeedleCallback>(p.linkage); },
       "gauge Probe: element 1 (needle)'s update_cb does not point at code"},
      {[](Probe &p) { as<NeedleElement *>(p.element(1))->nonlinearity_table = as<NonlinearityEntry *>(&outside); },
       "gauge Probe: element 1 (needle)'s nonlinearity table runs outside the module's data"},
      {[](Probe &p) { p.element(0)->next_element[1] = as<GaugeElement *>(&outside); },
       "gauge Probe: element 0 (static image)'s child 1 points outside the module's data"},
      {[](Probe &p) { p.element(2)->element_type = 42; },
       "gauge Probe: element 2 is of unknown kind 42"},
      {[](Probe &p) { p.element(3)->failure_systems = as<FailureRecord *>(&outside); },
       "gauge Probe: element 3 (static image)'s failure list runs outside the module's data"},
      // The lamp made its own child: the walk stops where the copy would.
      {[](Probe &p) { p.element(2)->next_element = p.element(1)->next_element; },
       "gauge Probe: its element tree is too deep or too large"},
      {[](Probe &p) { as<StringElement *>(p.element(4))->source_var_cb[2] = as<ModuleVarCallback>(p.linkage); },
       "gauge Probe: element 4 (string)'s source_var_cb[2] does not point at code"},
      {[](Probe &p) { p.gauge().mouse_rect = as<MouseRect *>(&outside); },
       "gauge Probe: its mouse list runs outside the module's data"},
      {[](Probe &p) { p.mouse(3).mouse_function = as<MouseCallback>(p.linkage); },
       "gauge Probe: its mouse list's record 3 callback does not point at code"},
      {[](Probe &p) { p.mouse(1).mouse_function = as<MouseCallback>(&outside); },
       "gauge Probe: its mouse list's record 1 tooltip text is no text in the module's data"},
      {[](Probe &p) { p.mouse(1).event_id = 1000; },
       "gauge Probe: its mouse list's record 1 has 1000 tooltip arguments, more than 99"},
      {[](Probe &p) { p.mouse(1).api_data = &outside; },
       "gauge Probe: its mouse list's record 1 tooltip arguments run outside the module's data"},
      {[](Probe &p) { p.tooltip_args()[1].string_callback = as<TooltipStringCallback>(p.linkage); },
       "gauge Probe: its mouse list's record 1 tooltip argument 1 string callback does not point "
       "at code"},
  };
  for (const Case &c : cases) {
    Probe p = load_probe();
    c.lie(p);
    EXPECT_EQ(p.fault(), c.error);
  }
}

// The module file patched so that, once relocated, the Linkage's gauge
// pointer at that index holds the module's base plus offset.
bool patch_gauge_pointer(std::vector<std::uint8_t> &b, std::size_t index, std::uint64_t offset) {
  auto at = [&](std::uint64_t off) { return b.data() + off; };
  const auto &eh = *reinterpret_cast<const Elf64_Ehdr *>(at(0));
  const auto *sections = reinterpret_cast<const Elf64_Shdr *>(at(eh.e_shoff));
  std::uint64_t slot = 0;
  for (int i = 0; i < eh.e_shnum && !slot; ++i) {
    if (sections[i].sh_type != SHT_DYNSYM) continue;
    const char *names = reinterpret_cast<const char *>(at(sections[sections[i].sh_link].sh_offset));
    const auto *syms = reinterpret_cast<const Elf64_Sym *>(at(sections[i].sh_offset));
    for (std::size_t k = 0; k < sections[i].sh_size / sizeof(Elf64_Sym); ++k)
      if (std::strcmp(names + syms[k].st_name, "Linkage") == 0)
        slot = syms[k].st_value + offsetof(GaugeLinkage, gauge_header_ptr) + index * 8;
  }
  bool patched = false;
  // A relative relocation keeps the value in its addend, a packed one in the slot.
  for (int i = 0; i < eh.e_shnum; ++i) {
    if (sections[i].sh_type != SHT_RELA) continue;
    auto *relocs = reinterpret_cast<Elf64_Rela *>(at(sections[i].sh_offset));
    for (std::size_t k = 0; k < sections[i].sh_size / sizeof(Elf64_Rela); ++k)
      if (relocs[k].r_offset == slot && ELF64_R_TYPE(relocs[k].r_info) == R_X86_64_RELATIVE) {
        relocs[k].r_addend = static_cast<Elf64_Sxword>(offset);
        patched = true;
      }
  }
  const auto *segments = reinterpret_cast<const Elf64_Phdr *>(at(eh.e_phoff));
  for (int i = 0; i < eh.e_phnum; ++i) {
    const Elf64_Phdr &s = segments[i];
    if (s.p_type == PT_LOAD && slot >= s.p_vaddr && slot + 8 <= s.p_vaddr + s.p_filesz) {
      std::memcpy(at(s.p_offset + slot - s.p_vaddr), &offset, 8);
      patched = true;
    }
  }
  return slot && patched;
}

struct PanelRun {
  int status;
  std::string output;
};

PanelRun run_panel(const std::string &arguments) {
  std::string command = std::string("'") + Z480_PANEL_PATH + "' " + arguments + " 2>&1";
  PanelRun r{-1, ""};
  FILE *pipe = popen(command.c_str(), "r");
  if (!pipe) return r;
  std::array<char, 256> chunk;
  while (std::size_t n = std::fread(chunk.data(), 1, chunk.size(), pipe)) r.output.append(chunk.data(), n);
  int status = pclose(pipe);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

TEST(ModuleCheck, APatchedModuleIsRefusedOnOneLine) {
  fs::path dir = fs::temp_directory_path() / ("z480-module-check-" + std::to_string(getpid()));
  fs::create_directories(dir);
  std::vector<std::uint8_t> bytes = probe_bytes();
  // A gigabyte past the base: far beyond the probe's few hundred kilobytes.
  ASSERT_TRUE(patch_gauge_pointer(bytes, 1, std::uint64_t{1} << 30));
  fs::path bad = dir / "BAD.gau";
  std::ofstream(bad, std::ios::binary)
      .write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  std::string line = "z480-panel: module " + bad.string() +
                     ": Linkage gauge 1 points outside the module's data\n";
  std::string script = std::string(Z480_SOURCE_DIR) + "/tests/probe_scripts/click_sound.z480";
  for (const std::string &command :
       {"list --module '" + bad.string() + "'", "run --module '" + bad.string() + "' '" + script + "'"}) {
    PanelRun r = run_panel(command);
    EXPECT_EQ(r.status, 1) << command;
    EXPECT_EQ(r.output, line) << command;
  }
  std::string error;
  EXPECT_EQ(Module::load(bad.string(), &error), nullptr);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace z480
