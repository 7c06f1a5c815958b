// How long the renderer takes to draw a whole panel once: every gauge of the
// module placed, laid out at its default size, drawn from one frame's
// snapshot into a picture (the bitmaps already read and cached).
#include <benchmark/benchmark.h>

#include <string>

#include "host/render.h"

namespace {

void BM_RenderWholePanel(benchmark::State &state) {
  std::string error;
  auto module = z480::Module::load(Z480_MODULE_PATH, &error);
  if (!module) throw std::runtime_error(error);
  z480::Host host(*module);
  for (GaugeHeader *g : module->linkage().gauge_header_ptr) {
    if (!g) break;
    host.place(g->gauge_name, g->gauge_name, std::nullopt, &error);
  }
  host.set_var(61, 150);
  host.set_var(74, 5000);
  host.frame();
  z480::Renderer renderer(module->handle());
  constexpr int kWidth = 1600, kHeight = 1200;
  cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
  cairo_t *cr = cairo_create(surface);
  for (auto _ : state) {
    double x = 0, y = 0, row = 0;
    for (const auto &inst : host.instances()) {
      auto [w, h] = renderer.size(*inst);
      double s = inst->header()->size_x_mm * 2.0 / w;
      if (x + w * s > kWidth) {
        x = 0;
        y += row;
        row = 0;
      }
      renderer.draw(cr, *inst, x, y, s, s);
      x += w * s;
      row = std::max(row, h * s);
    }
    cairo_surface_flush(surface);
  }
  state.counters["gauges"] = static_cast<double>(host.instances().size());
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}
BENCHMARK(BM_RenderWholePanel)->Unit(benchmark::kMillisecond);

}  // namespace
