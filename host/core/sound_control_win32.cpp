// The host's side of sound on Windows. The module plays through DirectSound
// inside its own file, on the system's default device, in real time. The
// host gives it a real main window to bind its devices to, and stands
// between the module and DirectSound: the module's import of
// DirectSoundCreate is pointed at the host, whose devices and buffers pass
// every call on, except the one the host makes fail, and tell the host when
// a play begins. What the module plays the host hears only as the sound
// card plays it, through a recording of the card's output (raw 16-bit mono
// samples, in a file that grows as the card plays) named by the environment
// of the run: Z480_SOUND_RECORDING, at Z480_SOUND_RECORDING_RATE samples a
// second. Without one the host hears nothing.
#include <windows.h>

#include <dsound.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <stdexcept>

#include "platform/platform_control.h"

namespace platform::control {
namespace {

// The card's mixing delay is a matter of buffer sizes, not of time: a play
// is recorded at most this much after the recording's end when it began
// (Wine's mixer measures about 80 ms).
constexpr double kMixingDelaySeconds = 0.5;
// A recording that does not grow for this long has stopped.
constexpr DWORD kStallMilliseconds = 20000;

struct World {
  std::map<std::string, HWND> windows;
  double now = 0;
  bool fail_next = false;
  PlaybackListener listener;
  std::uint64_t next_serial = 1;
  std::size_t live = 0;
};

World &world() {
  static World w;
  return w;
}

bool failing() {
  World &w = world();
  if (!w.fail_next) return false;
  w.fail_next = false;
  return true;
}

struct Recording {
  std::string path;  // as Windows names it
  double rate = 0;
};

const Recording &the_recording() {
  static const Recording r = [] {
    Recording found;
    const char *path = std::getenv("Z480_SOUND_RECORDING");
    const char *rate = std::getenv("Z480_SOUND_RECORDING_RATE");
    if (!path || !*path || !rate) return found;
    // A path of the machine under Wine lies on the drive that maps its root.
    found.path = path[0] == '/' ? std::string("Z:") + path : std::string(path);
    found.rate = std::atof(rate);
    if (!(found.rate >= 8000 && found.rate <= 192000)) found = {};
    return found;
  }();
  return r;
}

void destroy(HWND window) {
  if (window) DestroyWindow(window);
}

[[noreturn]] void not_here(const char *what) {
  throw std::runtime_error(std::string("the Windows build's host cannot ") + what +
                           ": DirectSound plays inside the module");
}

// --- standing between the module and DirectSound

class Buffer final : public IDirectSoundBuffer {
 public:
  Buffer(IDirectSoundBuffer *real, const DSBUFFERDESC &d) : real_(real) {
    if (d.lpwfxFormat) {
      format_.format_tag = d.lpwfxFormat->wFormatTag;
      format_.channels = d.lpwfxFormat->nChannels;
      format_.samples_per_sec = d.lpwfxFormat->nSamplesPerSec;
      format_.avg_bytes_per_sec = d.lpwfxFormat->nAvgBytesPerSec;
      format_.block_align = d.lpwfxFormat->nBlockAlign;
      format_.bits_per_sample = d.lpwfxFormat->wBitsPerSample;
    }
    data_.assign(d.dwBufferBytes, 0);
    ++world().live;
  }

