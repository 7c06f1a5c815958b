// The radar's vector drawing objects: small value types and one class per
// native object of the platform's drawing library. Each object owns its
// handle and frees it exactly once; a creation that fails leaves a null
// handle, and every later call with it fails inside the library without
// effect. Each object keeps the status of its last failed call.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/draw_platform.h"

using platform::DrawStatus;

struct DrawColor {
  std::uint32_t argb = 0;
  constexpr DrawColor() = default;
  constexpr DrawColor(std::uint8_t a, std::uint8_t r, std::uint8_t g, std::uint8_t b)
      : argb(std::uint32_t{a} << 24 | std::uint32_t{r} << 16 | std::uint32_t{g} << 8 | b) {}
};

struct DrawPoint {
  float x = 0, y = 0;
};

struct DrawRect {
  float x = 0, y = 0, width = 0, height = 0;
};

// Starts the library; 0 when it could not be started.
std::uintptr_t draw_library_start();
// Stops a start; a token of 0 is ignored.
void draw_library_stop(std::uintptr_t token);

// The last failed status of an object's calls; Ok until one fails.
class DrawStatusKeeper {
 public:
  DrawStatus last_status() const { return last_; }

 protected:
  DrawStatus keep(DrawStatus s) {
    if (s != platform::kDrawOk) last_ = s;
    return s;
  }

 private:
  DrawStatus last_ = platform::kDrawOk;
};

class DrawPen : public DrawStatusKeeper {
 public:
  DrawPen(DrawColor color, float width, std::int32_t unit = platform::kUnitWorld);
  ~DrawPen();
  DrawPen(const DrawPen &) = delete;
  DrawPen &operator=(const DrawPen &) = delete;
  platform::DrawPenObject *handle() const { return pen_; }

 private:
  platform::DrawPenObject *pen_ = nullptr;
};

// Any brush; clone copies the native brush.
class DrawBrushBase : public DrawStatusKeeper {
 public:
  virtual ~DrawBrushBase();
  virtual std::unique_ptr<DrawBrushBase> clone() const;
  DrawBrushBase(const DrawBrushBase &) = delete;
  DrawBrushBase &operator=(const DrawBrushBase &) = delete;
  platform::DrawBrushObject *handle() const { return brush_; }

 protected:
  DrawBrushBase() = default;
  platform::DrawBrushObject *brush_ = nullptr;
};

// A solid fill of one colour.
class DrawBrush : public DrawBrushBase {
 public:
  explicit DrawBrush(DrawColor color);
};

class DrawFontFamily : public DrawStatusKeeper {
 public:
  explicit DrawFontFamily(const char16_t *name);
  // The platform's generic sans-serif family.
  static std::unique_ptr<DrawFontFamily> sans_serif();
  ~DrawFontFamily();
  DrawFontFamily(const DrawFontFamily &) = delete;
  DrawFontFamily &operator=(const DrawFontFamily &) = delete;
  platform::DrawFamilyObject *handle() const { return family_; }

 private:
  DrawFontFamily() = default;
  platform::DrawFamilyObject *family_ = nullptr;
};

// A font of the named family; when that family or the font made from it
// cannot be had, the same font of the generic sans-serif family.
class DrawFont : public DrawStatusKeeper {
 public:
  DrawFont(const char16_t *family, float em_size, std::int32_t style, std::int32_t unit);
  ~DrawFont();
  DrawFont(const DrawFont &) = delete;
  DrawFont &operator=(const DrawFont &) = delete;
  platform::DrawFontObject *handle() const { return font_; }

 private:
  platform::DrawFontObject *font_ = nullptr;
};

class DrawPath : public DrawStatusKeeper {
 public:
  explicit DrawPath(std::int32_t fill_mode = platform::kFillAlternate);
  ~DrawPath();
  DrawPath(const DrawPath &) = delete;
  DrawPath &operator=(const DrawPath &) = delete;
  void add_ellipse(const DrawRect &r);
  void close_figure();
  platform::DrawPathObject *handle() const { return path_; }

 private:
  platform::DrawPathObject *path_ = nullptr;
};

// A graphics on a device context. Allocated with the library's own
// allocator: `new DrawSurface(dc)` gives null when that allocation fails.
class DrawSurface : public DrawStatusKeeper {
 public:
  explicit DrawSurface(void *device_context);
  ~DrawSurface();
  DrawSurface(const DrawSurface &) = delete;
  DrawSurface &operator=(const DrawSurface &) = delete;
  static void *operator new(std::size_t bytes) noexcept;
  static void operator delete(void *memory) noexcept;

  bool has_handle() const { return graphics_ != nullptr; }
  void set_smoothing(std::int32_t mode);
  void set_text_hint(std::int32_t hint);
  void scale(float sx, float sy, std::int32_t order = platform::kOrderPrepend);
  void translate(float dx, float dy, std::int32_t order = platform::kOrderPrepend);
  void set_clip(const DrawPath &path, std::int32_t combine = platform::kCombineReplace);
  void fill_rect(const DrawBrushBase &brush, const DrawRect &r);
  void draw_ellipse(const DrawPen &pen, const DrawRect &r);
  void draw_line(const DrawPen &pen, DrawPoint from, DrawPoint to);
  // Wide text with its top left at the point, on one line, unclipped.
  void draw_text(const char16_t *text, std::int32_t length, const DrawFont &font, DrawPoint at,
                 const DrawBrushBase &brush);

 private:
  platform::DrawGraphics *graphics_ = nullptr;
};

// Widens single-byte text (each byte one character of Latin-1, so 0xB0 is
// the degree sign) into out, terminated; returns the characters written.
std::int32_t widen(const char *text, char16_t *out, std::size_t capacity);
