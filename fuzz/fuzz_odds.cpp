// The four odds layouts read from the same bytes. Every reader must either refuse the file or leave
// tables of 1..18 numbers whose every cell can be read.
#include "FuzzSupport.h"

#include "odds/ExactaOddsReader.h"
#include "odds/QuinellaOddsReader.h"
#include "odds/TrioOddsReader.h"
#include "odds/WinPlaceOddsReader.h"

#include <utility>

namespace {

void readAll(const OddsList& t) {
    Fuzz::check(t.tosu() >= 1 && t.tosu() <= 18, "single table size");
    for (int n = 1; n <= t.tosu(); ++n) {
        Fuzz::check(t.odds(n).size() <= 64, "single cell text");
    }
}

// The borders and the diagonal: every cell a reader could have sized wrongly lies on one of them.
void readAll(const OddsMatrix& t) {
    Fuzz::check(t.tosu() >= 1 && t.tosu() <= 18, "pair table size");
    const int n = t.tosu();
    for (int i = 1; i <= n; ++i) {
        for (const auto& [c, r] :
             {std::pair{i, 1}, std::pair{1, i}, std::pair{i, i}, std::pair{i, n}, std::pair{n, i}}) {
            Fuzz::check(t.odds(c, r).size() <= 64, "pair cell text");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = (Fuzz::quiet(), true);
    (void)quiet;
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    // A file is taken only for its own day: the date the reader checks is the one the file starts with,
    // so every input reaches the records behind the header.
    const QString date = QString::fromLatin1(bytes.first(qMin<qsizetype>(8, bytes.size())));

    WinPlaceOddsReader zo;
    if (zo.readBytes(bytes, date)) {
        readAll(*zo.winOdds());
        readAll(*zo.placeOdds());
        readAll(*zo.placeMaxOdds());
        readAll(*zo.bracketOdds());
    }
    QuinellaOddsReader uo;
    if (uo.readBytes(bytes, date)) {
        readAll(*uo.quinellaOdds());
        readAll(*uo.wideOdds());
        readAll(*uo.wideMaxOdds());
    }
    ExactaOddsReader so;
    if (so.readBytes(bytes, date)) {
        readAll(*so.exactaOdds());
    }
    TrioOddsReader yo;
    if (yo.readBytes(bytes, date)) {
        Fuzz::check(yo.trioCount() >= 1 && yo.trioCount() <= 18, "trio slices");
        for (int n = 1; n <= yo.trioCount(); ++n) {
            readAll(*yo.trioOdds(n));
        }
    }
    return 0;
}
