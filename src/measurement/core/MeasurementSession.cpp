#include "measurement/core/MeasurementSession.h"

namespace tonara {

void MeasurementSession::waveArrived()
{
    phase_ = Phase::Measuring;
}

void MeasurementSession::readingWithMoreToCome()
{
    phase_ = Phase::BetweenReadings;
    pause_.setGo(true);
    pause_.begin();
}

void MeasurementSession::resultShown()
{
    phase_ = Phase::ResultUnsaved;
    pause_.setGo(false);
    pause_.reset();
}

void MeasurementSession::ended()
{
    phase_ = Phase::Idle;
    pause_.setGo(false);
    pause_.reset();
}

} // namespace tonara
