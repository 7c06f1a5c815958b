// The sound operations over the machine's sound layer (platform/), which
// stands where DirectSound and the window manager stand on Windows.
#include "sound/sound.h"

#include <cstring>
#include <string>

#include "frame/boundary.h"
#include "platform/resources.h"
#include "platform/sound_platform.h"
#include "platform/wave.h"
#include "sound/host_window.h"

int Sound_Available = 1;

namespace {

// A static buffer with frequency, pan and volume control that keeps playing
// when the host loses the focus.
constexpr std::uint32_t kBufferFlags = platform::kBufferControlFrequency |
                                       platform::kBufferControlPan |
                                       platform::kBufferControlVolume | platform::kBufferGlobalFocus;
static_assert(kBufferFlags == 0x80E0);

// The sound layer keeps its objects in tables that allocate: a call that
// throws counts as a failed call.
void release(void *object) {
  fail_soft("sound_release", [object] { platform::sound_release(object); });
}

// The failure rule: release what the reference holds, clear it, and silence
// the module for good.
int fail(void **reference) {
  if (reference && *reference) {
    release(*reference);
    *reference = nullptr;
  }
  Sound_Available = 0;
  return 0;
}

// Copies the PCM bytes into the buffer from its start, then rewinds it.
bool fill(void *buffer, std::span<const std::uint8_t> data) {
  auto bytes = static_cast<std::uint32_t>(data.size());
  void *region1 = nullptr, *region2 = nullptr;
  std::uint32_t size1 = 0, size2 = 0;
  if (!platform::sound_lock(buffer, 0, bytes, &region1, &size1, &region2, &size2)) return false;
  // From offset 0 the whole range comes as one region; a second region is
  // filled too rather than trusted to be empty.
  std::memcpy(region1, data.data(), size1);
  if (region2 && size2) std::memcpy(region2, data.data() + size1, size2);
  return platform::sound_unlock(buffer, region1, size1, region2, size2) &&
         platform::sound_set_position(buffer, 0);
}

}  // namespace

SoundWindow sound_find_host_window() {
  return fail_soft("sound_find_host_window", SoundWindow{}, [] {
    std::string path = platform::program_path();
    return platform::find_window(host_window_class(program_base_name(path)));
  });
}

int sound_create_device(SoundWindow window, SoundDevice *device) {
  if (!device) return 0;  // nowhere to keep it: nothing is attempted
  *device = nullptr;
  void *created = nullptr;
  if (!fail_soft("sound_create_device", false,
                 [&created] { return platform::sound_create_device(&created); }))
    return fail(device);
  *device = created;
  if (!platform::sound_set_cooperative_level(created, window, platform::kCooperativeNormal))
    return fail(device);
  return 1;
}

namespace {
std::uint32_t load_wave(SoundDevice device, SoundBuffer *buffer, std::uint16_t wave_id,
                        ServiceData module_handle) {
  auto bytes = platform::find_resource(reinterpret_cast<void *>(module_handle), "WAVE", wave_id);
  if (!bytes) return fail(buffer);
  auto wave = platform::parse_wave(*bytes);
  if (!wave) return fail(buffer);
  platform::BufferDescription description;
  description.flags = kBufferFlags;
  description.bytes = static_cast<std::uint32_t>(wave->data.size());
  description.format = &wave->format;
  if (!platform::sound_create_buffer(device, description, buffer)) return fail(buffer);
  if (!fill(*buffer, wave->data)) return fail(buffer);
  return description.bytes;
}
}  // namespace

std::uint32_t sound_load_wave(SoundWindow, SoundDevice device, SoundBuffer *buffer,
                              std::uint16_t wave_id, ServiceData module_handle) {
  if (!Sound_Available || !buffer) return 0;
  sound_release(buffer);
  std::uint32_t loaded = fail_soft("sound_load_wave", std::uint32_t{0}, [&] {
    return load_wave(device, buffer, wave_id, module_handle);
  });
  return loaded ? loaded : fail(buffer);
}

int sound_play(SoundBuffer *buffer, std::uint32_t flags) {
  if (!Sound_Available || !buffer || !*buffer) return 0;
  void *b = *buffer;
  if (!fail_soft("sound_play", false, [b, flags] { return platform::sound_play(b, flags); }))
    return fail(buffer);
  return 1;
}

int sound_is_playing(SoundBuffer *buffer) {
  if (!Sound_Available || !buffer || !*buffer) return 0;
  std::uint32_t status = 0;
  if (!platform::sound_status(*buffer, &status)) return fail(buffer);
  return (status & platform::kStatusPlaying) ? 1 : 0;
}

int sound_set_volume(SoundBuffer *buffer, std::int32_t hundredths_db) {
  if (!Sound_Available || !buffer || !*buffer) return 0;
  if (!platform::sound_set_volume(*buffer, hundredths_db)) return fail(buffer);
  return 1;
}

void sound_release(void **object) {
  if (!object || !*object) return;
  release(*object);
  *object = nullptr;
}
