#include "radar/draw.h"

using namespace platform;

std::uintptr_t draw_library_start() {
  std::uintptr_t token = 0;
  DrawStartupInput input;  // version 1, no debug callback, nothing suppressed
  return draw_startup(&token, input) == kDrawOk ? token : 0;
}

void draw_library_stop(std::uintptr_t token) {
  if (token != 0) draw_shutdown(token);
}

DrawPen::DrawPen(DrawColor color, float width, std::int32_t unit) {
  keep(draw_create_pen(color.argb, width, unit, &pen_));
}
DrawPen::~DrawPen() {
  if (pen_) draw_delete_pen(pen_);
}

DrawBrushBase::~DrawBrushBase() {
  if (brush_) draw_delete_brush(brush_);
}

std::unique_ptr<DrawBrushBase> DrawBrushBase::clone() const {
  std::unique_ptr<DrawBrushBase> copy(new DrawBrushBase);
  copy->keep(draw_clone_brush(brush_, &copy->brush_));
  return copy;
}

DrawBrush::DrawBrush(DrawColor color) { keep(draw_create_solid_fill(color.argb, &brush_)); }

DrawFontFamily::DrawFontFamily(const char16_t *name) {
  keep(draw_create_font_family_from_name(name, nullptr, &family_));
}

std::unique_ptr<DrawFontFamily> DrawFontFamily::sans_serif() {
  std::unique_ptr<DrawFontFamily> family(new DrawFontFamily);
  family->keep(draw_generic_sans_serif_family(&family->family_));
  return family;
}

DrawFontFamily::~DrawFontFamily() {
  if (family_) draw_delete_font_family(family_);
}

DrawFont::DrawFont(const char16_t *family, float em_size, std::int32_t style,
                   std::int32_t unit) {
  DrawFontFamily named(family);
  if (named.handle() && keep(draw_create_font(named.handle(), em_size, style, unit, &font_)) ==
                            kDrawOk)
    return;
  if (named.handle() == nullptr) keep(named.last_status());
  auto generic = DrawFontFamily::sans_serif();
  keep(generic->last_status());
  keep(draw_create_font(generic->handle(), em_size, style, unit, &font_));
}

DrawFont::~DrawFont() {
  if (font_) draw_delete_font(font_);
}

DrawPath::DrawPath(std::int32_t fill_mode) { keep(draw_create_path(fill_mode, &path_)); }
DrawPath::~DrawPath() {
  if (path_) draw_delete_path(path_);
}
void DrawPath::add_ellipse(const DrawRect &r) {
  keep(draw_add_path_ellipse(path_, r.x, r.y, r.width, r.height));
}
void DrawPath::close_figure() { keep(draw_close_path_figure(path_)); }

DrawSurface::DrawSurface(void *device_context) {
  keep(draw_create_from_dc(device_context, &graphics_));
}
DrawSurface::~DrawSurface() {
  if (graphics_) draw_delete_graphics(graphics_);
}
void *DrawSurface::operator new(std::size_t bytes) noexcept { return draw_alloc(bytes); }
void DrawSurface::operator delete(void *memory) noexcept { draw_free(memory); }

void DrawSurface::set_smoothing(std::int32_t mode) {
  keep(draw_set_smoothing_mode(graphics_, mode));
}
void DrawSurface::set_text_hint(std::int32_t hint) {
  keep(draw_set_text_rendering_hint(graphics_, hint));
}
void DrawSurface::scale(float sx, float sy, std::int32_t order) {
  keep(draw_scale_world_transform(graphics_, sx, sy, order));
}
void DrawSurface::translate(float dx, float dy, std::int32_t order) {
  keep(draw_translate_world_transform(graphics_, dx, dy, order));
}
void DrawSurface::set_clip(const DrawPath &path, std::int32_t combine) {
  keep(draw_set_clip_path(graphics_, path.handle(), combine));
}
void DrawSurface::fill_rect(const DrawBrushBase &brush, const DrawRect &r) {
  keep(draw_fill_rectangle(graphics_, brush.handle(), r.x, r.y, r.width, r.height));
}
void DrawSurface::draw_ellipse(const DrawPen &pen, const DrawRect &r) {
  keep(draw_draw_ellipse(graphics_, pen.handle(), r.x, r.y, r.width, r.height));
}
void DrawSurface::draw_line(const DrawPen &pen, DrawPoint from, DrawPoint to) {
  keep(draw_draw_line(graphics_, pen.handle(), from.x, from.y, to.x, to.y));
}
void DrawSurface::draw_text(const char16_t *text, std::int32_t length, const DrawFont &font,
                            DrawPoint at, const DrawBrushBase &brush) {
  DrawRectF layout{at.x, at.y, 0, 0};
  keep(draw_draw_string(graphics_, text, length, font.handle(), &layout, nullptr, brush.handle()));
}

std::int32_t widen(const char *text, char16_t *out, std::size_t capacity) {
  if (capacity == 0) return 0;
  std::size_t n = 0;
  for (; text && text[n] != '\0' && n + 1 < capacity; ++n)
    out[n] = static_cast<char16_t>(static_cast<unsigned char>(text[n]));
  out[n] = 0;
  return static_cast<std::int32_t>(n);
}
