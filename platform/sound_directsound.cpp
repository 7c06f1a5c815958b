// The sound layer on Windows: DirectSound devices and static secondary
// buffers, and the window manager for the host's main window. Every handle
// given out is remembered until released, so a stale or foreign handle fails
// a call instead of reaching a COM object that is gone.
// windows.h first: the library headers build on its types.
#include <windows.h>

#include <dsound.h>

#include <algorithm>
#include <map>
#include <vector>

#include "platform/sound_platform.h"

namespace platform {
namespace {

static_assert(sizeof(DSBUFFERDESC) == kBufferDescriptionSize);
static_assert(kBufferControlFrequency == DSBCAPS_CTRLFREQUENCY &&
              kBufferControlPan == DSBCAPS_CTRLPAN && kBufferControlVolume == DSBCAPS_CTRLVOLUME &&
              kBufferGlobalFocus == DSBCAPS_GLOBALFOCUS);
static_assert(kCooperativeNormal == DSSCL_NORMAL && kCooperativeWritePrimary == DSSCL_WRITEPRIMARY);
static_assert(kStatusPlaying == DSBSTATUS_PLAYING);

// Live buffers and the device each was made on; live devices map to null.
std::map<void *, IDirectSound *> &live() {
  static std::map<void *, IDirectSound *> objects;
  return objects;
}

IDirectSound *find_device(void *handle) {
  auto it = live().find(handle);
  return it != live().end() && !it->second ? static_cast<IDirectSound *>(handle) : nullptr;
}

IDirectSoundBuffer *find_buffer(void *handle) {
  auto it = live().find(handle);
  return it != live().end() && it->second ? static_cast<IDirectSoundBuffer *>(handle) : nullptr;
}

}  // namespace

std::string program_path() {
  std::vector<char> path(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) return std::string(path.data(), n);
    if (path.size() >= 32768) return {};  // longer than any Windows path
    path.resize(path.size() * 2);
  }
}

void *find_window(const char *class_name) {
  return class_name ? FindWindowA(class_name, nullptr) : nullptr;
}

bool sound_create_device(void **device) {
  IDirectSound *created = nullptr;
  if (!device || FAILED(DirectSoundCreate(nullptr, &created, nullptr)) || !created) return false;
  live()[created] = nullptr;
  *device = created;
  return true;
}

bool sound_set_cooperative_level(void *device, void *window, int level) {
  IDirectSound *ds = find_device(device);
  HWND hwnd = static_cast<HWND>(window);
  if (!ds || !hwnd || !IsWindow(hwnd) || level < kCooperativeNormal ||
      level > kCooperativeWritePrimary)
    return false;
  return SUCCEEDED(ds->SetCooperativeLevel(hwnd, static_cast<DWORD>(level)));
}

bool sound_create_buffer(void *device, const BufferDescription &d, void **buffer) {
  IDirectSound *ds = find_device(device);
  if (!ds || !buffer || d.size != kBufferDescriptionSize || !d.format || d.bytes < 4 ||
      d.bytes > kMaxWaveData)
    return false;
  WAVEFORMATEX format{};
  format.wFormatTag = d.format->format_tag;
  format.nChannels = d.format->channels;
  format.nSamplesPerSec = d.format->samples_per_sec;
  format.nAvgBytesPerSec = d.format->avg_bytes_per_sec;
  format.nBlockAlign = d.format->block_align;
  format.wBitsPerSample = d.format->bits_per_sample;
  format.cbSize = 0;  // PCM carries no extra bytes, whatever the file's record says
  DSBUFFERDESC description{};
  description.dwSize = sizeof description;
  description.dwFlags = d.flags;
  description.dwBufferBytes = d.bytes;
  description.lpwfxFormat = &format;
  IDirectSoundBuffer *created = nullptr;
  if (FAILED(ds->CreateSoundBuffer(&description, &created, nullptr)) || !created) return false;
  live()[created] = ds;
  *buffer = created;
  return true;
}

bool sound_lock(void *buffer, std::uint32_t offset, std::uint32_t bytes, void **region1,
                std::uint32_t *size1, void **region2, std::uint32_t *size2) {
  IDirectSoundBuffer *b = find_buffer(buffer);
  if (!b || !region1 || !size1 || bytes == 0) return false;
  void *p1 = nullptr, *p2 = nullptr;
  DWORD s1 = 0, s2 = 0;
  if (FAILED(b->Lock(offset, bytes, &p1, &s1, &p2, &s2, 0))) return false;
  // A range that wraps needs somewhere to put its second region.
  if (s2 > 0 && (!region2 || !size2)) {
    b->Unlock(p1, 0, p2, 0);
    return false;
  }
  *region1 = p1;
  *size1 = s1;
  if (region2) *region2 = p2;
  if (size2) *size2 = s2;
  return true;
}

bool sound_unlock(void *buffer, void *region1, std::uint32_t size1, void *region2,
                  std::uint32_t size2) {
  IDirectSoundBuffer *b = find_buffer(buffer);
  return b && SUCCEEDED(b->Unlock(region1, size1, region2, size2));
}

bool sound_set_position(void *buffer, std::uint32_t position) {
  IDirectSoundBuffer *b = find_buffer(buffer);
  return b && SUCCEEDED(b->SetCurrentPosition(position));
}

bool sound_play(void *buffer, std::uint32_t flags) {
  IDirectSoundBuffer *b = find_buffer(buffer);
  // Flags 0 only: a looping play would never end on its own.
  return b && flags == 0 && SUCCEEDED(b->Play(0, 0, 0));
}

bool sound_status(void *buffer, std::uint32_t *status) {
  IDirectSoundBuffer *b = find_buffer(buffer);
  DWORD s = 0;
  if (!b || !status || FAILED(b->GetStatus(&s))) return false;
  *status = s;
  return true;
}

bool sound_set_volume(void *buffer, std::int32_t hundredths_db) {
  IDirectSoundBuffer *b = find_buffer(buffer);
  return b && hundredths_db >= DSBVOLUME_MIN && hundredths_db <= DSBVOLUME_MAX &&
         SUCCEEDED(b->SetVolume(hundredths_db));
}

void sound_release(void *object) {
  auto &objects = live();
  auto it = objects.find(object);
  if (it == objects.end()) return;
  if (IDirectSoundBuffer *b = find_buffer(object)) {
    objects.erase(it);
    b->Release();
    return;
  }
  // A device goes with every buffer made on it, as DirectSound releases them.
  auto *ds = static_cast<IDirectSound *>(object);
  std::vector<IDirectSoundBuffer *> owned;
  for (const auto &[handle, owner] : objects)
    if (owner == ds) owned.push_back(static_cast<IDirectSoundBuffer *>(handle));
  for (IDirectSoundBuffer *b : owned) {
    objects.erase(b);
    b->Release();
  }
  objects.erase(object);
  ds->Release();
}

}  // namespace platform