  STDMETHOD(QueryInterface)(REFIID riid, void **out) override { return real_->QueryInterface(riid, out); }
  STDMETHOD_(ULONG, AddRef)() override { return ++refs_; }
  STDMETHOD_(ULONG, Release)() override {
    if (--refs_ > 0) return refs_;
    // A sound the card has not yet played to its end is heard out first, so
    // that what the host checks is what was played.
    if (heard_by_) wait_recorded(heard_by_);
    real_->Release();
    --world().live;
    delete this;
    return 0;
  }
  STDMETHOD(GetCaps)(LPDSBCAPS caps) override { return real_->GetCaps(caps); }
  STDMETHOD(GetCurrentPosition)(LPDWORD play, LPDWORD write) override {
    return real_->GetCurrentPosition(play, write);
  }
  STDMETHOD(GetFormat)(LPWAVEFORMATEX f, DWORD size, LPDWORD written) override {
    return real_->GetFormat(f, size, written);
  }
  STDMETHOD(GetVolume)(LPLONG v) override { return real_->GetVolume(v); }
  STDMETHOD(GetPan)(LPLONG p) override { return real_->GetPan(p); }
  STDMETHOD(GetFrequency)(LPDWORD f) override { return real_->GetFrequency(f); }
  STDMETHOD(GetStatus)(LPDWORD status) override {
    return failing() ? DSERR_GENERIC : real_->GetStatus(status);
  }
  STDMETHOD(Initialize)(LPDIRECTSOUND ds, LPCDSBUFFERDESC d) override { return real_->Initialize(ds, d); }
  STDMETHOD(Lock)(DWORD offset, DWORD bytes, LPVOID *p1, LPDWORD s1, LPVOID *p2, LPDWORD s2,
                  DWORD flags) override {
    if (failing()) return DSERR_GENERIC;
    lock_offset_ = offset;
    return real_->Lock(offset, bytes, p1, s1, p2, s2, flags);
  }
  STDMETHOD(Play)(DWORD reserved1, DWORD reserved2, DWORD flags) override {
    if (failing()) return DSERR_GENERIC;
    DWORD status = 0, position = 0;
    bool was_playing = SUCCEEDED(real_->GetStatus(&status)) && (status & DSBSTATUS_PLAYING);
    if (FAILED(real_->GetCurrentPosition(&position, nullptr))) position = 0;
    std::uint64_t before = recorded();
    HRESULT result = real_->Play(reserved1, reserved2, flags);
    if (SUCCEEDED(result) && !was_playing) began(position, before);
    return result;
  }
  STDMETHOD(SetCurrentPosition)(DWORD position) override {
    return failing() ? DSERR_GENERIC : real_->SetCurrentPosition(position);
  }
  STDMETHOD(SetFormat)(LPCWAVEFORMATEX f) override { return real_->SetFormat(f); }
  STDMETHOD(SetVolume)(LONG volume) override {
    if (failing()) return DSERR_GENERIC;
    HRESULT result = real_->SetVolume(volume);
    if (SUCCEEDED(result)) volume_ = volume;
    return result;
  }
  STDMETHOD(SetPan)(LONG pan) override { return real_->SetPan(pan); }
  STDMETHOD(SetFrequency)(DWORD f) override { return real_->SetFrequency(f); }
  STDMETHOD(Stop)() override { return real_->Stop(); }
  STDMETHOD(Unlock)(LPVOID p1, DWORD s1, LPVOID p2, DWORD s2) override {
    if (failing()) return DSERR_GENERIC;
    // What the module wrote is what a play of this buffer sounds like.
    keep(lock_offset_, p1, s1);
    keep(0, p2, s2);
    return real_->Unlock(p1, s1, p2, s2);
  }
  STDMETHOD(Restore)() override { return real_->Restore(); }

 private:
  ~Buffer() = default;

  void keep(std::size_t offset, const void *from, DWORD bytes) {
    if (!from || offset >= data_.size()) return;
    std::memcpy(&data_[offset], from, std::min<std::size_t>(bytes, data_.size() - offset));
  }

  void began(DWORD position, std::uint64_t before) {
    World &w = world();
    auto p = std::make_shared<Playback>();
    p->buffer = serial_;
    p->format = format_;
    p->data = std::make_shared<const std::vector<std::uint8_t>>(data_);
    p->offset = position < data_.size() ? position : 0;
    double seconds = format_.avg_bytes_per_sec
                         ? static_cast<double>(data_.size() - p->offset) / format_.avg_bytes_per_sec
                         : 0;
    p->start = w.now;
    p->end = w.now + seconds;
    p->volume = volume_;
    p->recorded_before = before;
    if (recording_rate() > 0)
      heard_by_ = before + mixing_delay() + static_cast<std::uint64_t>(seconds * recording_rate()) + 1;
    if (w.listener) w.listener(std::move(p));
  }

