#include "Platform.h"

#include <QtGlobal>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace Platform {
bool RunningAsRoot() {
#if defined(Q_OS_UNIX)
    return geteuid() == 0;
#else
    return false;
#endif
}

bool FileNamesIgnoreCase() {
#if defined(Q_OS_WIN)
    return true;
#else
    return false;
#endif
}
} // namespace Platform
