// Interim: the click sound opens no channel until the sound engine lands.
#include "sound/click.h"

void click_install(ClickSound &click, ServiceData module_handle) {
  ++click.installs;
  click.channel.module_handle = module_handle;
}
void click_play(ClickSound &) {}
void click_kill(ClickSound &click) {
  if (click.installs > 0) --click.installs;
}