  IDirectSoundBuffer *real_;
  ULONG refs_ = 1;
  std::uint64_t serial_ = world().next_serial++;
  WaveFormat format_;
  std::vector<std::uint8_t> data_;
  DWORD lock_offset_ = 0;
  LONG volume_ = 0;
  std::uint64_t heard_by_ = 0;  // where the recording holds the last play to its end
};

class Device final : public IDirectSound {
 public:
  explicit Device(IDirectSound *real) : real_(real) { ++world().live; }

  STDMETHOD(QueryInterface)(REFIID riid, void **out) override { return real_->QueryInterface(riid, out); }
  STDMETHOD_(ULONG, AddRef)() override { return ++refs_; }
  STDMETHOD_(ULONG, Release)() override {
    if (--refs_ > 0) return refs_;
    real_->Release();
    --world().live;
    delete this;
    return 0;
  }
  STDMETHOD(CreateSoundBuffer)(LPCDSBUFFERDESC d, LPLPDIRECTSOUNDBUFFER out, IUnknown *outer) override {
    if (out) *out = nullptr;
    if (failing()) return DSERR_GENERIC;
    IDirectSoundBuffer *real = nullptr;
    HRESULT result = real_->CreateSoundBuffer(d, &real, outer);
    if (FAILED(result) || !real || !out) return result;
    *out = new Buffer(real, *d);
    return result;
  }
  STDMETHOD(GetCaps)(LPDSCAPS caps) override { return real_->GetCaps(caps); }
  // A duplicate would pass the host by; the module makes none.
  STDMETHOD(DuplicateSoundBuffer)(LPDIRECTSOUNDBUFFER, LPLPDIRECTSOUNDBUFFER) override {
    return DSERR_UNSUPPORTED;
  }
  STDMETHOD(SetCooperativeLevel)(HWND window, DWORD level) override {
    return failing() ? DSERR_GENERIC : real_->SetCooperativeLevel(window, level);
  }
  STDMETHOD(Compact)() override { return real_->Compact(); }
  STDMETHOD(GetSpeakerConfig)(LPDWORD c) override { return real_->GetSpeakerConfig(c); }
  STDMETHOD(SetSpeakerConfig)(DWORD c) override { return real_->SetSpeakerConfig(c); }
  STDMETHOD(Initialize)(LPCGUID guid) override { return real_->Initialize(guid); }

 private:
  ~Device() = default;
  IDirectSound *real_;
  ULONG refs_ = 1;
};

HRESULT WINAPI create_device(LPCGUID guid, LPDIRECTSOUND *out, LPUNKNOWN outer) {
  if (out) *out = nullptr;
  if (failing()) return DSERR_GENERIC;
  IDirectSound *real = nullptr;
  HRESULT result = DirectSoundCreate(guid, &real, outer);
  if (FAILED(result) || !real || !out) return result;
  *out = new Device(real);
  return result;
}

// The module's import address table entry for DirectSoundCreate, or null.
void **import_slot(HMODULE module) {
  auto *base = reinterpret_cast<std::uint8_t *>(module);
  auto *dos = reinterpret_cast<IMAGE_DOS_HEADER *>(base);
  if (!base || dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
  auto *nt = reinterpret_cast<IMAGE_NT_HEADERS *>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY &dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!dir.VirtualAddress) return nullptr;
  for (auto *d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR *>(base + dir.VirtualAddress); d->Name; ++d) {
    if (lstrcmpiA(reinterpret_cast<const char *>(base + d->Name), "dsound.dll") != 0) continue;
    auto *names = reinterpret_cast<IMAGE_THUNK_DATA *>(
        base + (d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk));
    auto *slots = reinterpret_cast<IMAGE_THUNK_DATA *>(base + d->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      auto *by_name = reinterpret_cast<IMAGE_IMPORT_BY_NAME *>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char *>(by_name->Name), "DirectSoundCreate") == 0)
        return reinterpret_cast<void **>(&slots->u1.Function);
    }
  }
  return nullptr;
}

}  // namespace

