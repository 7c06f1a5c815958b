// The drawing layer of this machine, on cairo (drawing) and fontconfig (font
// families). A graphics draws straight into the pixels of the device
// context the host lent, so what the module draws is what the host shows.
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <new>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/draw_cairo_shapes.h"
#include "platform/draw_control.h"
#include "platform/draw_platform.h"

namespace platform {

using cairo_shapes::DeviceBox;
using cairo_shapes::Shape;
using cairo_shapes::ShapeKind;
using Rgba = cairo_shapes::Colour;

// A clip that is one ellipse: the ellipse, and the map from device pixels
// into the space it was given in.
struct EllipseClip {
  cairo_matrix_t from_device;
  cairo_shapes::EllipseCut cut;
};

struct DrawGraphics {
  cairo_surface_t *surface = nullptr;
  cairo_t *cr = nullptr;
  pixman_image_t *pixels = nullptr;  // the surface's, for blending kept shapes
  cairo_font_options_t *text = nullptr;
  bool clip_set = false;
  std::uint64_t clips_made = 0;
  std::optional<EllipseClip> ellipse_clip;
  cairo_shapes::ShapeCache shapes;
  // By font face and em size, made for the current transform and text hint.
  std::map<std::pair<cairo_font_face_t *, double>, cairo_scaled_font_t *> fonts;
};
struct DrawPenObject {
  Rgba colour;
  double width;
  std::int32_t unit;
};
struct DrawBrushObject {
  Rgba colour;
};
struct DrawFamilyObject {
  std::string name;
};
struct DrawFontObject {
  cairo_font_face_t *face = nullptr;
  double em = 0;  // world units
  std::int32_t style = 0;
};
struct DrawPathObject {
  cairo_fill_rule_t rule;
  std::vector<DrawRectF> ellipses;
};

namespace {

struct State {
  std::set<std::uintptr_t> tokens;
  std::uintptr_t next_token = 1;
  std::size_t live = 0;
  bool fail_next = false;
  bool throw_next = false;
  // Family name asked for -> the installed family, or none. Fonts do not
  // come and go while the host runs.
  std::map<std::string, std::optional<std::string>> families;
};

State &state() {
  static State s;
  return s;
}

bool failing() {
  State &s = state();
  if (!s.fail_next) return false;
  s.fail_next = false;
  return true;
}

// Before a cache or list grows: the growth that the host asked to run out
// of memory throws, as the allocator would.
void grow() {
  State &s = state();
  if (!s.throw_next) return;
  s.throw_next = false;
  throw std::bad_alloc();
}

// Coordinates and sizes far beyond any screen are refused with the
// non-numbers, before cairo's fixed-point arithmetic sees them.
constexpr double kLargestValue = 1.0e7;
bool usable(double v) { return std::isfinite(v) && std::fabs(v) <= kLargestValue; }
template <typename... V>
bool usable(double v, V... rest) {
  return usable(v) && usable(rest...);
}

Rgba rgba(std::uint32_t argb) {
  return {((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0,
          ((argb >> 24) & 0xFF) / 255.0};
}

// Pixels per unit at the screen's 96 dots per inch; world has none.
std::optional<double> pixels_per_unit(std::int32_t unit) {
  switch (unit) {
    case kUnitDisplay:
    case kUnitPixel: return 1.0;
    case kUnitPoint: return 96.0 / 72.0;
    case kUnitInch: return 96.0;
    case kUnitDocument: return 96.0 / 300.0;
    case kUnitMillimeter: return 96.0 / 25.4;
    default: return std::nullopt;
  }
}

// Checks shared by every creation; the object is made only when they pass.
DrawStatus may_create(const void *out) {
  if (!out) return kDrawInvalidParameter;
  if (state().tokens.empty()) return kDrawNotInitialized;
  if (failing()) return kDrawOutOfMemory;
  return kDrawOk;
}

template <typename T>
DrawStatus keep(T *object, T **out) {
  if (!object) return kDrawOutOfMemory;
  ++state().live;
  *out = object;
  return kDrawOk;
}

template <typename T>
DrawStatus release(T *object) {
  if (!object) return kDrawInvalidParameter;
  delete object;
  --state().live;
  return kDrawOk;
}

// A drawing call's graphics is usable when it exists and cairo has not
// given up on it.
bool drawable(const DrawGraphics *g) { return g && cairo_status(g->cr) == CAIRO_STATUS_SUCCESS; }

DrawStatus settled(DrawGraphics *g) {
  return cairo_status(g->cr) == CAIRO_STATUS_SUCCESS ? kDrawOk : kDrawGenericError;
}

void set_source(cairo_t *cr, const Rgba &c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }

// The device pixels a user-space box can touch: its corners' box, one
// pixel to spare for a soft edge.
DeviceBox device_box(cairo_t *cr, double x1, double y1, double x2, double y2) {
  double dx[4] = {x1, x2, x1, x2}, dy[4] = {y1, y1, y2, y2};
  DeviceBox box{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
  for (int i = 0; i < 4; ++i) {
    cairo_user_to_device(cr, &dx[i], &dy[i]);
    box = {std::fmin(box.x0, dx[i]), std::fmin(box.y0, dy[i]), std::fmax(box.x1, dx[i]),
           std::fmax(box.y1, dy[i])};
  }
  return {box.x0 - 1, box.y0 - 1, box.x1 + 1, box.y1 + 1};
}

// Whether the device box lies wholly inside the ellipse clip. The ellipse
// is convex, so the box's four corners decide.
bool inside_clip(const DrawGraphics *g, const DeviceBox &box) {
  if (!g->ellipse_clip) return false;
  const EllipseClip &c = *g->ellipse_clip;
  double px[4] = {box.x0, box.x1, box.x0, box.x1};
  double py[4] = {box.y0, box.y0, box.y1, box.y1};
  for (int i = 0; i < 4; ++i) {
    cairo_matrix_transform_point(&c.from_device, &px[i], &py[i]);
    double u = (px[i] - c.cut.cx) / c.cut.rx, v = (py[i] - c.cut.cy) / c.cut.ry;
    if (!(u * u + v * v < 1.0)) return false;
  }
  return true;
}

// Draws the shape: blended from its kept coverage when it has been drawn
// before, else rasterised, leaving out a clip that could cut nothing of it
// (cutting to a curve costs far more than drawing a small symbol).
DrawStatus draw_shape(DrawGraphics *g, const Shape &shape, const Rgba &colour) {
  // Round joins and caps reach half the width beyond the path; a miter's
  // spike on a curve a little more.
  double spread = shape.outline ? shape.pen * 2 : 0.0;
  DeviceBox box = device_box(g->cr, std::fmin(shape.x, shape.x + shape.w) - spread,
                             std::fmin(shape.y, shape.y + shape.h) - spread,
                             std::fmax(shape.x, shape.x + shape.w) + spread,
                             std::fmax(shape.y, shape.y + shape.h) + spread);
  bool inside = inside_clip(g, box);
  const cairo_shapes::EllipseCut *cut = nullptr;
  if (g->clip_set && !inside) cut = g->ellipse_clip ? &g->ellipse_clip->cut : nullptr;
  if ((!g->clip_set || inside || cut) && g->shapes.paint(g->cr, g->pixels, shape, box, cut, colour))
    return settled(g);
  cairo_t *cr = g->cr;
  cairo_shapes::trace(cr, shape);
  set_source(cr, colour);
  if (shape.outline) cairo_set_line_width(cr, shape.pen);
  auto draw = shape.outline ? cairo_stroke : cairo_fill;
  if (!inside) {
    draw(cr);
  } else {
    cairo_save(cr);
    cairo_reset_clip(cr);
    draw(cr);
    cairo_restore(cr);
  }
  return settled(g);
}

// The pen's width in user units.
double pen_width(cairo_t *cr, const DrawPenObject &pen) {
  if (pen.unit == kUnitWorld && pen.width != 0) return pen.width;
  // Device widths do not scale with the world transform; 0 is one pixel.
  double dx = (pen.width == 0 ? 1.0 : pen.width * *pixels_per_unit(pen.unit)), dy = 0;
  cairo_device_to_user_distance(cr, &dx, &dy);
  return std::hypot(dx, dy);
}

// The font at its size on the graphics, as cairo makes it from the face,
// size and text options; null when cairo cannot.
cairo_scaled_font_t *scaled_font(DrawGraphics *g, const DrawFontObject &font) {
  auto key = std::make_pair(font.face, font.em);
  if (auto it = g->fonts.find(key); it != g->fonts.end()) return it->second;
  cairo_t *cr = g->cr;
  cairo_save(cr);
  cairo_set_font_face(cr, font.face);
  cairo_set_font_size(cr, font.em);
  cairo_set_font_options(cr, g->text);
  cairo_scaled_font_t *made = cairo_scaled_font_reference(cairo_get_scaled_font(cr));
  cairo_restore(cr);
  if (cairo_scaled_font_status(made) != CAIRO_STATUS_SUCCESS) {
    cairo_scaled_font_destroy(made);
    return nullptr;
  }
  // Held here, the face outlives the key that names it.
  try {
    grow();
    g->fonts.emplace(key, made);
  } catch (...) {
    cairo_scaled_font_destroy(made);
    throw;
  }
  return made;
}

// Fonts are made for a transform and text options; either changing makes
// them anew.
void forget_fonts(DrawGraphics *g) {
  g->shapes.forget_glyphs();
  for (auto &[key, font] : g->fonts) cairo_scaled_font_destroy(font);
  g->fonts.clear();
}

std::string utf8(const char16_t *text, std::size_t length) {
  std::string out;
  out.reserve(length);
  for (std::size_t i = 0; i < length; ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;  // a lone half of a pair
    }
    if (c == 0) continue;  // cairo would end the text there
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// The family of that name among the installed fonts, or none.
std::optional<std::string> installed_family(const std::string &name) {
  auto &cache = state().families;
  if (auto it = cache.find(name); it != cache.end()) return it->second;
  std::optional<std::string> found;
  FcPattern *pattern = FcPatternCreate();
  FcObjectSet *objects = FcObjectSetBuild(FC_FAMILY, nullptr);
  if (pattern && objects &&
      FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(name.c_str()))) {
    if (FcFontSet *fonts = FcFontList(nullptr, pattern, objects)) {
      if (fonts->nfont > 0) found = name;
      FcFontSetDestroy(fonts);
    }
  }
  if (objects) FcObjectSetDestroy(objects);
  if (pattern) FcPatternDestroy(pattern);
  grow();
  cache.emplace(name, found);
  return found;
}

// The family fontconfig picks for the generic name "sans-serif".
std::optional<std::string> sans_serif_family() {
  static const std::string kGeneric = "sans-serif";
  auto &cache = state().families;
  if (auto it = cache.find(kGeneric); it != cache.end()) return it->second;
  std::optional<std::string> found;
  if (FcPattern *pattern = FcNameParse(reinterpret_cast<const FcChar8 *>(kGeneric.c_str()))) {
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    if (FcPattern *match = FcFontMatch(nullptr, pattern, &result)) {
      FcChar8 *family = nullptr;
      if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch && family)
        found = reinterpret_cast<const char *>(family);
      FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
  }
  cache.emplace(kGeneric, found);
  return found;
}

DrawStatus make_family(const std::optional<std::string> &name, DrawFamilyObject **family) {
  if (!name) return kDrawFontFamilyNotFound;
  return keep(new (std::nothrow) DrawFamilyObject{*name}, family);
}

DrawStatus transform(DrawGraphics *g, const cairo_matrix_t &m, std::int32_t order) {
  if (!drawable(g)) return kDrawInvalidParameter;
  if (order != kOrderPrepend && order != kOrderAppend) return kDrawInvalidParameter;
  cairo_matrix_t ctm, result;
  cairo_get_matrix(g->cr, &ctm);
  // cairo_matrix_multiply applies its first matrix first.
  if (order == kOrderPrepend)
    cairo_matrix_multiply(&result, &m, &ctm);
  else
    cairo_matrix_multiply(&result, &ctm, &m);
  cairo_matrix_t check = result;
  if (!usable(result.xx, result.yx, result.xy, result.yy, result.x0, result.y0) ||
      cairo_matrix_invert(&check) != CAIRO_STATUS_SUCCESS)
    return kDrawInvalidParameter;
  cairo_set_matrix(g->cr, &result);
  forget_fonts(g);
  return settled(g);
}

}  // namespace

// --- the library

DrawStatus draw_startup(std::uintptr_t *token, const DrawStartupInput &input) {
  if (!token) return kDrawInvalidParameter;
  if (input.version != 1) return kDrawUnsupportedVersion;
  if (failing()) return kDrawOutOfMemory;
  State &s = state();
  *token = s.next_token++;
  s.tokens.insert(*token);
  ++s.live;
  return kDrawOk;
}

void draw_shutdown(std::uintptr_t token) {
  if (state().tokens.erase(token)) --state().live;
}

void *draw_alloc(std::size_t bytes) {
  if (failing()) return nullptr;
  void *memory = std::malloc(bytes ? bytes : 1);
  if (memory) ++state().live;
  return memory;
}

void draw_free(void *memory) {
  if (!memory) return;
  std::free(memory);
  --state().live;
}

// --- graphics

DrawStatus draw_create_from_dc(void *dc, DrawGraphics **graphics) {
  const auto *pc = static_cast<const PixelContext *>(dc);
  if (!pc || !pc->pixels || pc->width < 1 || pc->height < 1 || pc->width > 32767 ||
      pc->height > 32767 || pc->stride % 4 != 0 ||
      pc->stride < cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, pc->width))
    return kDrawInvalidParameter;
  if (DrawStatus s = may_create(graphics)) return s;
  auto *g = new (std::nothrow) DrawGraphics;
  if (!g) return kDrawOutOfMemory;
  g->surface = cairo_image_surface_create_for_data(pc->pixels, CAIRO_FORMAT_ARGB32, pc->width,
                                                   pc->height, pc->stride);
  g->cr = cairo_create(g->surface);
  g->pixels = pixman_image_create_bits(PIXMAN_a8r8g8b8, pc->width, pc->height,
                                       reinterpret_cast<std::uint32_t *>(pc->pixels), pc->stride);
  g->text = cairo_font_options_create();
  if (cairo_status(g->cr) != CAIRO_STATUS_SUCCESS || !g->pixels ||
      cairo_font_options_status(g->text) != CAIRO_STATUS_SUCCESS) {
    cairo_font_options_destroy(g->text);
    if (g->pixels) pixman_image_unref(g->pixels);
    cairo_destroy(g->cr);
    cairo_surface_destroy(g->surface);
    delete g;
    return kDrawOutOfMemory;
  }
  // A new graphics draws without smoothing until told otherwise.
  cairo_set_antialias(g->cr, CAIRO_ANTIALIAS_NONE);
  return keep(g, graphics);
}

DrawStatus draw_delete_graphics(DrawGraphics *g) {
  if (!g) return kDrawInvalidParameter;
  cairo_surface_flush(g->surface);
  forget_fonts(g);
  pixman_image_unref(g->pixels);
  cairo_font_options_destroy(g->text);
  cairo_destroy(g->cr);
  cairo_surface_destroy(g->surface);
  return release(g);
}

DrawStatus draw_set_smoothing_mode(DrawGraphics *g, std::int32_t mode) {
  if (!drawable(g)) return kDrawInvalidParameter;
  switch (mode) {
    case kSmoothingDefault:
    case kSmoothingHighSpeed:
    case kSmoothingNone: cairo_set_antialias(g->cr, CAIRO_ANTIALIAS_NONE); break;
    case kSmoothingHighQuality:
    case kSmoothingAntiAlias:
    case kSmoothingAntiAlias8x8: cairo_set_antialias(g->cr, CAIRO_ANTIALIAS_GOOD); break;
    default: return kDrawInvalidParameter;
  }
  return settled(g);
}

DrawStatus draw_set_text_rendering_hint(DrawGraphics *g, std::int32_t hint) {
  if (!drawable(g)) return kDrawInvalidParameter;
  if (hint < kTextSystemDefault || hint > kTextClearTypeGridFit) return kDrawInvalidParameter;
  bool single_bit = hint == kTextSingleBitGridFit || hint == kTextSingleBit;
  bool grid_fit = hint == kTextSingleBitGridFit || hint == kTextAntiAliasGridFit ||
                  hint == kTextClearTypeGridFit;
  // The pixels have no subpixel order, so ClearType draws grey too.
  cairo_font_options_set_antialias(g->text,
                                   single_bit ? CAIRO_ANTIALIAS_NONE : CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_metrics(g->text, grid_fit ? CAIRO_HINT_METRICS_ON
                                                        : CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(g->text, grid_fit ? CAIRO_HINT_STYLE_SLIGHT
                                                      : CAIRO_HINT_STYLE_NONE);
  forget_fonts(g);
  return kDrawOk;
}

DrawStatus draw_scale_world_transform(DrawGraphics *g, float sx, float sy, std::int32_t order) {
  if (!usable(sx, sy)) return kDrawInvalidParameter;
  cairo_matrix_t m;
  cairo_matrix_init_scale(&m, sx, sy);
  return transform(g, m, order);
}

DrawStatus draw_translate_world_transform(DrawGraphics *g, float dx, float dy,
                                          std::int32_t order) {
  if (!usable(dx, dy)) return kDrawInvalidParameter;
  cairo_matrix_t m;
  cairo_matrix_init_translate(&m, dx, dy);
  return transform(g, m, order);
}

DrawStatus draw_set_clip_path(DrawGraphics *g, DrawPathObject *path, std::int32_t combine) {
  if (!drawable(g) || !path) return kDrawInvalidParameter;
  if (combine != kCombineReplace && combine != kCombineIntersect) return kDrawNotImplemented;
  cairo_t *cr = g->cr;
  if (combine == kCombineReplace) cairo_reset_clip(cr);
  // One ellipse on its own is a clip whose inside is easy to tell, and
  // that a kept shape can be cut to.
  g->clip_set = true;
  g->ellipse_clip.reset();
  if (combine == kCombineReplace && path->ellipses.size() == 1) {
    const DrawRectF &e = path->ellipses[0];
    EllipseClip c;
    cairo_get_matrix(cr, &c.cut.to_device);
    c.from_device = c.cut.to_device;
    c.cut.cx = e.x + e.width / 2.0;
    c.cut.cy = e.y + e.height / 2.0;
    c.cut.rx = std::fabs(e.width / 2.0);
    c.cut.ry = std::fabs(e.height / 2.0);
    c.cut.antialias = cairo_get_antialias(cr);
    c.cut.generation = ++g->clips_made;
    if (c.cut.rx > 0 && c.cut.ry > 0 &&
        cairo_matrix_invert(&c.from_device) == CAIRO_STATUS_SUCCESS)
      g->ellipse_clip = c;
  }
  cairo_new_path(cr);
  for (const DrawRectF &e : path->ellipses)
    cairo_shapes::ellipse_path(cr, e.x, e.y, e.width, e.height);
  cairo_fill_rule_t rule = cairo_get_fill_rule(cr);
  cairo_set_fill_rule(cr, path->rule);
  cairo_clip(cr);
  cairo_set_fill_rule(cr, rule);
  return settled(g);
}

DrawStatus draw_fill_rectangle(DrawGraphics *g, DrawBrushObject *brush, float x, float y,
                               float width, float height) {
  if (!drawable(g) || !brush || !usable(x, y, width, height)) return kDrawInvalidParameter;
  return draw_shape(g, {ShapeKind::kRectangle, x, y, width, height, false, 0.0}, brush->colour);
}

DrawStatus draw_draw_ellipse(DrawGraphics *g, DrawPenObject *pen, float x, float y, float width,
                             float height) {
  if (!drawable(g) || !pen || !usable(x, y, width, height)) return kDrawInvalidParameter;
  return draw_shape(g, {ShapeKind::kEllipse, x, y, width, height, true, pen_width(g->cr, *pen)},
                    pen->colour);
}

DrawStatus draw_draw_line(DrawGraphics *g, DrawPenObject *pen, float x1, float y1, float x2,
                          float y2) {
  if (!drawable(g) || !pen || !usable(x1, y1, x2, y2)) return kDrawInvalidParameter;
  return draw_shape(g,
                    {ShapeKind::kLine, x1, y1, static_cast<double>(x2) - x1,
                     static_cast<double>(y2) - y1, true, pen_width(g->cr, *pen)},
                    pen->colour);
}

DrawStatus draw_draw_string(DrawGraphics *g, const char16_t *text, std::int32_t length,
                            DrawFontObject *font, const DrawRectF *layout, const void *format,
                            DrawBrushObject *brush) {
  if (!drawable(g) || !text || !font || !layout || !brush || length < -1 ||
      !usable(layout->x, layout->y, layout->width, layout->height))
    return kDrawInvalidParameter;
  if (format) return kDrawNotImplemented;
  std::size_t n = 0;
  if (length >= 0) {
    n = static_cast<std::size_t>(length);
  } else {
    while (text[n] != 0) ++n;
  }
  if (n == 0) return kDrawOk;
  cairo_scaled_font_t *scaled = scaled_font(g, *font);
  if (!scaled) return kDrawGenericError;
  cairo_t *cr = g->cr;
  // Set outside the saved state, it stays for the next text in this font.
  cairo_set_scaled_font(cr, scaled);
  cairo_save(cr);
  bool boxed = layout->width > 0 && layout->height > 0;
  if (boxed) {
    cairo_new_path(cr);
    cairo_rectangle(cr, layout->x, layout->y, layout->width, layout->height);
    cairo_clip(cr);
  }
  set_source(cr, brush->colour);
  cairo_font_extents_t fe;
  cairo_scaled_font_extents(scaled, &fe);
  // No line is wider than its characters at the widest advance; an em
  // around it covers overhangs.
  auto ink = [&](double top, std::size_t characters, std::size_t lines) {
    double reach = static_cast<double>(characters + 1) * std::fmax(fe.max_x_advance, font->em);
    return device_box(cr, layout->x - font->em, top - font->em, layout->x + reach + font->em,
                      top + static_cast<double>(lines) * fe.height + font->em);
  };
  // Text wholly inside the clip skips it; unclipped, its lines can be kept.
  bool free = !g->clip_set && !boxed;
  std::size_t lines = 1 + static_cast<std::size_t>(std::count(text, text + n, u'\n'));
  if (!boxed && inside_clip(g, ink(layout->y, n, lines))) {
    cairo_reset_clip(cr);
    free = true;
  }
  double baseline = layout->y + fe.ascent;
  // One line per line break, each with its top at the previous one's bottom.
  std::size_t start = 0;
  while (start <= n) {
    std::size_t end = start;
    while (end < n && text[end] != u'\n') ++end;
    std::string line = utf8(text + start, end - start);
    cairo_glyph_t *glyphs = nullptr;
    int count = 0;
    if (cairo_scaled_font_text_to_glyphs(scaled, layout->x, baseline, line.data(),
                                         static_cast<int>(line.size()), &glyphs, &count, nullptr,
                                         nullptr, nullptr) == CAIRO_STATUS_SUCCESS &&
        !(free && g->shapes.paint_glyphs(cr, g->pixels, scaled, glyphs, count,
                                         ink(baseline - fe.ascent, end - start, 1),
                                         brush->colour)))
      cairo_show_glyphs(cr, glyphs, count);
    cairo_glyph_free(glyphs);
    if (font->style & (kFontUnderline | kFontStrikeout)) {
      cairo_text_extents_t te;
      cairo_text_extents(cr, line.c_str(), &te);
      cairo_set_line_width(cr, font->em / 14.0);
      if (font->style & kFontUnderline) {
        cairo_move_to(cr, layout->x, baseline + fe.descent / 2);
        cairo_rel_line_to(cr, te.x_advance, 0);
      }
      if (font->style & kFontStrikeout) {
        cairo_move_to(cr, layout->x, baseline - fe.ascent / 3);
        cairo_rel_line_to(cr, te.x_advance, 0);
      }
      cairo_stroke(cr);
    }
    baseline += fe.height;
    start = end + 1;
  }
  cairo_restore(cr);
  return settled(g);
}

// --- paths

DrawStatus draw_create_path(std::int32_t fill_mode, DrawPathObject **path) {
  if (fill_mode != kFillAlternate && fill_mode != kFillWinding) return kDrawInvalidParameter;
  if (DrawStatus s = may_create(path)) return s;
  cairo_fill_rule_t rule =
      fill_mode == kFillAlternate ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING;
  return keep(new (std::nothrow) DrawPathObject{rule, {}}, path);
}

DrawStatus draw_delete_path(DrawPathObject *path) { return release(path); }

DrawStatus draw_add_path_ellipse(DrawPathObject *path, float x, float y, float width,
                                 float height) {
  if (!path || !usable(x, y, width, height)) return kDrawInvalidParameter;
  grow();
  path->ellipses.push_back({x, y, width, height});
  return kDrawOk;
}

// Each ellipse is a closed figure already.
DrawStatus draw_close_path_figure(DrawPathObject *path) {
  return path ? kDrawOk : kDrawInvalidParameter;
}

// --- pens and brushes

DrawStatus draw_create_pen(std::uint32_t argb, float width, std::int32_t unit,
                           DrawPenObject **pen) {
  if (!usable(width) || width < 0 || (unit != kUnitWorld && !pixels_per_unit(unit)))
    return kDrawInvalidParameter;
  if (DrawStatus s = may_create(pen)) return s;
  return keep(new (std::nothrow) DrawPenObject{rgba(argb), width, unit}, pen);
}

DrawStatus draw_delete_pen(DrawPenObject *pen) { return release(pen); }

DrawStatus draw_create_solid_fill(std::uint32_t argb, DrawBrushObject **brush) {
  if (DrawStatus s = may_create(brush)) return s;
  return keep(new (std::nothrow) DrawBrushObject{rgba(argb)}, brush);
}

DrawStatus draw_clone_brush(DrawBrushObject *brush, DrawBrushObject **copy) {
  if (!brush) return kDrawInvalidParameter;
  if (DrawStatus s = may_create(copy)) return s;
  return keep(new (std::nothrow) DrawBrushObject{*brush}, copy);
}

DrawStatus draw_delete_brush(DrawBrushObject *brush) { return release(brush); }

// --- fonts

DrawStatus draw_create_font_family_from_name(const char16_t *name, void *collection,
                                             DrawFamilyObject **family) {
  if (!name || collection) return kDrawInvalidParameter;
  if (DrawStatus s = may_create(family)) return s;
  std::size_t n = 0;
  while (name[n] != 0 && n < 256) ++n;
  std::string wanted = utf8(name, n);
  if (wanted.empty()) return kDrawFontFamilyNotFound;
  return make_family(installed_family(wanted), family);
}

DrawStatus draw_generic_sans_serif_family(DrawFamilyObject **family) {
  if (DrawStatus s = may_create(family)) return s;
  return make_family(sans_serif_family(), family);
}

DrawStatus draw_delete_font_family(DrawFamilyObject *family) { return release(family); }

DrawStatus draw_create_font(DrawFamilyObject *family, float em_size, std::int32_t style,
                            std::int32_t unit, DrawFontObject **font) {
  constexpr float kLargestEm = 10000.0f;
  if (!family || !usable(em_size) || em_size <= 0 || em_size > kLargestEm || style < 0 ||
      style > 15 || unit == kUnitDisplay || (unit != kUnitWorld && !pixels_per_unit(unit)))
    return kDrawInvalidParameter;
  if (DrawStatus s = may_create(font)) return s;
  cairo_font_face_t *face = cairo_toy_font_face_create(
      family->name.c_str(), (style & kFontItalic) ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
      (style & kFontBold) ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  if (cairo_font_face_status(face) != CAIRO_STATUS_SUCCESS) {
    cairo_font_face_destroy(face);
    return kDrawOutOfMemory;
  }
  double em = em_size * (unit == kUnitWorld ? 1.0 : *pixels_per_unit(unit));
  auto *f = new (std::nothrow) DrawFontObject{face, em, style};
  if (!f) cairo_font_face_destroy(face);
  return keep(f, font);
}

DrawStatus draw_delete_font(DrawFontObject *font) {
  if (font) cairo_font_face_destroy(font->face);
  return release(font);
}

namespace draw_control {
std::size_t live_objects() { return state().live; }
void fail_next_call() { state().fail_next = true; }
void throw_next_allocation() { state().throw_next = true; }
}  // namespace draw_control

}  // namespace platform
