// Parameter strings: the text the panel configuration attaches to a placed
// gauge. Keys are case-sensitive substrings followed by their value; a key
// counts only before the first '/', '#' or '\'' of the text searched.
#pragma once

#include <cstdint>

#include "frame/host_names.h"
#include "frame/panel.h"

// The first occurrence of key in text before the comment characters, or null.
const char *param_find_key(const char *text, const char *key);

// A decimal integer: leading blanks, an optional sign, digits up to the first
// non-digit; no digits reads 0; values beyond 32 bits clamp to its ends.
std::int32_t param_read_int(const char *text);

// Panel window ident of a value: a known window name (matched as a prefix),
// else a decimal number (anything else reads 0, the main panel); empty text
// gives -1.
std::int32_t panel_ident_from_text(const char *text);

// Help id of a value: a known help name (matched as a prefix), else a decimal
// number, where numbers below 40960 give 0.
std::int32_t help_id_from_text(const char *text);

// The click actions of a panel toggle: every o (open), c (close) and t
// (toggle) window, then the first p. Returns 1 when the gauge has a
// non-empty parameter string, else 0.
int param_apply_panel_actions(GaugeHeader *gauge);

// Install-time keys: b replaces the background bitmap (multiples of 10 from
// 100 to 200), then h sets the help id of the first mouse rectangle.
void param_apply_install_keys(GaugeHeader *gauge);

// Install-time key a: close that window once.
void param_apply_auto_close(GaugeHeader *gauge);

// A p value beyond this many steps is taken as this many: one click never
// floods the host with key events.
inline constexpr std::int32_t kMaxPanelSteps = 100;
