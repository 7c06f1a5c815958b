// Run under Windows (or Wine) beside the built module: loads it as the host
// does and drives the platform layer's Windows side against the real system
// libraries. Prints each failed check; the exit status is their number.
#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "frame/panel.h"
#include "platform/draw_platform.h"
#include "platform/resources.h"
#include "platform/sound_platform.h"
#include "platform/wave.h"
#include "tests/header_routines.h"

namespace {

int failures = 0;
#define CHECK(condition)                                                        \
  do {                                                                          \
    if (!(condition)) {                                                         \
      std::printf("%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      ++failures;                                                               \
    }                                                                           \
  } while (0)

const char *const kGaugeNames[] = {
#define Z480_GAUGE(name) #name,
#include "frame/gauge_list.inc"
#undef Z480_GAUGE
};

// The exported descriptors, found by their plain names, and the registry.
void check_exports(HMODULE module) {
  auto *linkage = reinterpret_cast<GaugeLinkage *>(GetProcAddress(module, "Linkage"));
  auto *imports = reinterpret_cast<GaugeImport *>(GetProcAddress(module, "ImportTable"));
  auto init = reinterpret_cast<PlainRoutine>(GetProcAddress(module, "module_init"));
  auto deinit = reinterpret_cast<PlainRoutine>(GetProcAddress(module, "module_deinit"));
  CHECK(linkage && imports && init && deinit);
  if (!linkage || !imports || !init || !deinit) return;
  CHECK(linkage->module_id == kModuleId && linkage->module_init == init &&
        linkage->module_deinit == deinit);
  CHECK(imports->panels.fn_ptr == nullptr);  // the host fills it
  init();
  deinit();
  std::size_t count = std::size(kGaugeNames);
  for (std::size_t i = 0; i < count; ++i) {
    const GaugeHeader *g = linkage->gauge_header_ptr[i];
    CHECK(g && g->gauge_name && std::strcmp(g->gauge_name, kGaugeNames[i]) == 0);
  }
  CHECK(linkage->gauge_header_ptr[count] == nullptr);
  // Every header's seven routines, each reaching its own gauge's elements.
  for (const std::string &fault : header_routines::check(*linkage, *imports)) {
    std::printf("header routines: %s\n", fault.c_str());
    ++failures;
  }
}

// Resources through the module handle, and handles that are no module: the
// fifteen sounds and every bitmap the build drew.
void check_resources(HMODULE module, int bitmaps_drawn) {
  auto click = platform::find_resource(module, "WAVE", 10);
  CHECK(click.has_value());
  if (click) {
    auto wave = platform::parse_wave(*click);
    CHECK(wave && wave->format.format_tag == platform::kWaveFormatPcm && !wave->data.empty());
  }
  CHECK(!platform::find_resource(module, "WAVE", 0x1000A));  // would alias 10 as a 16-bit id
  CHECK(!platform::find_resource(module, "WAVE", 11));
  CHECK(!platform::find_resource(module, nullptr, 10));
  int local = 0;
  CHECK(!platform::find_resource(&local, "WAVE", 10));
  CHECK(!platform::find_resource(reinterpret_cast<char *>(module) + 16, "WAVE", 10));
  // Bitmaps are stored as DIBs (no file header) that the system's own
  // loader takes.
  int waves = 0, bitmaps = 0;
  for (const auto &e : platform::resource_directory(module)) {
    if (std::strcmp(e.type, "WAVE") == 0) ++waves;
    if (std::strcmp(e.type, "BITMAP") != 0) continue;
    ++bitmaps;
    std::uint32_t header = 0;
    if (e.size >= sizeof header) std::memcpy(&header, e.data, sizeof header);
    CHECK(header == sizeof(BITMAPINFOHEADER) || header == sizeof(BITMAPV5HEADER));
    HBITMAP loaded = LoadBitmapA(module, MAKEINTRESOURCEA(e.id));
    CHECK(loaded != nullptr);
    if (loaded) DeleteObject(loaded);
  }
  CHECK(waves == 15);
  CHECK(bitmaps > 0 && bitmaps == bitmaps_drawn);
  CHECK(platform::resource_directory(&local).empty());
}

// The host's main window by class, and a sound played into it when the
// machine has a sound device.
void check_sound(HMODULE module) {
  std::string path = platform::program_path();
  CHECK(path.size() > 4 && path.find("module_check") != std::string::npos);
  CHECK(platform::find_window("FS98MAIN") == nullptr);
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "FS98MAIN";
  RegisterClassA(&wc);
  HWND window = CreateWindowA("FS98MAIN", "", WS_OVERLAPPEDWINDOW, 0, 0, 64, 64, nullptr, nullptr,
                              wc.hInstance, nullptr);
  CHECK(window && platform::find_window("FS98MAIN") == window);

  void *device = nullptr;
  if (!platform::sound_create_device(&device)) {
    std::printf("module_check: no sound device here; sound buffers not checked\n");
    DestroyWindow(window);
    return;
  }
  CHECK(!platform::sound_set_cooperative_level(device, nullptr, platform::kCooperativeNormal));
  CHECK(platform::sound_set_cooperative_level(device, window, platform::kCooperativeNormal));
  auto wave = platform::parse_wave(*platform::find_resource(module, "WAVE", 10));
  platform::BufferDescription d;
  d.flags = 0x80E0;
  d.bytes = static_cast<std::uint32_t>(wave->data.size());
  d.format = &wave->format;
  void *buffer = nullptr;
  CHECK(platform::sound_create_buffer(device, d, &buffer));
  void *r1 = nullptr, *r2 = nullptr;
  std::uint32_t s1 = 0, s2 = 0;
  CHECK(platform::sound_lock(buffer, 0, d.bytes, &r1, &s1, &r2, &s2) && s1 == d.bytes);
  if (r1) std::memcpy(r1, wave->data.data(), s1);
  CHECK(platform::sound_unlock(buffer, r1, s1, r2, s2));
  CHECK(platform::sound_set_position(buffer, 0));
  CHECK(!platform::sound_play(buffer, 1));  // no looping
  CHECK(platform::sound_set_volume(buffer, -600));
  CHECK(!platform::sound_set_volume(buffer, 1));
  CHECK(platform::sound_play(buffer, 0));
  std::uint32_t status = 0;
  CHECK(platform::sound_status(buffer, &status));
  // The device takes its buffers with it; both handles are stale after.
  platform::sound_release(device);
  CHECK(!platform::sound_status(buffer, &status));
  CHECK(!platform::sound_play(buffer, 0));
  platform::sound_release(buffer);  // ignored
  DestroyWindow(window);
}

// GDI+ into a device context: fills land in the pixels, the clip cuts them,
// a shutdown token never given is ignored, non-finite values are refused.
void check_drawing() {
  constexpr int kSide = 64;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kSide;
  info.bmiHeader.biHeight = -kSide;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void *bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  CHECK(dc && bitmap && bits);
  if (!dc || !bitmap || !bits) return;
  HGDIOBJ old = SelectObject(dc, bitmap);
  auto pixel = [&](int x, int y) { return static_cast<std::uint32_t *>(bits)[y * kSide + x] & 0xFFFFFF; };

  std::uintptr_t token = 0;
  CHECK(platform::draw_startup(&token, {}) == platform::kDrawOk && token != 0);
  platform::draw_shutdown(token + 1);  // ignored
  platform::DrawGraphics *g = nullptr;
  CHECK(platform::draw_create_from_dc(dc, &g) == platform::kDrawOk && g);
  platform::DrawBrushObject *green = nullptr, *red = nullptr;
  CHECK(platform::draw_create_solid_fill(0xFF00FF00, &green) == platform::kDrawOk);
  CHECK(platform::draw_create_solid_fill(0xFFFF0000, &red) == platform::kDrawOk);
  CHECK(platform::draw_fill_rectangle(g, green, 0, 0, kSide, kSide) == platform::kDrawOk);
  CHECK(platform::draw_fill_rectangle(g, red, NAN, 0, 1, 1) == platform::kDrawInvalidParameter);
  platform::DrawPathObject *circle = nullptr;
  CHECK(platform::draw_create_path(platform::kFillAlternate, &circle) == platform::kDrawOk);
  CHECK(platform::draw_add_path_ellipse(circle, 0, 0, kSide, kSide) == platform::kDrawOk);
  CHECK(platform::draw_close_path_figure(circle) == platform::kDrawOk);
  CHECK(platform::draw_set_clip_path(g, circle, platform::kCombineReplace) == platform::kDrawOk);
  CHECK(platform::draw_fill_rectangle(g, red, 0, 0, kSide, kSide) == platform::kDrawOk);
  // A machine may lack the generic family's fonts (a bare Wine prefix does);
  // then the call says so and gives no handle, and a named family stands in.
  platform::DrawFamilyObject *sans = nullptr;
  platform::DrawStatus generic = platform::draw_generic_sans_serif_family(&sans);
  CHECK(generic == platform::kDrawOk ? sans != nullptr
                                     : generic == platform::kDrawFontFamilyNotFound && !sans);
  for (const char16_t *name : {u"Tahoma", u"DejaVu Sans"})
    if (!sans) platform::draw_create_font_family_from_name(name, nullptr, &sans);
  platform::DrawFontObject *font = nullptr;
  CHECK(platform::draw_create_font(sans, 3, 0, platform::kUnitPoint, &font) == platform::kDrawOk);
  CHECK(platform::draw_create_font(sans, 3, 0, platform::kUnitDisplay, &font) ==
        platform::kDrawInvalidParameter);
  platform::DrawRectF at{1, 1, 0, 0};
  CHECK(platform::draw_draw_string(g, u"RNG", -1, font, &at, nullptr, green) == platform::kDrawOk);
  platform::DrawFamilyObject *missing = nullptr;
  CHECK(platform::draw_create_font_family_from_name(u"No Such Family Z480", nullptr, &missing) ==
        platform::kDrawFontFamilyNotFound);
  platform::draw_delete_font(font);
  platform::draw_delete_font_family(sans);
  platform::draw_delete_path(circle);
  platform::draw_delete_brush(green);
  platform::draw_delete_brush(red);
  platform::draw_delete_graphics(g);
  CHECK(pixel(kSide / 2, kSide / 2) == 0xFF0000);  // inside the clip: red
  CHECK(pixel(0, 0) == 0x00FF00);                  // the corner outside it: green
  platform::draw_shutdown(token);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 3) {
    std::printf("usage: module_check Z480_Instr.gau BITMAP_COUNT\n");
    return 2;
  }
  HMODULE module = LoadLibraryA(argv[1]);
  CHECK(module != nullptr);
  if (!module) return failures;
  check_exports(module);
  check_resources(module, std::atoi(argv[2]));
  check_sound(module);
  check_drawing();
  FreeLibrary(module);
  std::printf("module_check: %d failed\n", failures);
  return failures;
}
