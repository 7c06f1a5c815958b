// The module's sound operations. The first failure of any of them silences
// the whole module until it is unloaded.
#pragma once

#include <cstdint>

#include "frame/panel.h"

// 1 at load; 0 for good after the first failure.
extern int Sound_Available;

using SoundWindow = void *;
using SoundDevice = void *;
using SoundBuffer = void *;

inline constexpr std::uint16_t kSwitchClick = 10;  // WAVE resource of every click

// One gauge kind's sound: its module handle, the host window, its own device
// and its buffers (one for the click gauges).
struct SoundChannel {
  ServiceData module_handle = 0;
  SoundWindow window = nullptr;
  SoundDevice device = nullptr;
  SoundBuffer buffer = nullptr;
};

SoundWindow sound_find_host_window();
int sound_create_device(SoundWindow window, SoundDevice *device);
std::uint32_t sound_load_wave(SoundWindow window, SoundDevice device, SoundBuffer *buffer,
                              std::uint16_t wave_id, ServiceData module_handle);
int sound_play(SoundBuffer *buffer, std::uint32_t flags);
int sound_is_playing(SoundBuffer *buffer);
int sound_set_volume(SoundBuffer *buffer, std::int32_t hundredths_db);
void sound_release(void **object);
