#include "data/FhirExportFlow.h"

#include "data/FhirExportPanel.h"

namespace tonara {

FhirExportPanel *FhirExportFlow::run(QWidget *parent, DBHelper &db, int user, MailComposer::Options mail,
                                     const Clock *clock)
{
    auto *panel = new FhirExportPanel({&db, user, clock, std::move(mail)}, parent);
    panel->present();
    return panel;
}

} // namespace tonara
