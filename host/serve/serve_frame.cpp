#include "host/serve/serve_frame.h"

#include <cairo.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string_view>

#include "frame/panel.h"
#include "host/serve/serve_request.h"

namespace z480 {
namespace {

// Only these flags change what is drawn; the host's own bits that come and
// go with every frame would cost a change each time.
constexpr std::uint32_t kDrawnFlags = kImageUseTransparency | kImageHidden;

double rounded(double v) {
  if (!std::isfinite(v) || std::abs(v) > 1e12) return v;
  return std::round(v * 1000) / 1000;
}

std::size_t hash_of(const ElementPixels &p) {
  return std::hash<std::string_view>{}(std::string_view(
      reinterpret_cast<const char *>(p.words.data()), p.words.size() * sizeof(std::uint32_t)));
}

cairo_status_t append_png(void *closure, const unsigned char *data, unsigned int length) {
  static_cast<std::string *>(closure)->append(reinterpret_cast<const char *>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

// Premultiplied ARGB words, as the renderer paints them.
std::string pixels_png(const ElementPixels &p) {
  std::string png;
  if (p.width <= 0 || p.height <= 0 ||
      p.words.size() < static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height))
    return png;
  cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, p.width, p.height);
  cairo_surface_flush(s);
  unsigned char *data = cairo_image_surface_get_data(s);
  int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < p.height; ++y)
    std::memcpy(data + static_cast<std::size_t>(y) * stride,
                p.words.data() + static_cast<std::size_t>(y) * p.width,
                static_cast<std::size_t>(p.width) * 4);
  cairo_surface_mark_dirty(s);
  cairo_surface_write_to_png_stream(s, append_png, &png);
  cairo_surface_destroy(s);
  return png;
}

void put_word(std::string &out, std::uint64_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xff);
}

}  // namespace

bool ElementState::operator==(const ElementState &o) const {
  for (std::size_t i = 0; i < number.size(); ++i)
    if (number[i] != o.number[i] && !(std::isnan(number[i]) && std::isnan(o.number[i]))) return false;
  return text == o.text && font == o.font;
}

ElementState element_state(const ElementView &v, std::uint64_t pixels) {
  ElementState e;
  auto &n = e.number;
  n[kFieldKind] = v.kind;
  n[kFieldBitmap] = v.bitmap;
  n[kFieldX] = v.position.x;
  n[kFieldY] = v.position.y;
  n[kFieldFlags] = v.flags & kDrawnFlags;
  n[kFieldFailure] = v.failure;
  n[kFieldImage] = v.image;
  n[kFieldNeedle] = rounded(v.needle);
  n[kFieldTable] = v.table ? 1 : 0;
  n[kFieldPivotX] = v.ofs.x;
  n[kFieldPivotY] = v.ofs.y;
  n[kFieldMoveX] = rounded(v.x);
  n[kFieldMoveY] = rounded(v.y);
  n[kFieldMinX] = rounded(v.min_x);
  n[kFieldMaxX] = rounded(v.max_x);
  n[kFieldMinY] = rounded(v.min_y);
  n[kFieldMaxY] = rounded(v.max_y);
  n[kFieldAngle] = rounded(v.angle);
  n[kFieldScaleX] = rounded(v.texture_scale_x);
  n[kFieldScaleY] = rounded(v.texture_scale_y);
  n[kFieldBoxX] = v.box.x;
  n[kFieldBoxY] = v.box.y;
  n[kFieldTextColour] = v.text_color;
  n[kFieldBackColour] = v.background_color;
  n[kFieldTextFlags] = v.draw_text_flags;
  n[kFieldPixels] = static_cast<double>(pixels);
  // Only strings draw their text and font.
  if (v.kind == kString) {
    e.text = utf8_text(v.text);
    e.font = utf8_text(v.font);
  }
  return e;
}

nlohmann::json field_json(const ElementState &e, int field) {
  if (field == kFieldText) return e.text;
  if (field == kFieldFont) return e.font;
  double v = e.number[static_cast<std::size_t>(field)];
  if (!std::isfinite(v)) return nullptr;
  if (v == std::floor(v) && std::abs(v) < 9007199254740992.0) return static_cast<std::int64_t>(v);
  return v;
}

