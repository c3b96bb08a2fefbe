#pragma once

#include "clientfiles/ResultFiles.h"

#include "results/RaceResultReader.h"

#include <QString>
#include <QStringList>

// The result line the reader must produce, spelled out field by field (sale 0, venue, race, bet type,
// three numbers, purchase day 0, units 0000, amount, hit flag 0).
inline QString line(int venue, int race, int type, int n1, int n2, int n3, qint32 amount) {
    return QString::asprintf("0%02d%02d%02d%02d%02d%02d00000%08d0", venue, race, type, n1, n2, n3, amount);
}

// A run race at Tokyo (venue 5), year 2026, meeting 2, day 8, race 11: id "5628B".
inline ResultFiles::ResultFile sampleRace() {
    using namespace ResultFiles;
    ResultFile f;
    f.weather = QStringLiteral("晴");
    f.turf = QStringLiteral("良");
    f.raceName1 = QStringLiteral("府中ステークス");
    f.raceName2 = QStringLiteral("サラ系３歳上１６００万下");
    f.finishers[0] = {1, 3, QStringLiteral("ｱｲｳｴｰｵ"), QStringLiteral("1:34.5"), 2};
    f.finishers[1] = {2, 7, QStringLiteral("ｶｷｸｹｺ"), QStringLiteral("1/2"), 4};
    f.finishers[2] = {3, 12, QStringLiteral("ｻｼｽｾｿ"), QStringLiteral("ｸﾋﾞ"), 6};
    f.finishers[3] = {4, 1, QStringLiteral("ﾀﾁﾂﾃﾄ"), QStringLiteral("2"), 1};
    f.finishers[4] = {5, 16, QStringLiteral("ﾅﾆﾇﾈﾉ"), QStringLiteral("ﾊﾅ"), 8};
    f.payouts[Win - 1] = {{3, 0, 0, 230}};
    f.payouts[Place - 1] = {{3, 0, 0, 120}, {7, 0, 0, 340}, {12, 0, 0, 560}};
    f.payouts[BracketQuinella - 1] = {{2, 4, 0, 1230}};
    f.payouts[Quinella - 1] = {{3, 7, 0, 2450}};
    f.payouts[Wide - 1] = {{3, 7, 0, 810}, {3, 12, 0, 1020}, {7, 12, 0, 2980}};
    f.payouts[Exacta - 1] = {{3, 7, 0, 4560}};
    f.payouts[Trio - 1] = {{3, 7, 12, 8790}};
    return f;
}

inline const QString kSampleId = QStringLiteral("5628B");
inline const QString kSampleDate = QStringLiteral("20260405");

// The sample race's lines in reading order: win, place, bracket quinella, quinella, exacta, wide, trio.
inline QStringList sampleLines() {
    return {
        line(5, 11, 1, 0, 0, 3, 230),   line(5, 11, 2, 0, 0, 3, 120),   line(5, 11, 2, 0, 0, 7, 340),
        line(5, 11, 2, 0, 0, 12, 560),  line(5, 11, 3, 0, 2, 4, 1230),  line(5, 11, 4, 0, 3, 7, 2450),
        line(5, 11, 6, 0, 3, 7, 4560),  line(5, 11, 5, 0, 3, 7, 810),   line(5, 11, 5, 0, 3, 12, 1020),
        line(5, 11, 5, 0, 7, 12, 2980), line(5, 11, 7, 3, 7, 12, 8790),
    };
}

// Lines of one bet type, in order.
inline QStringList ofType(const QStringList& lines, int type) {
    QStringList out;
    for (const QString& l : lines) {
        if (l.mid(5, 2).toInt() == type) {
            out << l;
        }
    }
    return out;
}

struct ReadOutcome {
    RaceResultReader reader;
    bool ok = false; // a file gave result lines
    QStringList lines;
};

inline ReadOutcome readRace(const QString& folder, const QString& id = kSampleId, qint16 tosu = 18,
                            const QString& date = kSampleDate) {
    RaceResultReader ks = RaceResultReader::read(folder, id, tosu, date);
    const bool ok = ks.kekkaCount() > 0;
    QStringList lines = ks.kekkaLines();
    return {std::move(ks), ok, std::move(lines)};
}
