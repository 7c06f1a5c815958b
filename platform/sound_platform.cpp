// The sound layer of this machine: devices and buffers kept in one table,
// played against the host's clock instead of a sound card.
#include "platform/sound_platform.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>

#include "platform/platform_control.h"

namespace platform {
namespace {

using control::Playback;

struct Device {
  bool bound = false;  // cooperative level set
};

struct Buffer {
  std::uint64_t device = 0;
  std::uint32_t flags = 0;
  WaveFormat format;
  std::shared_ptr<std::vector<std::uint8_t>> data;
  std::uint32_t position = 0;
  std::int32_t volume = 0;
  // The open lock, if any.
  bool locked = false;
  void *region1 = nullptr, *region2 = nullptr;
  std::uint32_t size1 = 0, size2 = 0;
  // The stretch now playing; null when stopped.
  std::shared_ptr<Playback> playing;
};

struct World {
  double now = 0;
  std::uint64_t next_serial = 1;
  std::map<std::uint64_t, Device> devices;
  std::map<std::uint64_t, Buffer> buffers;
  std::map<std::string, std::uint64_t> windows;  // class name -> window serial
  std::string program;
  bool fail_next = false;
  control::PlaybackListener listener;
};

World &world() {
  static World w;
  return w;
}

// Handles are serial numbers, never addresses: a stale handle finds nothing.
constexpr std::uintptr_t kHandleBase = 0x10000;
void *handle(std::uint64_t serial) {
  return reinterpret_cast<void *>(kHandleBase + static_cast<std::uintptr_t>(serial) * 16);
}
std::uint64_t serial(void *h) {
  auto v = reinterpret_cast<std::uintptr_t>(h);
  if (v < kHandleBase || (v - kHandleBase) % 16 != 0) return 0;
  return (v - kHandleBase) / 16;
}

// The failure switch: consumed by the first call that can fail.
bool failing() {
  World &w = world();
  if (!w.fail_next) return false;
  w.fail_next = false;
  return true;
}

// A play that has run out by now has stopped, and rewinds.
void settle(Buffer &b) {
  if (b.playing && world().now >= b.playing->end) {
    b.playing.reset();
    b.position = 0;
  }
}

Buffer *find_buffer(void *h) {
  auto &buffers = world().buffers;
  auto it = buffers.find(serial(h));
  if (it == buffers.end()) return nullptr;
  settle(it->second);
  return &it->second;
}

double seconds_of(const WaveFormat &f, std::uint64_t bytes) {
  return static_cast<double>(bytes / f.block_align) / f.samples_per_sec;
}

// Where the play cursor is now (a whole sample).
std::uint32_t cursor(const Buffer &b) {
  const Playback &p = *b.playing;
  double frames = std::floor((world().now - p.start) * b.format.samples_per_sec);
  double at = p.offset + frames * b.format.block_align;
  return static_cast<std::uint32_t>(std::min(at, static_cast<double>(b.data->size() - 1)));
}

void start(std::uint64_t id, Buffer &b, bool started) {
  World &w = world();
  auto p = std::make_shared<Playback>();
  p->buffer = id;
  p->format = b.format;
  p->data = b.data;
  p->offset = b.position;
  p->start = w.now;
  p->end = w.now + seconds_of(b.format, b.data->size() - b.position);
  p->volume = b.volume;
  p->started = started;
  b.playing = p;
  if (w.listener) w.listener(p);
}

// Ends the stretch now playing, at the present moment.
void cut(Buffer &b) {
  if (!b.playing) return;
  b.playing->end = std::min(b.playing->end, world().now);
  b.playing.reset();
}

// A change while playing: the play goes on from `position` as a new stretch.
template <typename Change>
void change_playing(std::uint64_t id, Buffer &b, Change change) {
  if (!b.playing) return change();
  b.position = cursor(b);
  cut(b);
  change();
  start(id, b, false);
}

bool playable(const WaveFormat &f) {
  return f.format_tag == kWaveFormatPcm && (f.channels == 1 || f.channels == 2) &&
         (f.bits_per_sample == 8 || f.bits_per_sample == 16) && f.samples_per_sec >= 100 &&
         f.samples_per_sec <= 200000 && f.block_align == f.channels * f.bits_per_sample / 8 &&
         f.avg_bytes_per_sec == f.samples_per_sec * f.block_align;
}

void release_buffer(std::uint64_t id) {
  auto &buffers = world().buffers;
  auto it = buffers.find(id);
  if (it == buffers.end()) return;
  cut(it->second);
  buffers.erase(it);
}

}  // namespace

std::string program_path() {
  const World &w = world();
  if (!w.program.empty()) return w.program;
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.string();
}

void *find_window(const char *class_name) {
  if (!class_name) return nullptr;
  const auto &windows = world().windows;
  auto it = windows.find(class_name);
  return it == windows.end() ? nullptr : handle(it->second);
}

bool sound_create_device(void **device) {
  if (!device || failing()) return false;
  World &w = world();
  std::uint64_t id = w.next_serial++;
  w.devices[id] = Device{};
  *device = handle(id);
  return true;
}

bool sound_set_cooperative_level(void *device, void *window, int level) {
  if (failing()) return false;
  World &w = world();
  auto it = w.devices.find(serial(device));
  if (it == w.devices.end() || level < kCooperativeNormal || level > kCooperativeWritePrimary)
    return false;
  std::uint64_t win = serial(window);
  bool known = std::any_of(w.windows.begin(), w.windows.end(),
                           [&](const auto &entry) { return win != 0 && entry.second == win; });
  if (!known) return false;
  it->second.bound = true;
  return true;
}

bool sound_create_buffer(void *device, const BufferDescription &d, void **buffer) {
  if (!buffer || failing()) return false;
  World &w = world();
  auto dev = w.devices.find(serial(device));
  if (dev == w.devices.end() || !dev->second.bound) return false;
  if (d.size != kBufferDescriptionSize || !d.format || !playable(*d.format) || d.bytes < 4 ||
      d.bytes > kMaxWaveData)
    return false;
  Buffer b;
  b.device = dev->first;
  b.flags = d.flags;
  b.format = *d.format;
  std::uint8_t silence = d.format->bits_per_sample == 8 ? 0x80 : 0x00;
  b.data = std::make_shared<std::vector<std::uint8_t>>(d.bytes, silence);
  std::uint64_t id = w.next_serial++;
  w.buffers.emplace(id, std::move(b));
  *buffer = handle(id);
  return true;
}

bool sound_lock(void *buffer, std::uint32_t offset, std::uint32_t bytes, void **region1,
                std::uint32_t *size1, void **region2, std::uint32_t *size2) {
  if (!region1 || !size1 || failing()) return false;
  Buffer *b = find_buffer(buffer);
  if (!b || b->locked) return false;
  std::size_t size = b->data->size();
  if (offset >= size || bytes == 0 || bytes > size) return false;
  std::uint32_t first = static_cast<std::uint32_t>(std::min<std::size_t>(bytes, size - offset));
  std::uint32_t rest = bytes - first;
  if (rest > 0 && (!region2 || !size2)) return false;
  // A stretch that plays keeps the bytes it started with.
  if (b->data.use_count() > 1) b->data = std::make_shared<std::vector<std::uint8_t>>(*b->data);
  b->locked = true;
  b->region1 = b->data->data() + offset;
  b->size1 = first;
  b->region2 = rest > 0 ? b->data->data() : nullptr;
  b->size2 = rest;
  *region1 = b->region1;
  *size1 = first;
  if (region2) *region2 = b->region2;
  if (size2) *size2 = rest;
  return true;
}

bool sound_unlock(void *buffer, void *region1, std::uint32_t size1, void *region2,
                  std::uint32_t size2) {
  if (failing()) return false;
  Buffer *b = find_buffer(buffer);
  if (!b || !b->locked || region1 != b->region1 || size1 > b->size1 || region2 != b->region2 ||
      size2 > b->size2)
    return false;
  b->locked = false;
  return true;
}

bool sound_set_position(void *buffer, std::uint32_t position) {
  if (failing()) return false;
  Buffer *b = find_buffer(buffer);
  if (!b || position >= b->data->size()) return false;
  change_playing(serial(buffer), *b, [&] { b->position = position; });
  return true;
}

bool sound_play(void *buffer, std::uint32_t flags) {
  if (failing()) return false;
  Buffer *b = find_buffer(buffer);
  if (!b || flags != 0) return false;
  if (!b->playing) start(serial(buffer), *b, true);
  return true;
}

bool sound_status(void *buffer, std::uint32_t *status) {
  if (!status || failing()) return false;
  Buffer *b = find_buffer(buffer);
  if (!b) return false;
  *status = b->playing ? kStatusPlaying : 0;
  return true;
}

bool sound_set_volume(void *buffer, std::int32_t hundredths_db) {
  if (failing()) return false;
  Buffer *b = find_buffer(buffer);
  if (!b || !(b->flags & kBufferControlVolume) || hundredths_db < -10000 || hundredths_db > 0)
    return false;
  if (b->volume == hundredths_db) return true;
  change_playing(serial(buffer), *b, [&] { b->volume = hundredths_db; });
  return true;
}

void sound_release(void *object) {
  World &w = world();
  std::uint64_t id = serial(object);
  if (w.buffers.count(id)) return release_buffer(id);
  if (!w.devices.erase(id)) return;
  std::vector<std::uint64_t> owned;
  for (const auto &[bid, b] : w.buffers)
    if (b.device == id) owned.push_back(bid);
  for (std::uint64_t bid : owned) release_buffer(bid);
}

namespace control {

void reset() { world() = World{}; }

void set_time(double seconds) {
  World &w = world();
  if (seconds > w.now) w.now = seconds;
}
double time() { return world().now; }

void open_window(const std::string &class_name) {
  World &w = world();
  if (!w.windows.count(class_name)) w.windows[class_name] = w.next_serial++;
}
void close_window(const std::string &class_name) { world().windows.erase(class_name); }

void set_program_path(const std::string &path) { world().program = path; }

void fail_next_call() { world().fail_next = true; }

void on_playback(PlaybackListener listener) { world().listener = std::move(listener); }

bool hears_playback() { return true; }

std::size_t live_objects() { return world().devices.size() + world().buffers.size(); }

// The host hears this layer directly: there is no recording.
double recording_rate() { return 0; }
std::uint64_t recorded() { return 0; }
std::vector<float> recording(std::uint64_t, std::uint64_t) { return {}; }
bool wait_recorded(std::uint64_t) { return true; }
std::uint64_t mixing_delay() { return 0; }
void watch_module(void *) {}

}  // namespace control
}  // namespace platform
