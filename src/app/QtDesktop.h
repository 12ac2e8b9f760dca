#pragma once
// The real desktop: default programs through the desktop's services.

#include "app/AppServices.h"

namespace quilmo {

class QtDesktop : public Desktop {
public:
    bool OpenUrl(const QUrl& url) override;
    bool StartCalculator() override;
};

}  // namespace quilmo
