#pragma once

// Runs a deletion after the automatic backup that can undo it:
//
//   backUpThenDelete(context_, DataSafetyNet::Operation::ResetData, this,
//                    [this](const std::string &backup) { deleteOldData(backup); });
//
// The deletion gets the backup's path ("" without a safety net, or when the
// person chose to delete without one). When the backup cannot be made the
// person is asked first: nothing is deleted without a way back unasked.

#include "users/UsersContext.h"
#include "users/core/DataSafetyNet.h"

#include <functional>
#include <string>

class QObject;

namespace tonara {

void backUpThenDelete(const UsersContext &context, DataSafetyNet::Operation operation, QObject *screen,
                      std::function<void(const std::string &backup)> deletion);

} // namespace tonara
