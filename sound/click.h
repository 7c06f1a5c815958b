// The clicking-switch sound: a gauge kind that clicks keeps one ClickSound
// among its statics, opens it at install, plays it after each click action
// and closes it at kill. Instances of one kind share the channel; it is
// opened by the first install and released by the last kill.
#pragma once

#include "frame/panel.h"
#include "sound/sound.h"

struct ClickSound {
  SoundChannel channel{};
  int installs = 0;  // placed instances of the kind
};

// Service 2: keep the module handle, find the host window, create the
// device, load Switch_Click. Each step runs even when an earlier one failed
// (it then does nothing: the module is silent).
void click_install(ClickSound &click, ServiceData module_handle);
// After the switch's action: play Switch_Click once.
void click_play(ClickSound &click);
// Service 12: release the buffer, then the device.
void click_kill(ClickSound &click);

// The whole gauge callback of a kind that only clicks: install at service 2,
// kill at service 12, nothing for the other codes.
inline void click_service(ClickSound &click, std::int32_t service, ServiceData extra) {
  if (service == kServiceInstall) click_install(click, extra);
  if (service == kServiceKill) click_kill(click);
}
