// The machine's sound layer as the module's sound engine sees it: the same
// small set of calls a Windows build makes to DirectSound and the window
// manager. Devices and buffers are opaque handles; a handle that is unknown
// or already released makes a call fail, never crash. Every call that can
// fail returns false and changes nothing.
#pragma once

#include <cstdint>
#include <string>

#include "platform/wave.h"

namespace platform {

// --- the host program and its windows

// The file name of the program that loaded the module.
std::string program_path();
// The top-level window of that class, or null.
void *find_window(const char *class_name);

// --- devices

inline constexpr int kCooperativeNormal = 1;
inline constexpr int kCooperativeWritePrimary = 4;  // the highest level

// A device on the default sound output.
bool sound_create_device(void **device);
// Binds the device to a top-level window at a cooperative level (1 to 4);
// refused for a null or unknown window. Buffers need it first.
bool sound_set_cooperative_level(void *device, void *window, int level);

// --- buffers

// Buffer capabilities.
inline constexpr std::uint32_t kBufferControlFrequency = 0x20;
inline constexpr std::uint32_t kBufferControlPan = 0x40;
inline constexpr std::uint32_t kBufferControlVolume = 0x80;
inline constexpr std::uint32_t kBufferGlobalFocus = 0x8000;

// The size the Windows buffer description has; others are refused.
inline constexpr std::uint32_t kBufferDescriptionSize = 36;

struct BufferDescription {
  std::uint32_t size = kBufferDescriptionSize;
  std::uint32_t flags = 0;
  std::uint32_t bytes = 0;
  const WaveFormat *format = nullptr;
};

// A static buffer of `bytes` bytes of PCM (mono or stereo, 8 or 16 bits,
// 100 to 200000 samples a second, 4 bytes to kMaxWaveData), silent at first.
bool sound_create_buffer(void *device, const BufferDescription &description, void **buffer);
// Opens `bytes` bytes from `offset` for writing: one region, or two when
// the range wraps past the end. One lock at a time.
bool sound_lock(void *buffer, std::uint32_t offset, std::uint32_t bytes, void **region1,
                std::uint32_t *size1, void **region2, std::uint32_t *size2);
// Closes the lock with the regions it gave and the bytes written in each.
bool sound_unlock(void *buffer, void *region1, std::uint32_t size1, void *region2,
                  std::uint32_t size2);
// Moves the play position (a byte offset below the buffer size).
bool sound_set_position(void *buffer, std::uint32_t position);

inline constexpr std::uint32_t kStatusPlaying = 1;

// Plays once from the current position (flags 0; there is no looping). A
// buffer that is already playing goes on. When a play runs to the end the
// position returns to 0.
bool sound_play(void *buffer, std::uint32_t flags);
bool sound_status(void *buffer, std::uint32_t *status);
// Attenuation in hundredths of a decibel, -10000 to 0 (0 = full volume);
// needs kBufferControlVolume.
bool sound_set_volume(void *buffer, std::int32_t hundredths_db);

// Releases a device (and with it every buffer made on it) or a buffer; a
// buffer that plays stops. Unknown handles are ignored.
void sound_release(void *object);

}  // namespace platform