void FrameEncoder::reset(std::size_t gauges) {
  gauges_.clear();
  gauges_.resize(gauges);
}

std::uint64_t FrameEncoder::pixels_version(Gauge &g, std::size_t element, const ElementPixels &p) {
  Pixels &px = g.pixels[element];
  std::size_t hash = hash_of(p);
  px.source = &p;
  if (px.version == 0 || hash != px.hash) {
    px.hash = hash;
    px.version = next_version_++;
    px.png.clear();
  }
  return px.version;
}

void FrameEncoder::capture(std::size_t gauge, Instance *inst) {
  Gauge &g = gauges_.at(gauge);
  if (!inst) {
    if (g.shown) {
      g = Gauge{};
      g.version = next_version_++;
    }
    return;
  }
  std::vector<ElementState> now;
  now.reserve(inst->views().size());
  for (std::size_t i = 0; i < inst->views().size(); ++i) {
    const ElementPixels *own = inst->pixels(i);
    now.push_back(element_state(inst->views()[i], own ? pixels_version(g, i, *own) : 0));
  }
  if (g.shown && now == g.elements) return;
  nlohmann::json changes = nlohmann::json::array();
  if (g.shown && now.size() == g.elements.size()) {
    for (std::size_t i = 0; i < now.size(); ++i) {
      if (now[i] == g.elements[i]) continue;
      nlohmann::json one = nlohmann::json::array({i});
      for (int f = 0; f < kElementFields; ++f)
        if (field_json(now[i], f) != field_json(g.elements[i], f)) {
          one.push_back(f);
          one.push_back(field_json(now[i], f));
        }
      changes.push_back(std::move(one));
    }
    g.previous = g.version;
  } else {
    g.previous = 0;  // nothing to change from: pages take it in full
  }
  g.changes = std::move(changes);
  g.elements = std::move(now);
  g.shown = true;
  g.version = next_version_++;
}

const nlohmann::json &FrameEncoder::full(Gauge &g) {
  if (g.full_version != g.version) {
    g.full = nlohmann::json::array({0});
    for (const ElementState &e : g.elements) {
      nlohmann::json one = nlohmann::json::array();
      for (int f = 0; f < kElementFields; ++f) one.push_back(field_json(e, f));
      g.full.push_back(std::move(one));
    }
    g.full_version = g.version;
  }
  return g.full;
}

nlohmann::json FrameEncoder::update(PageCopy &copy, const std::vector<bool> &shows,
                                    std::vector<std::string> *binary) {
  nlohmann::json out = nlohmann::json::object();
  copy.gauges.resize(gauges_.size(), 0);
  for (std::size_t i = 0; i < gauges_.size(); ++i) {
    Gauge &g = gauges_[i];
    if (i >= shows.size() || !shows[i] || !g.shown) continue;
    std::uint64_t &have = copy.gauges[i];
    if (have != g.version) {
      if (have != 0 && have == g.previous) {
        nlohmann::json changes = nlohmann::json::array({1});
        for (const auto &c : g.changes) changes.push_back(c);
        out[std::to_string(i)] = std::move(changes);
      } else {
        out[std::to_string(i)] = full(g);
      }
      have = g.version;
    }
    for (auto &[element, px] : g.pixels) {
      std::uint64_t &got = copy.pixels[{i, element}];
      if (got == px.version || !px.source) continue;
      if (px.png.empty()) px.png = pixels_png(*px.source);
      std::string message;
      put_word(message, i);
      put_word(message, element);
      put_word(message, px.version);
      binary->push_back(message + px.png);
      got = px.version;
    }
  }
  return out;
}

void FrameEncoder::forget(PageCopy &copy, std::size_t gauge) {
  if (gauge < copy.gauges.size()) copy.gauges[gauge] = 0;
  std::erase_if(copy.pixels, [&](const auto &p) { return p.first.first == gauge; });
}

}  // namespace z480
