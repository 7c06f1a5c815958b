// make_bitmaps MODULE OUTDIR LIST: draws every bitmap of the module into
// OUTDIR/ID.bmp and writes LIST, the resource arguments ("BITMAP path", one a
// line) for embed_resources. Fails when a bitmap the module's element trees
// name has no design, so the module never ships without one.
// make_bitmaps --panel MODULE PANEL.CFG PANELDIR: makes PANELDIR the
// aircraft's panel folder, the configuration and the background bitmap each
// of its windows names (tools/artwork/backgrounds.h). Fails when a placard
// would leave its window or lie under a gauge.
#include "tools/artwork/generator.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <iostream>
#include <set>

#include "host/needle.h"
#include "host/panel_config.h"
#include "host/render_dib.h"
#include "tools/artwork/backgrounds.h"

namespace art {

std::vector<Design> &designs() {
  static std::vector<Design> all;
  return all;
}

const Design *design(int id) {
  for (const Design &d : designs())
    if (d.id == id) return &d;
  return nullptr;
}

Designs::Designs(std::initializer_list<Design> list) {
  designs().insert(designs().end(), list.begin(), list.end());
}

Dial Dial::of(const NeedleElement &n) {
  Dial d;
  d.pivot = {static_cast<double>(n.header.position.x), static_cast<double>(n.header.position.y)};
  d.table.assign(n.nonlinearity_table, n.nonlinearity_table + n.nonlinearity_table_size);
  return d;
}

Dial Dial::seen_from(double x, double y) const {
  Dial d = *this;
  d.pivot = {pivot.x - x, pivot.y - y};
  for (NonlinearityEntry &e : d.table) {
    e.pt.x -= static_cast<std::int32_t>(x);
    e.pt.y -= static_cast<std::int32_t>(y);
  }
  return d;
}

double Dial::angle(double value) const {
  std::vector<NonlinearityEntry> t = table;
  z480::fill_table_angles(t.data(), static_cast<std::uint32_t>(t.size()),
                          {static_cast<std::int32_t>(pivot.x), static_cast<std::int32_t>(pivot.y)});
  return z480::table_angle(t.data(), static_cast<std::uint32_t>(t.size()), value);
}

Point Dial::at(double value, double radius) const {
  double a = angle(value);
  return {pivot.x + radius * std::sin(a), pivot.y - radius * std::cos(a)};
}

Context::Context(z480::Module &module) {
  for (GaugeHeader *g : module.linkage().gauge_header_ptr) {
    if (!g) break;
    std::string error;
    auto inst = z480::Instance::create(g, g->gauge_name, std::nullopt, &error);
    if (!inst) throw std::runtime_error(error);
    for (GaugeElement *e : inst->elements()) {
      if (e->resource_id <= 0) continue;
      int images = 1;
      if (e->element_type == kIcon)
        images = std::max(1, reinterpret_cast<IconElement *>(e)->num_icons);
      if (e->element_type == kMovingImage || e->element_type == kSprite) images = 2;  // and mask
      for (int k = 0; k < images; ++k) named_.emplace(e->resource_id + k, g->gauge_name);
    }
    gauges_[g->gauge_name] = std::move(inst);
  }
}

int Context::background(const std::string &gauge) const {
  auto it = gauges_.find(gauge);
  if (it == gauges_.end() || it->second->elements().empty()) return 0;
  return it->second->elements().front()->resource_id;
}

int Context::own_width(const std::string &gauge) const {
  auto it = gauges_.find(gauge);
  return it == gauges_.end() ? 0 : static_cast<int>(it->second->header()->size_x_mm);
}

Dial Context::needle(const std::string &gauge, int n, const Dial &fallback) const {
  auto it = gauges_.find(gauge);
  if (it == gauges_.end()) return fallback;
  for (GaugeElement *e : it->second->elements())
    if (e->element_type == kNeedle && n-- == 0)
      return Dial::of(*reinterpret_cast<NeedleElement *>(e));
  throw std::runtime_error(gauge + " has no such needle");
}

}  // namespace art

namespace {

void write_file(const std::filesystem::path &path, const std::vector<std::uint8_t> &bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

// Every bitmap of the module, and the list embed_resources takes.
void module_bitmaps(const art::Context &context, const std::string &folder, const std::string &list_file) {
  std::set<int> drawn;
  std::ofstream list(list_file);
  auto all = art::designs();
  std::sort(all.begin(), all.end(), [](const auto &a, const auto &b) { return a.id < b.id; });
  for (const art::Design &d : all) {
    if (!drawn.insert(d.id).second) throw std::runtime_error("two designs for " + std::to_string(d.id));
    art::Canvas canvas(d.width, d.height, d.matte);
    d.paint(canvas, context);
    std::string path = folder + "/" + std::to_string(d.id) + ".bmp";
    write_file(path, z480::bmp_file(z480::encode_dib(canvas.pixels())));
    list << "BITMAP\n" << path << "\n";
  }
  for (const auto &[id, gauge] : context.named())
    if (!drawn.count(id))
      throw std::runtime_error(gauge + " names bitmap " + std::to_string(id) + ", which has no design");
  if (!list) throw std::runtime_error("cannot write " + list_file);
}

// The drop-in panel folder: the configuration and its windows' bitmaps.
void panel_folder(const art::Context &context, const std::filesystem::path &config_file,
                  const std::filesystem::path &folder) {
  std::ifstream in(config_file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + config_file.string());
  std::vector<std::uint8_t> text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  z480::PanelConfig config = z480::parse_panel_config(
      std::string_view(reinterpret_cast<const char *>(text.data()), text.size()));
  for (const z480::PanelDiagnostic &d : config.diagnostics)
    throw std::runtime_error(config_file.string() + ":" + std::to_string(d.line) + ": " + d.message);
  std::filesystem::create_directories(folder);
  art::write_backgrounds(config, context, folder);
  write_file(folder / config_file.filename(), text);
}

}  // namespace

int main(int argc, char **argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  bool panel = !args.empty() && args[0] == "--panel";
  if (panel) args.erase(args.begin());
  if (args.size() != 3) {
    std::cerr << "usage: make_bitmaps MODULE OUTDIR LIST\n"
                 "       make_bitmaps --panel MODULE PANEL.CFG PANELDIR\n";
    return 2;
  }
  std::string error;
  auto module = z480::Module::load(args[0], &error);
  if (!module) {
    std::cerr << "make_bitmaps: " << error << "\n";
    return 1;
  }
  try {
    art::Context context(*module);
    if (panel)
      panel_folder(context, args[1], args[2]);
    else
      module_bitmaps(context, args[1], args[2]);
  } catch (const std::exception &e) {
    std::cerr << "make_bitmaps: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
