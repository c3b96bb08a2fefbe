// The measuring tools' one platform file.
#include "CpuTime.h"

#ifdef _WIN32
#include <windows.h>

namespace {
double seconds(const FILETIME& t) {
    ULARGE_INTEGER ticks;
    ticks.LowPart = t.dwLowDateTime;
    ticks.HighPart = t.dwHighDateTime;
    return double(ticks.QuadPart) / 1e7; // 100 ns ticks
}
} // namespace

double processCpuSeconds() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) {
        return 0;
    }
    return seconds(kernel) + seconds(user);
}
#else
#include <sys/resource.h>

double processCpuSeconds() {
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return double(use.ru_utime.tv_sec + use.ru_stime.tv_sec) +
           double(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
}
#endif
