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
    static const bool quiet = (Fuzz::Quiet(), true);
    (void)quiet;
    const QString folder = Fuzz::WriteFiles(
        Fuzz::SplitArchive(QByteArrayView(data, static_cast<qsizetype>(size)), QStringLiteral("UY-A.JRA")));
    SaleDayReader pat;
    pat.setPathName(folder);
    pat.setDownPath(folder + QStringLiteral("VQDOWNLOAD"));
    try {
        if (!pat.Initialize()) {
            return 0;
        }
        if (const std::optional<DayTotals> totals = SumDayTotals(pat.colKaisai())) {
            Fuzz::Check(totals->LogCount <= 250000, "bet lines within the bound");
        }
        for (qsizetype k = 1; k <= pat.KaisaiCount(); ++k) {
            for (qsizetype r = 1; r <= pat.objKaisai(k)->RaceCount(); ++r) {
                pat.GetOdds(static_cast<qint16>(k), static_cast<qint16>(r));
            }
        }
    } catch (const AppError& e) {
        // Sums past 32 bits are reported as overflow; nothing else may escape a read of the folder.
        Fuzz::Check((e.Number() & 0xFFFF) == ErrNo::Overflow, "unexpected error", e.Description());
    }
    return 0;
}
