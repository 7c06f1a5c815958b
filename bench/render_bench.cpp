// How long the renderer takes to draw a whole panel: every gauge of the
// module placed, laid out at its default size, drawn from one frame's
// snapshot into a picture. Once with the renderer kept between pictures (its
// bitmaps read and resampled to each gauge's scale already), once with a
// fresh renderer each time, as the first picture of a run costs.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench/bench_module.h"
#include "host/render/render.h"

namespace {

struct WholePanel {
  WholePanel() {
    module = load_bench_module();
    host = std::make_unique<z480::Host>(*module);
    std::string error;
    for (GaugeHeader *g : module->linkage().gauge_header_ptr) {
      if (!g) break;
      host->place(g->gauge_name, g->gauge_name, std::nullopt, &error);
    }
    host->set_var(61, 150);
    host->set_var(74, 5000);
    host->frame();
    surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
    cr = cairo_create(surface);
  }
  ~WholePanel() {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
  }

  void draw(z480::Renderer &renderer) {
    double x = 0, y = 0, row = 0;
    for (const auto &inst : host->instances()) {
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

  static constexpr int kWidth = 1600, kHeight = 1200;
  std::unique_ptr<z480::Module> module;
  std::unique_ptr<z480::Host> host;
  cairo_surface_t *surface;
  cairo_t *cr;
};

void BM_RenderWholePanel(benchmark::State &state) {
  WholePanel panel;
  z480::Renderer renderer(panel.module->handle());
  panel.draw(renderer);
  for (auto _ : state) panel.draw(renderer);
  state.counters["gauges"] = static_cast<double>(panel.host->instances().size());
}
BENCHMARK(BM_RenderWholePanel)->Unit(benchmark::kMillisecond);

void BM_RenderWholePanelFirstPicture(benchmark::State &state) {
  WholePanel panel;
  for (auto _ : state) {
    z480::Renderer renderer(panel.module->handle());
    panel.draw(renderer);
  }
}
BENCHMARK(BM_RenderWholePanelFirstPicture)->Unit(benchmark::kMillisecond);

}  // namespace
