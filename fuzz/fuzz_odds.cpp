// The four odds layouts read from the same bytes. Every reader must either refuse the file or leave
// tables of 1..18 numbers whose every cell can be read.
#include "FuzzSupport.h"

#include "odds/ExactaOddsReader.h"
#include "odds/QuinellaOddsReader.h"
#include "odds/TrioOddsReader.h"
#include "odds/WinPlaceOddsReader.h"

#include <utility>

namespace {

void ReadAll(const OddsList& t) {
    Fuzz::Check(t.Tosu() >= 1 && t.Tosu() <= 18, "single table size");
    for (int n = 1; n <= t.Tosu(); ++n) {
        Fuzz::Check(t.Odds(n).size() <= 64, "single cell text");
    }
}

// The borders and the diagonal: every cell a reader could have sized wrongly lies on one of them.
void ReadAll(const OddsMatrix& t) {
    Fuzz::Check(t.Tosu() >= 1 && t.Tosu() <= 18, "pair table size");
    const int n = t.Tosu();
    for (int i = 1; i <= n; ++i) {
        for (const auto& [c, r] :
             {std::pair{i, 1}, std::pair{1, i}, std::pair{i, i}, std::pair{i, n}, std::pair{n, i}}) {
            Fuzz::Check(t.Odds(c, r).size() <= 64, "pair cell text");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = (Fuzz::Quiet(), true);
    (void)quiet;
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    // A file is taken only for its own day: the date the reader checks is the one the file starts with,
    // so every input reaches the records behind the header.
    const QString date = QString::fromLatin1(bytes.first(qMin<qsizetype>(8, bytes.size())));

    WinPlaceOddsReader zo;
    if (zo.GetDataFromBytes(bytes, date)) {
        ReadAll(*zo.objOddsWin());
        ReadAll(*zo.objOddsPlace());
        ReadAll(*zo.objOddsPlaceMax());
        ReadAll(*zo.objOddsBracket());
    }
    QuinellaOddsReader uo;
    if (uo.GetDataFromBytes(bytes, date)) {
        ReadAll(*uo.objOddsQuinella());
        ReadAll(*uo.objOddsWide());
        ReadAll(*uo.objOddsWideMax());
    }
    ExactaOddsReader so;
    if (so.GetDataFromBytes(bytes, date)) {
        ReadAll(*so.objOddsExacta());
    }
    TrioOddsReader yo;
    if (yo.GetDataFromBytes(bytes, date)) {
        Fuzz::Check(yo.TrioCount() >= 1 && yo.TrioCount() <= 18, "trio slices");
        for (int n = 1; n <= yo.TrioCount(); ++n) {
            ReadAll(*yo.objOddsTrio(n));
        }
    }
    return 0;
}
