// make_bitmaps MODULE OUTDIR LIST: draws every bitmap of the module into
// OUTDIR/ID.bmp and writes LIST, the resource arguments ("BITMAP path", one a
// line) for embed_resources. Fails when a bitmap the module's element trees
// name has no design, so the module never ships without one.
#include <algorithm>
#include <fstream>
#include <iostream>
#include <set>

#include "host/util/dib.h"
#include "tools/artwork/generator.h"

namespace {

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
    art::write_file(path, z480::bmp_file(z480::encode_dib(canvas.pixels())));
    list << "BITMAP\n" << path << "\n";
  }
  for (const auto &[id, gauge] : context.named())
    if (!drawn.count(id))
      throw std::runtime_error(gauge + " names bitmap " + std::to_string(id) + ", which has no design");
  if (!list) throw std::runtime_error("cannot write " + list_file);
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 4) {
    std::cerr << "usage: make_bitmaps MODULE OUTDIR LIST\n";
    return 2;
  }
  std::string error;
  auto module = z480::Module::load(argv[1], &error);
  if (!module) {
    std::cerr << "make_bitmaps: " << error << "\n";
    return 1;
  }
  try {
    art::Context context(*module);
    module_bitmaps(context, argv[2], argv[3]);
  } catch (const std::exception &e) {
    std::cerr << "make_bitmaps: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
