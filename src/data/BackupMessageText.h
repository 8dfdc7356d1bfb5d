#pragma once

#include "data/core/BackupMessage.h"

#include <QCoreApplication>
#include <QString>

namespace tonara {

struct LocalDateTime;

// The backup layer's sentences as a person reads them: translated first, the
// values filled in after.
class BackupMessageText {
    Q_DECLARE_TR_FUNCTIONS(BackupMessageText)
public:
    static QString text(const BackupMessage &message);
    // "9 Dec 2026, 08:41"
    static QString moment(const LocalDateTime &at);
    // What a person reads for an automatic backup's operation code.
    static QString operation(const std::string &code);
};

} // namespace tonara
