#include "sound/click.h"

void click_install(ClickSound &click, ServiceData module_handle) {
  if (click.installs++ > 0) return;  // the kind's channel is open already
  SoundChannel &c = click.channel;
  c.module_handle = module_handle;
  c.window = sound_find_host_window();
  sound_create_device(c.window, &c.device);
  sound_load_wave(c.window, c.device, &c.buffer, kSwitchClick, c.module_handle);
}

void click_play(ClickSound &click) { sound_play(&click.channel.buffer, 0); }

void click_kill(ClickSound &click) {
  if (click.installs == 0 || --click.installs > 0) return;
  sound_release(&click.channel.buffer);
  sound_release(&click.channel.device);
}
