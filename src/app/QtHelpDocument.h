#pragma once
// The help document, opened the same way from every window.

#include "app/AppServices.h"

namespace quilmo {

// Opens the help document found by HelpDocumentPath with the desktop's default
// program. A document that cannot be opened is not reported.
void OpenHelpDocument(const AppServices& services);

}  // namespace quilmo
