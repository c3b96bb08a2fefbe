#include "Platform.h"

#include <QtGlobal>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace Platform {
bool runningAsRoot() {
#if defined(Q_OS_UNIX)
    return geteuid() == 0;
#else
    return false;
#endif
}
} // namespace Platform
