// The vector drawing layer on Windows: the GDI+ flat functions, one call
// each. The library checks its own handles; this side refuses values that are
// no finite number and shutdown tokens it never gave, which GDI+ would take
// on trust.
// windows.h first: the library headers build on its types.
#include <windows.h>

#include <gdiplus.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <set>

#include "platform/draw_platform.h"

namespace platform {
namespace {

namespace gp = Gdiplus::DllExports;

// Status, units, orders, fill modes, hints and styles are GDI+'s own values.
static_assert(+kDrawFontFamilyNotFound == +Gdiplus::FontFamilyNotFound &&
              +kDrawNotInitialized == +Gdiplus::GdiplusNotInitialized &&
              +kDrawUnsupportedVersion == +Gdiplus::UnsupportedGdiplusVersion);
static_assert(+kUnitMillimeter == +Gdiplus::UnitMillimeter &&
              +kOrderAppend == +Gdiplus::MatrixOrderAppend &&
              +kFillWinding == +Gdiplus::FillModeWinding &&
              +kCombineIntersect == +Gdiplus::CombineModeIntersect &&
              +kSmoothingAntiAlias8x8 == +Gdiplus::SmoothingModeAntiAlias8x8 &&
              +kTextClearTypeGridFit == +Gdiplus::TextRenderingHintClearTypeGridFit &&
              +kFontStrikeout == +Gdiplus::FontStyleStrikeout);
static_assert(sizeof(DrawRectF) == sizeof(Gdiplus::RectF) && sizeof(char16_t) == sizeof(WCHAR));

DrawStatus status(Gdiplus::Status s) { return static_cast<DrawStatus>(s); }

bool finite(std::initializer_list<float> values) {
  return std::all_of(values.begin(), values.end(), [](float v) { return std::isfinite(v); });
}

std::set<ULONG_PTR> &live_tokens() {
  static std::set<ULONG_PTR> tokens;
  return tokens;
}

auto *graphics(DrawGraphics *g) { return reinterpret_cast<Gdiplus::GpGraphics *>(g); }
auto *pen(DrawPenObject *p) { return reinterpret_cast<Gdiplus::GpPen *>(p); }
auto *brush(DrawBrushObject *b) { return reinterpret_cast<Gdiplus::GpBrush *>(b); }
auto *family(DrawFamilyObject *f) { return reinterpret_cast<Gdiplus::GpFontFamily *>(f); }
auto *font(DrawFontObject *f) { return reinterpret_cast<Gdiplus::GpFont *>(f); }
auto *path(DrawPathObject *p) { return reinterpret_cast<Gdiplus::GpPath *>(p); }
const WCHAR *wide(const char16_t *text) { return reinterpret_cast<const WCHAR *>(text); }

// Every creation writes its result through a typed out-pointer.
template <typename Ours, typename Theirs>
Theirs **out(Ours **object) {
  return reinterpret_cast<Theirs **>(object);
}

}  // namespace

DrawStatus draw_startup(std::uintptr_t *token, const DrawStartupInput &input) {
  if (!token) return kDrawInvalidParameter;
  Gdiplus::GdiplusStartupInput in;
  in.GdiplusVersion = input.version;
  in.DebugEventCallback = reinterpret_cast<Gdiplus::DebugEventProc>(input.debug_event_callback);
  in.SuppressBackgroundThread = input.suppress_background_thread;
  in.SuppressExternalCodecs = input.suppress_external_codecs;
  // A suppressed background thread would need the output record's hooks,
  // which this layer does not hand out.
  if (in.SuppressBackgroundThread) return kDrawNotImplemented;
  ULONG_PTR t = 0;
  Gdiplus::Status s = Gdiplus::GdiplusStartup(&t, &in, nullptr);
  if (s != Gdiplus::Ok) return status(s);
  live_tokens().insert(t);
  *token = t;
  return kDrawOk;
}

void draw_shutdown(std::uintptr_t token) {
  if (live_tokens().erase(token)) Gdiplus::GdiplusShutdown(token);
}

void *draw_alloc(std::size_t bytes) { return gp::GdipAlloc(bytes); }
void draw_free(void *memory) {
  if (memory) gp::GdipFree(memory);
}

DrawStatus draw_create_from_dc(void *dc, DrawGraphics **g) {
  if (!dc || !g) return kDrawInvalidParameter;
  return status(
      gp::GdipCreateFromHDC(static_cast<HDC>(dc), out<DrawGraphics, Gdiplus::GpGraphics>(g)));
}
DrawStatus draw_delete_graphics(DrawGraphics *g) {
  return status(gp::GdipDeleteGraphics(graphics(g)));
}
DrawStatus draw_set_smoothing_mode(DrawGraphics *g, std::int32_t mode) {
  return status(gp::GdipSetSmoothingMode(graphics(g), static_cast<Gdiplus::SmoothingMode>(mode)));
}
DrawStatus draw_set_text_rendering_hint(DrawGraphics *g, std::int32_t hint) {
  return status(
      gp::GdipSetTextRenderingHint(graphics(g), static_cast<Gdiplus::TextRenderingHint>(hint)));
}
DrawStatus draw_scale_world_transform(DrawGraphics *g, float sx, float sy, std::int32_t order) {
  if (!finite({sx, sy})) return kDrawInvalidParameter;
  return status(
      gp::GdipScaleWorldTransform(graphics(g), sx, sy, static_cast<Gdiplus::MatrixOrder>(order)));
}
DrawStatus draw_translate_world_transform(DrawGraphics *g, float dx, float dy, std::int32_t order) {
  if (!finite({dx, dy})) return kDrawInvalidParameter;
  return status(gp::GdipTranslateWorldTransform(graphics(g), dx, dy,
                                                static_cast<Gdiplus::MatrixOrder>(order)));
}
DrawStatus draw_set_clip_path(DrawGraphics *g, DrawPathObject *p, std::int32_t combine) {
  return status(
      gp::GdipSetClipPath(graphics(g), path(p), static_cast<Gdiplus::CombineMode>(combine)));
}
DrawStatus draw_fill_rectangle(DrawGraphics *g, DrawBrushObject *b, float x, float y, float width,
                               float height) {
  if (!finite({x, y, width, height})) return kDrawInvalidParameter;
  return status(gp::GdipFillRectangle(graphics(g), brush(b), x, y, width, height));
}
DrawStatus draw_draw_ellipse(DrawGraphics *g, DrawPenObject *p, float x, float y, float width,
                             float height) {
  if (!finite({x, y, width, height})) return kDrawInvalidParameter;
  return status(gp::GdipDrawEllipse(graphics(g), pen(p), x, y, width, height));
}
DrawStatus draw_draw_line(DrawGraphics *g, DrawPenObject *p, float x1, float y1, float x2,
                          float y2) {
  if (!finite({x1, y1, x2, y2})) return kDrawInvalidParameter;
  return status(gp::GdipDrawLine(graphics(g), pen(p), x1, y1, x2, y2));
}
DrawStatus draw_draw_string(DrawGraphics *g, const char16_t *text, std::int32_t length,
                            DrawFontObject *f, const DrawRectF *layout, const void *format,
                            DrawBrushObject *b) {
  if (!text || !layout || format || !finite({layout->x, layout->y, layout->width, layout->height}))
    return format ? kDrawNotImplemented : kDrawInvalidParameter;
  Gdiplus::RectF box(layout->x, layout->y, layout->width, layout->height);
  return status(
      gp::GdipDrawString(graphics(g), wide(text), length, font(f), &box, nullptr, brush(b)));
}

DrawStatus draw_create_path(std::int32_t fill_mode, DrawPathObject **p) {
  return status(gp::GdipCreatePath(static_cast<Gdiplus::FillMode>(fill_mode),
                                   out<DrawPathObject, Gdiplus::GpPath>(p)));
}
DrawStatus draw_delete_path(DrawPathObject *p) { return status(gp::GdipDeletePath(path(p))); }
DrawStatus draw_add_path_ellipse(DrawPathObject *p, float x, float y, float width, float height) {
  if (!finite({x, y, width, height})) return kDrawInvalidParameter;
  return status(gp::GdipAddPathEllipse(path(p), x, y, width, height));
}
DrawStatus draw_close_path_figure(DrawPathObject *p) {
  return status(gp::GdipClosePathFigure(path(p)));
}

DrawStatus draw_create_pen(std::uint32_t argb, float width, std::int32_t unit, DrawPenObject **p) {
  if (!finite({width})) return kDrawInvalidParameter;
  return status(gp::GdipCreatePen1(argb, width, static_cast<Gdiplus::Unit>(unit),
                                   out<DrawPenObject, Gdiplus::GpPen>(p)));
}
DrawStatus draw_delete_pen(DrawPenObject *p) { return status(gp::GdipDeletePen(pen(p))); }
DrawStatus draw_create_solid_fill(std::uint32_t argb, DrawBrushObject **b) {
  return status(gp::GdipCreateSolidFill(argb, out<DrawBrushObject, Gdiplus::GpSolidFill>(b)));
}
DrawStatus draw_clone_brush(DrawBrushObject *b, DrawBrushObject **copy) {
  return status(gp::GdipCloneBrush(brush(b), out<DrawBrushObject, Gdiplus::GpBrush>(copy)));
}
DrawStatus draw_delete_brush(DrawBrushObject *b) { return status(gp::GdipDeleteBrush(brush(b))); }

DrawStatus draw_create_font_family_from_name(const char16_t *name, void *collection,
                                             DrawFamilyObject **f) {
  if (!name) return kDrawInvalidParameter;
  return status(gp::GdipCreateFontFamilyFromName(
      wide(name), static_cast<Gdiplus::GpFontCollection *>(collection),
      out<DrawFamilyObject, Gdiplus::GpFontFamily>(f)));
}
DrawStatus draw_generic_sans_serif_family(DrawFamilyObject **f) {
  // The generic family belongs to the library; the caller gets a copy it may
  // delete like any other family.
  Gdiplus::GpFontFamily *generic = nullptr;
  Gdiplus::Status s = gp::GdipGetGenericFontFamilySansSerif(&generic);
  if (s != Gdiplus::Ok) return status(s);
  return status(gp::GdipCloneFontFamily(generic, out<DrawFamilyObject, Gdiplus::GpFontFamily>(f)));
}
DrawStatus draw_delete_font_family(DrawFamilyObject *f) {
  return status(gp::GdipDeleteFontFamily(family(f)));
}
DrawStatus draw_create_font(DrawFamilyObject *f, float em_size, std::int32_t style,
                            std::int32_t unit, DrawFontObject **result) {
  if (!finite({em_size}) || unit == kUnitDisplay) return kDrawInvalidParameter;
  return status(gp::GdipCreateFont(family(f), em_size, style, static_cast<Gdiplus::Unit>(unit),
                                   out<DrawFontObject, Gdiplus::GpFont>(result)));
}
DrawStatus draw_delete_font(DrawFontObject *f) { return status(gp::GdipDeleteFont(font(f))); }

}  // namespace platform
