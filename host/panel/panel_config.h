// The aircraft's panel configuration (panel.cfg), read as the simulator reads
// it: INI-style sections, `[Window Titles]` naming the windows and one
// `[WindowNN]` section per panel window with its size, place on the screen,
// visibility at load, ident and gauges:
//
//   [Window00]
//   size_mm=1400,640            the window's own coordinates (gauge units)
//   position=7                  or window_pos=X,Y / window_size=W,H (screen 0..1)
//   visible=1                   shown when the panel loads (default 1)
//   ident=MAIN_PANEL            a panel ident name or number (default 10000+NN)
//   file=NAME.bmp               its background bitmap (host/panel/panel_background.h)
//   background_color=20,22,25   shown where that bitmap is missing
//   gauge00=Z480_Instr!Airspeed, 20, 30, 110, 110, PARAMETER
//
// A gauge line is MODULE!GAUGE, X, Y, then up to two size fields W and H
// (an empty field keeps the gauge's own size); whatever follows is the
// gauge's parameter string, exactly as written, comments and commas
// included. Without a parameter a `//` comment may end the line. Lines end
// in LF, CR LF or CR; a UTF-8 byte-order mark at the start is skipped. Whole-line
// comments start with `//` or `;`. Unknown sections and keys are ignored; a
// line that cannot be read is reported with its number and skipped.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/util/dib.h"

namespace z480 {

struct PanelDiagnostic {
  int line = 0;
  std::string message;
};

struct GaugePlacementConfig {
  int line = 0;
  std::string module;  // as written before '!'
  std::string gauge;
  int x = 0, y = 0;
  std::optional<int> width, height;  // nothing: the gauge's own size
  std::optional<std::string> parameters;
};

struct PanelWindowConfig {
  int number = 0;  // NN of [WindowNN]
  int line = 0;    // the section's header line
  std::string title;
  std::uint32_t ident = 0;
  bool visible = true;
  int width = 0, height = 0;  // size_mm; 0 when not given
  std::string file;           // background bitmap, as named
  // That bitmap as the loader found and read it (shared, for the
  // configuration is copied about); null when there is none.
  std::shared_ptr<const Pixels> background;
  std::optional<std::uint32_t> background_color;  // 0xRRGGBB
  int position = -1;          // 0..8 screen anchor, -1 when not given
  std::optional<double> pos_x, pos_y, size_x, size_y;  // fractions of the screen
  std::vector<GaugePlacementConfig> gauges;
};

struct PanelConfig {
  std::vector<PanelWindowConfig> windows;  // in the order of their sections
  std::vector<PanelDiagnostic> diagnostics;
};

// Reads a whole configuration; never fails, reports what it skipped.
PanelConfig parse_panel_config(std::string_view text);

// A panel ident from its name (MAIN_PANEL, RADIO_STACK_PANEL, ... with or
// without the IDENT_ prefix) or a decimal number; nothing when it is neither.
std::optional<std::uint32_t> panel_ident(std::string_view text);

// The ident a window without an `ident` key gets: the user range.
inline constexpr std::uint32_t kUserIdentBase = 10000;

// The most gauges one panel places, in all its windows (an aircraft's panel
// has a few hundred at most); gauge lines past it are reported and skipped.
inline constexpr std::size_t kMaxPanelGauges = 4096;

}  // namespace z480
