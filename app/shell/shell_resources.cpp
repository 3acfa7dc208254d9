#include "shell_resources.h"

#include <QtCore/qglobal.h>

// Q_INIT_RESOURCE must be used outside any namespace.
static void RegisterShellResources() {
    Q_INIT_RESOURCE(shell);
    Q_INIT_RESOURCE(help);
}

namespace fw {

void InitShellResources() {
    static const bool registered = (RegisterShellResources(), true);
    (void)registered;
}

} // namespace fw
