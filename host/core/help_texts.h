// The simulator's short help texts for the help ids this module's mouse
// rectangles carry (the simulator supplies them; the module holds only the
// numbers), so that a tooltip of this host reads as the simulator's would.
#pragma once

#include <cstdint>
#include <string>

namespace z480 {

// Empty for 0 and for an id the table does not know.
std::string help_text(std::int32_t help_id);

}  // namespace z480
