#include "measurement/core/TrivPause.h"

namespace tonara {

TrivPause::Tick TrivPause::tick()
{
    if (!go_ || count_ >= kIdle)
        return Tick::Nothing;
    if (count_ >= 1) {
        --count_;
        return Tick::Counted;
    }
    count_ = kIdle;
    return Tick::Continue;
}

} // namespace tonara
