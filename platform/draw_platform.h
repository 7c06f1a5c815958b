// The machine's vector drawing layer as the module sees it: the same small
// set of flat calls a Windows build makes to GDI+ (start and stop the
// library, a graphics made from a device context, pens, solid brushes, font
// families and fonts, ellipse paths as clips, world transforms, lines,
// ellipses, rectangles and text). Objects are opaque handles that the caller
// deletes exactly once. A call with a null handle, a handle of no live
// library, or a value that is no finite number fails with a status and
// changes nothing; no call ever raises or aborts.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

enum DrawStatus : std::int32_t {
  kDrawOk = 0,
  kDrawGenericError = 1,
  kDrawInvalidParameter = 2,
  kDrawOutOfMemory = 3,
  kDrawNotImplemented = 6,
  kDrawWrongState = 8,
  kDrawFontFamilyNotFound = 14,
  kDrawFontStyleNotFound = 15,
  kDrawUnsupportedVersion = 17,
  kDrawNotInitialized = 18,
};

// This machine's device context: a pixel buffer that the host lends to one
// element, 32-bit premultiplied ARGB words in native byte order, rows
// `stride` bytes apart. (On Windows the element carries an HDC instead.)
struct PixelContext {
  std::uint8_t *pixels = nullptr;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t stride = 0;
};

// --- the library

struct DrawStartupInput {
  std::uint32_t version = 1;
  void *debug_event_callback = nullptr;
  bool suppress_background_thread = false;
  bool suppress_external_codecs = false;
};
// Every object is made while at least one start is live; each start gives
// its own non-zero token.
DrawStatus draw_startup(std::uintptr_t *token, const DrawStartupInput &input);
// Unknown or already stopped tokens are ignored.
void draw_shutdown(std::uintptr_t token);

// The library's allocator: null when the memory cannot be had.
void *draw_alloc(std::size_t bytes);
void draw_free(void *memory);

// --- values the calls take

enum DrawUnit : std::int32_t {
  kUnitWorld = 0,
  kUnitDisplay = 1,
  kUnitPixel = 2,
  kUnitPoint = 3,
  kUnitInch = 4,
  kUnitDocument = 5,
  kUnitMillimeter = 6,
};
enum DrawMatrixOrder : std::int32_t { kOrderPrepend = 0, kOrderAppend = 1 };
enum DrawFillMode : std::int32_t { kFillAlternate = 0, kFillWinding = 1 };
enum DrawCombineMode : std::int32_t { kCombineReplace = 0, kCombineIntersect = 1 };
enum DrawSmoothing : std::int32_t {
  kSmoothingDefault = 0,
  kSmoothingHighSpeed = 1,
  kSmoothingHighQuality = 2,
  kSmoothingNone = 3,
  kSmoothingAntiAlias = 4,
  kSmoothingAntiAlias8x8 = 5,
};
enum DrawTextHint : std::int32_t {
  kTextSystemDefault = 0,
  kTextSingleBitGridFit = 1,
  kTextSingleBit = 2,
  kTextAntiAliasGridFit = 3,
  kTextAntiAlias = 4,
  kTextClearTypeGridFit = 5,
};
enum DrawFontStyle : std::int32_t {
  kFontRegular = 0,
  kFontBold = 1,
  kFontItalic = 2,
  kFontUnderline = 4,
  kFontStrikeout = 8,
};

struct DrawRectF {
  float x, y, width, height;
};

struct DrawGraphics;
struct DrawPenObject;
struct DrawBrushObject;
struct DrawFamilyObject;
struct DrawFontObject;
struct DrawPathObject;

// --- graphics

// A graphics drawing into the device context's pixels (a PixelContext here).
DrawStatus draw_create_from_dc(void *dc, DrawGraphics **graphics);
DrawStatus draw_delete_graphics(DrawGraphics *graphics);
DrawStatus draw_set_smoothing_mode(DrawGraphics *graphics, std::int32_t mode);
DrawStatus draw_set_text_rendering_hint(DrawGraphics *graphics, std::int32_t hint);
// With kOrderPrepend the new transform acts first on a drawn point.
DrawStatus draw_scale_world_transform(DrawGraphics *graphics, float sx, float sy,
                                      std::int32_t order);
DrawStatus draw_translate_world_transform(DrawGraphics *graphics, float dx, float dy,
                                          std::int32_t order);
// Cuts every later drawing to the inside of the path, as transformed now.
DrawStatus draw_set_clip_path(DrawGraphics *graphics, DrawPathObject *path, std::int32_t combine);
DrawStatus draw_fill_rectangle(DrawGraphics *graphics, DrawBrushObject *brush, float x, float y,
                               float width, float height);
DrawStatus draw_draw_ellipse(DrawGraphics *graphics, DrawPenObject *pen, float x, float y,
                             float width, float height);
DrawStatus draw_draw_line(DrawGraphics *graphics, DrawPenObject *pen, float x1, float y1, float x2,
                          float y2);
// UTF-16 text (length -1: up to its terminator). A layout box of zero size
// puts the top left of the first line at its corner, unclipped; a box with a
// size clips to it. No string format is supported (format must be null).
DrawStatus draw_draw_string(DrawGraphics *graphics, const char16_t *text, std::int32_t length,
                            DrawFontObject *font, const DrawRectF *layout, const void *format,
                            DrawBrushObject *brush);

// --- paths

DrawStatus draw_create_path(std::int32_t fill_mode, DrawPathObject **path);
DrawStatus draw_delete_path(DrawPathObject *path);
// A closed figure of its own.
DrawStatus draw_add_path_ellipse(DrawPathObject *path, float x, float y, float width, float height);
DrawStatus draw_close_path_figure(DrawPathObject *path);

// --- pens and brushes (colours as 0xAARRGGBB, not premultiplied)

// A width of 0 draws one device pixel wide.
DrawStatus draw_create_pen(std::uint32_t argb, float width, std::int32_t unit, DrawPenObject **pen);
DrawStatus draw_delete_pen(DrawPenObject *pen);
DrawStatus draw_create_solid_fill(std::uint32_t argb, DrawBrushObject **brush);
DrawStatus draw_clone_brush(DrawBrushObject *brush, DrawBrushObject **copy);
DrawStatus draw_delete_brush(DrawBrushObject *brush);

// --- fonts

// kDrawFontFamilyNotFound when no installed font has that family name.
DrawStatus draw_create_font_family_from_name(const char16_t *name, void *collection,
                                             DrawFamilyObject **family);
// The platform's generic sans-serif family.
DrawStatus draw_generic_sans_serif_family(DrawFamilyObject **family);
DrawStatus draw_delete_font_family(DrawFamilyObject *family);
// An em size in the unit (not kUnitDisplay); text scales with the world transform.
DrawStatus draw_create_font(DrawFamilyObject *family, float em_size, std::int32_t style,
                            std::int32_t unit, DrawFontObject **font);
DrawStatus draw_delete_font(DrawFontObject *font);

}  // namespace platform
