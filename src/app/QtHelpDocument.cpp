#include "app/QtHelpDocument.h"

#include "app/HelpDocument.h"
#include "app/QtConvert.h"

namespace quilmo {

void OpenHelpDocument(const AppServices& services)
{
    services.desktop.OpenUrl(QUrl::fromLocalFile(Q(HelpDocumentPath(services.ExeDir))));
}

}  // namespace quilmo
