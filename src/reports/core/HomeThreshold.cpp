#include "reports/core/HomeThreshold.h"

namespace tonara {

HomeThreshold HomeThreshold::fromValues(int sys, int dia)
{
    const HomeThreshold low = highRisk();
    return sys == low.sys_ && dia == low.dia_ ? low : standard();
}

} // namespace tonara
