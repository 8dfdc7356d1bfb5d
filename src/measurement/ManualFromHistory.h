#pragma once

namespace tonara {

// Set to 1 by the history screen's add button before it switches to the
// measurement tab; the manual entry then starts by itself, returns to the
// history tab when it ends and sets the flag back to 0.
struct ManualFromHistory {
    static inline int manual_from_history = 0;
};

} // namespace tonara
