// Panel windows' background bitmaps: the build's panel folder holds one for
// every window of the aircraft's panel, the host finds and reads them as the
// simulator does, and a missing or damaged one costs a warning, the window
// keeping its colour.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/panel/panel_background.h"
#include "host/render/png.h"
#include "host/core/panel_loader.h"
#include "host/core/pixels.h"
#include "host/render/render.h"
#include "host/script/script.h"

namespace z480 {
namespace {

namespace fs = std::filesystem;

void write(const fs::path &path, const std::string &bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string bmp(const Pixels &p) {
  std::vector<std::uint8_t> file = bmp_file(encode_dib(p));
  return {file.begin(), file.end()};
}

class PanelBackground : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("z480-background-test-" + std::to_string(getpid()));
    fs::create_directories(dir);
    std::string error;
    module = Module::load(Z480_MODULE_PATH, &error);
    ASSERT_TRUE(module) << error;
  }
  void TearDown() override { fs::remove_all(dir); }

  fs::path dir;
  std::unique_ptr<Module> module;
};

TEST_F(PanelBackground, TheBuiltPanelFolderIsTheAircraftsPanelWithEveryWindowsBitmap) {
  fs::path folder = Z480_PANEL_FOLDER;
  std::string text = read_file(Z480_SOURCE_DIR "/panel/panel.cfg").value_or("");
  EXPECT_EQ(read_file(folder / "panel.cfg").value_or(""), text);
  PanelConfig config = parse_panel_config(text);
  Host host(*module);
  for (const PanelDiagnostic &d : load_panel(host, config, {folder}))
    ADD_FAILURE() << "panel.cfg:" << d.line << ": " << d.message;
  for (const PanelWindowConfig &w : host.panel_windows()) {
    // Only the invisible shutdown window goes without.
    if (w.title == "Engine Shutdown") continue;
    EXPECT_FALSE(w.file.empty()) << w.title << " names no background";
    ASSERT_TRUE(w.background) << w.title;
    EXPECT_EQ(w.background->width, w.width) << w.title;
    EXPECT_EQ(w.background->height, w.height) << w.title;
  }
}

TEST_F(PanelBackground, TheRendererStretchesTheBitmapOverTheWindowOrKeepsTheColour) {
  // A red-and-blue bitmap of 2 x 1 pixels under a window of 100 x 50.
  write(dir / "halves.bmp", bmp({2, 1, {0xff0000, 0x0000ff}}));
  write(dir / "damaged.bmp", "BM not a bitmap at all");
  std::string text =
      "[Window00]\nident=MAIN_PANEL\nsize_mm=100,50\nfile=Halves.BMP\nbackground_color=0,128,0\n"
      "[Window01]\nident=RADIO_STACK_PANEL\nsize_mm=100,50\nfile=missing.bmp\nbackground_color=0,128,0\n"
      "[Window02]\nident=THROTTLE_PANEL\nsize_mm=100,50\nfile=damaged.bmp\nbackground_color=0,128,0\n"
      "[Window03]\nident=COMPASS_PANEL\nfile=halves.bmp\n";
  Host host(*module);
  std::vector<PanelDiagnostic> report = load_panel(host, parse_panel_config(text), {dir});
  ASSERT_EQ(report.size(), 2u);
  EXPECT_EQ(report[0].line, 6);
  EXPECT_NE(report[0].message.find("no background missing.bmp"), std::string::npos) << report[0].message;
  EXPECT_EQ(report[1].line, 11);
  EXPECT_NE(report[1].message.find("damaged.bmp cannot be used"), std::string::npos) << report[1].message;
  for (const PanelDiagnostic &d : report)
    EXPECT_NE(d.message.find("shows its background colour"), std::string::npos) << d.message;

  host.frame();
  std::string error;
  fs::path main = dir / "main.png", radios = dir / "radios.png", compass = dir / "compass.png";
  ASSERT_TRUE(render_png(host, main.string(), panel_ident("MAIN_PANEL"), &error)) << error;
  ASSERT_TRUE(render_png(host, radios.string(), panel_ident("RADIO_STACK_PANEL"), &error)) << error;
  ASSERT_TRUE(render_png(host, compass.string(), panel_ident("COMPASS_PANEL"), &error)) << error;
  auto stretched = read_png(main.string()), plain = read_png(radios.string()),
       own_size = read_png(compass.string());
  ASSERT_TRUE(stretched && plain && own_size);
  // Without size_mm the bitmap's pixels are the window's units.
  EXPECT_EQ(own_size->width, 2);
  EXPECT_EQ(own_size->height, 1);
  EXPECT_EQ(stretched->at(10, 25) & 0xffffff, 0xff0000u);
  EXPECT_EQ(stretched->at(90, 25) & 0xffffff, 0x0000ffu);
  EXPECT_EQ(plain->at(50, 25) & 0xffffff, 0x008000u);
}

TEST_F(PanelBackground, AFileIsFoundInTheFirstFolderHoldingItAndNeverOutsideThem) {
  fs::path first = dir / "aircraft", second = dir / "build";
  fs::create_directories(first);
  fs::create_directories(second);
  write(second / "both.bmp", "second");
  write(first / "Both.bmp", "first");
  write(second / "only.bmp", "second");
  write(dir / "outside.bmp", "outside");
  EXPECT_EQ(find_panel_file({first, second}, "BOTH.bmp"), first / "Both.bmp");
  EXPECT_EQ(find_panel_file({first, second}, "only.bmp"), second / "only.bmp");
  for (const char *name : {"../outside.bmp", "build/only.bmp", "", "..", "nothing.bmp"})
    EXPECT_FALSE(find_panel_file({first, second}, name)) << name;

  std::string why;
  write(dir / "truncated.bmp", bmp({4, 4, std::vector<std::uint32_t>(16, 0x123456)}).substr(0, 60));
  EXPECT_FALSE(read_bmp_file(dir / "truncated.bmp", &why));
  EXPECT_FALSE(why.empty());
  EXPECT_FALSE(read_bmp_file(dir / "absent.bmp", &why));
  EXPECT_EQ(why, "it cannot be read");
  EXPECT_FALSE(read_bmp_file(dir, &why));
  EXPECT_EQ(why, "it is a directory, not a file");
}

}  // namespace
}  // namespace z480
