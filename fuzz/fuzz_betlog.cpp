// The bet log: an index file and the day logs it names, as one archive (bytes before the first file
// marker are the index). The reader must stay within its bound and give lines of their fixed widths.
#include "FuzzSupport.h"

#include "core/AppError.h"
#include "core/Paths.h"
#include "patdata/BetLogReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = (Fuzz::Quiet(), true);
    (void)quiet;
    const QString folder = Fuzz::WriteFiles(
        Fuzz::SplitArchive(QByteArrayView(data, static_cast<qsizetype>(size)), QStringLiteral("LG-FILE.JRA")));
    // The folder is read as the program reads it, within one listing of it.
    const ClientFiles::Scope scope;
    BetLogReader log;
    log.setPathName(folder);
    try {
        if (!log.GetData(QStringLiteral("20261205"))) {
            return 0;
        }
    } catch (const AppError& e) {
        Fuzz::Check(e.Number() == ErrNo::Overflow && log.LogCount() == 0, "only the bound may stop the read",
                    e.Description());
        return 0;
    }
    Fuzz::Check(log.LogCount() <= 250000, "bet lines within the bound");
    Fuzz::Check(log.BetCount() <= log.LogCount(), "day lines within all lines");
    Fuzz::Check(log.Log(1).size() == 27 && log.Log(log.LogCount()).size() == 27, "bet line width");
    if (log.LogOmitCount() > 0) {
        Fuzz::Check(log.LogOmit(1).size() == 63 && log.LogOmit(log.LogOmitCount()).size() == 63, "ticket width");
        // The ticket lines are sorted by their texts.
        for (qsizetype i = 2; i <= qMin<qsizetype>(log.LogOmitCount(), 200); ++i) {
            Fuzz::Check(log.LogOmit(i - 1) <= log.LogOmit(i), "ticket lines sorted");
        }
    }
    return 0;
}
