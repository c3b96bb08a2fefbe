// A whole data folder as one archive of named files (bytes before the first file marker are the first
// account file): account files, bet log, result and payout files, odds files, the download folder's
// results. Everything the controller does with a folder is done: read it, sum the day, and build the
// aggregate of every race on sale.
#include "FuzzSupport.h"

#include "core/AppError.h"
#include "patdata/DayTotals.h"
#include "patdata/Meeting.h"
#include "patdata/SaleDayReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = (Fuzz::quiet(), true);
    (void)quiet;
    const QString folder = Fuzz::writeFiles(
        Fuzz::splitArchive(QByteArrayView(data, static_cast<qsizetype>(size)), QStringLiteral("UY-A.JRA")));
    try {
        SaleDayReader pat = SaleDayReader::read(folder, folder + QStringLiteral("VQDOWNLOAD"));
        if (!pat.betLog()) {
            return 0;
        }
        if (const std::optional<DayTotals> totals = sumDayTotals(pat.meetings())) {
            Fuzz::check(totals->logCount <= 250000, "bet lines within the bound");
        }
        for (qsizetype k = 1; k <= pat.kaisaiCount(); ++k) {
            for (qsizetype r = 1; r <= pat.meeting(k)->raceCount(); ++r) {
                pat.readRaceOdds(static_cast<qint16>(k), static_cast<qint16>(r));
            }
        }
    } catch (const AppError& e) {
        // Sums past 32 bits are reported as overflow; nothing else may escape a read of the folder.
        Fuzz::check((e.number() & 0xFFFF) == ErrNo::Overflow, "unexpected error", e.description());
    }
    return 0;
}
