// The designs' registry and what they read of the module (generator.h).
#include "tools/artwork/generator.h"

#include <algorithm>
#include <cmath>
#include <fstream>

#include "host/core/needle.h"

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

void write_file(const std::filesystem::path &path, const std::vector<std::uint8_t> &bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
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

