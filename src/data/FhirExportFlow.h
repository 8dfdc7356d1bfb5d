#pragma once

// The FHIR export of the active user, from the "Backup and data" panel: shows
// the export panel over the phone's display and returns it.
//
//   FhirExportPanel *panel = FhirExportFlow::run(display, db, user, {documentsFolder, &alerts});
//   connect(panel, &FhirExportPanel::finished, ...);   // optional
//
// The panel saves to a file the person picks or hands the bundle to the mail
// composer, and closes itself.

#include "platform/MailComposer.h"

class QWidget;

namespace tonara {

class Clock;
class DBHelper;
class FhirExportPanel;

class FhirExportFlow {
public:
    static FhirExportPanel *run(QWidget *parent, DBHelper &db, int user, MailComposer::Options mail,
                                const Clock *clock = nullptr);
};

} // namespace tonara
