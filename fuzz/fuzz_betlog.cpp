// The bet log: an index file and the day logs it names, as one archive (bytes before the first file
// marker are the index). The reader must stay within its bound and give lines of their fixed widths.
#include "FuzzSupport.h"

#include "core/AppError.h"
#include "core/Paths.h"
#include "patdata/BetLogReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = (Fuzz::quiet(), true);
    (void)quiet;
    const QString folder = Fuzz::writeFiles(
        Fuzz::splitArchive(QByteArrayView(data, static_cast<qsizetype>(size)), QStringLiteral("LG-FILE.JRA")));
    std::optional<BetLogReader> read;
    try {
        read.emplace(BetLogReader::read(folder, QStringLiteral("20261205")));
    } catch (const AppError& e) {
        Fuzz::check(e.number() == ErrNo::Overflow, "only the bound may stop the read", e.description());
        return 0;
    }
    const BetLogReader& log = *read;
    if (log.logCount() == 0) {
        return 0;
    }
    Fuzz::check(log.logCount() <= 250000, "bet lines within the bound");
    Fuzz::check(log.betCount() <= log.logCount(), "day lines within all lines");
    Fuzz::check(log.log(1).size() == 27 && log.log(log.logCount()).size() == 27, "bet line width");
    if (log.logOmitCount() > 0) {
        Fuzz::check(log.logOmit(1).size() == 63 && log.logOmit(log.logOmitCount()).size() == 63, "ticket width");
        // The ticket lines are sorted by their texts.
        for (qsizetype i = 2; i <= qMin<qsizetype>(log.logOmitCount(), 200); ++i) {
            Fuzz::check(log.logOmit(i - 1) <= log.logOmit(i), "ticket lines sorted");
        }
    }
    return 0;
}
