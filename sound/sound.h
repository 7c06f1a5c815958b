// The module's sound operations. Each gauge kind that makes sound owns its
// own channel: a device and one buffer per sound, loaded at install from the
// module's WAVE resources and released at kill.
//
// Failure rule: the first failure of any call into the sound layer sets
// Sound_Available to 0, and nothing sets it back: the whole module is silent
// until it is unloaded. Every operation except sound_find_host_window and
// sound_create_device then does nothing and returns 0. An operation that
// fails clears the reference it was given (after releasing the object, so a
// silenced module holds nothing).
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

// The host program's main window ("MSCFSMAIN" or "FS98MAIN" by the program's
// name, see sound/host_window.h), or null. Always looks.
SoundWindow sound_find_host_window();
// A device on the default output, bound to the window at the normal level.
// Always attempted. 1 on success; 0 with *device cleared on failure.
int sound_create_device(SoundWindow window, SoundDevice *device);
// Loads WAVE resource wave_id of the module into a new buffer of the device
// (the window is not used). Returns the number of PCM bytes loaded, or 0 with
// *buffer cleared. Missing, malformed or unplayable data is a failure.
std::uint32_t sound_load_wave(SoundWindow window, SoundDevice device, SoundBuffer *buffer,
                              std::uint16_t wave_id, ServiceData module_handle);
// Plays the buffer once from its position (flags 0). 1 started or playing.
int sound_play(SoundBuffer *buffer, std::uint32_t flags);
// 1 while the buffer plays, else 0.
int sound_is_playing(SoundBuffer *buffer);
// Volume in hundredths of a decibel (0 full, negative quieter, -10000 least).
int sound_set_volume(SoundBuffer *buffer, std::int32_t hundredths_db);
// Releases a buffer or device and clears the reference; null does nothing.
void sound_release(void **object);