void reset() {
  for (auto &[name, window] : world().windows) destroy(window);
  world().windows.clear();
  world().now = 0;
  world().fail_next = false;
  world().listener = nullptr;
}

void set_time(double seconds) {
  if (seconds > world().now) world().now = seconds;
}
double time() { return world().now; }

// A hidden top-level window of the class, as the simulator's main window.
void open_window(const std::string &class_name) {
  close_window(class_name);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  if (!GetClassInfoA(instance, class_name.c_str(), &wc)) {
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = class_name.c_str();
    RegisterClassA(&wc);
  }
  world().windows[class_name] = CreateWindowA(class_name.c_str(), "Z480 panel", WS_OVERLAPPEDWINDOW,
                                              0, 0, 64, 64, nullptr, nullptr, instance, nullptr);
}

void close_window(const std::string &class_name) {
  auto it = world().windows.find(class_name);
  if (it == world().windows.end()) return;
  destroy(it->second);
  world().windows.erase(it);
}

void set_program_path(const std::string &path) {
  if (!path.empty()) not_here("rename the program the module sees");
}

void fail_next_call() { world().fail_next = true; }

void on_playback(PlaybackListener listener) { world().listener = std::move(listener); }

bool hears_playback() { return recording_rate() > 0; }

std::size_t live_objects() { return world().live; }

double recording_rate() { return the_recording().rate; }

std::uint64_t recorded() {
  WIN32_FILE_ATTRIBUTE_DATA d;
  if (the_recording().path.empty() ||
      !GetFileAttributesExA(the_recording().path.c_str(), GetFileExInfoStandard, &d))
    return 0;
  return ((static_cast<std::uint64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow) / 2;
}

std::vector<float> recording(std::uint64_t from, std::uint64_t to) {
  std::vector<float> out;
  if (to <= from || the_recording().path.empty()) return out;
  HANDLE file = CreateFileA(the_recording().path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return out;
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(from * 2);
  std::vector<std::int16_t> samples(static_cast<std::size_t>(to - from));
  DWORD got = 0;
  if (SetFilePointerEx(file, at, nullptr, FILE_BEGIN) &&
      ReadFile(file, samples.data(), static_cast<DWORD>(samples.size() * 2), &got, nullptr)) {
    samples.resize(got / 2);
    out.reserve(samples.size());
    for (std::int16_t s : samples) out.push_back(static_cast<float>(s) / 32768.0f);
  }
  CloseHandle(file);
  return out;
}

bool wait_recorded(std::uint64_t position) {
  std::uint64_t last = recorded();
  DWORD since = GetTickCount();
  while (last < position) {
    Sleep(2);
    std::uint64_t now = recorded();
    if (now != last) {
      last = now;
      since = GetTickCount();
    } else if (GetTickCount() - since > kStallMilliseconds) {
      return false;
    }
  }
  return true;
}

std::uint64_t mixing_delay() {
  return static_cast<std::uint64_t>(kMixingDelaySeconds * recording_rate());
}

void watch_module(void *module_handle) {
  void **slot = import_slot(static_cast<HMODULE>(module_handle));
  auto hook = reinterpret_cast<void *>(&create_device);
  if (!slot || *slot == hook) return;
  DWORD old = 0;
  if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old)) return;
  *slot = hook;
  VirtualProtect(slot, sizeof *slot, old, &old);
}

}  // namespace platform::control
