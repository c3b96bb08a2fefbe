#include "ResultTestSupport.h"
#include "SamplePage.h"

#include "core/CodePage.h"
#include "results/ResultsPageConverter.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

// The page as the download window hands it over: every half-width space made "#".
QString hashed(const QStringList& lines) {
    return ResultPages::joinLines(lines).replace(u' ', u'#');
}

QStringList sampleLinesWith(int index, const QString& line) {
    QStringList lines = ResultPages::resultsPageLines(samplePage());
    lines[index] = line;
    return lines;
}

QByteArray record(const QStringList& lines) {
    const auto file = ResultsPageConverter::makeKekka(hashed(lines));
    return file ? file->bytes : QByteArray();
}

TEST(Converter, PageToFileToReader) {
    TempFolder dir;
    const QString save = dir.path() + QStringLiteral("VQDOWNLOAD/20260405");
    ResultsPageConverter conv;
    conv.setSavePathName(save);
    ASSERT_TRUE(conv.convertResultsPage(hashed(ResultPages::resultsPageLines(samplePage()))));
    EXPECT_EQ(conv.kekkaFileName(), QStringLiteral("KS-5628B.JRA"));

    // Byte for byte what the betting client writes for the same race, but the time of writing.
    const QByteArray bytes = dir.read(QStringLiteral("VQDOWNLOAD/20260405/KS-5628B.JRA"));
    ASSERT_EQ(bytes.size(), 849);
    EXPECT_EQ(bytes.left(835), ResultFiles::writeResultFile(sampleRace()).left(835));
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^20\\d{12}$")).match(QString::fromLatin1(bytes.mid(835))).hasMatch());

    const ReadOutcome r = readRace(save);
    const RaceResultReader& ks = r.reader;
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.lines, sampleLines());
    EXPECT_EQ(ks.umaName(1), QStringLiteral("ｱｲｳｴ-ｵ            "));
    EXPECT_EQ(ks.diff(3), QStringLiteral("ｸﾋﾞ   "));
    EXPECT_EQ(ks.wakuNum(5), 8);
}

// Day 10 and later of a meeting: the file is named by the last digit of the day number, as the reader
// looks for it, and holds the whole number where the client writes it.
TEST(Converter, DayNumbersOfTwoDigitsRoundTrip) {
    for (const int day : {10, 12}) {
        TempFolder dir;
        ResultPages::RacePage page = samplePage();
        page.meeting.hiJi = day;
        ResultsPageConverter conv;
        conv.setSavePathName(dir.path());
        ASSERT_TRUE(conv.convertResultsPage(hashed(ResultPages::resultsPageLines(page)))) << day;
        ResultFiles::ResultFile race = sampleRace();
        race.hiJi = day;
        const QString id = ResultFiles::resultFileId(race);
        EXPECT_EQ(conv.kekkaFileName(), QStringLiteral("KS-") + id + QStringLiteral(".JRA"));
        EXPECT_EQ(dir.read(conv.kekkaFileName()).left(835), ResultFiles::writeResultFile(race).left(835)) << day;
        EXPECT_EQ(readRace(dir.path(), id).lines, sampleLines()) << day;
    }
}

// One line of the sample page replaced; the bytes it must give at a position.
TEST(Converter, LineShapes) {
    struct Case {
        int line;
        QString text;
        int pos;
        QString expected;
    };
    const QString rowStart = QStringLiteral("2 4 7 牡5 カキクケコ 56 騎手 1:34.6 ");
    const Case cases[] = {
        {1, QStringLiteral("2026年2回東京8日 12月 25日（金） 11Ｒ"), 1, QStringLiteral("20261225東京")},
        {2, QStringLiteral("Abc Def"), 35, QStringLiteral("Ｄｅｆ ")},
        {2, QStringLiteral("ﾒｲﾝﾚｰｽ "), 35, QStringLiteral("メインレース ")},
        {2, QStringLiteral("府中ステークス"), 35, QString(28, u' ')},
        {2, QStringLiteral("11Ｒ 一二三四五六七八九十壱弐参四五（Ｇ１）"), 35,
         QStringLiteral("一二三四五六七八九十壱弐参四")},
        {2, QStringLiteral("11Ｒ ÄB"), 35, QStringLiteral("？Ｂ ")}, // outside the code page
        {3, QStringLiteral(" サラ系 芝1600m"), 63, QStringLiteral("１６００万下 ")},
        {4, QStringLiteral("（混合） １０００万円以下 定量"), 63, QStringLiteral("サラ系３歳上１０００万下 ")},
        {4, QStringLiteral("（国際） オープン 別定 "), 63, QStringLiteral("サラ系３歳上オープン ")},
        {4, QStringLiteral("オープン 別定"), 63, QStringLiteral("サラ系３歳上オープン ")},
        {4, QStringLiteral("オープン"), 63, QStringLiteral("サラ系３歳上 ")},
        {4, QStringLiteral("（国際） xオープンオープンオープン 別定"), 63,
         QStringLiteral("サラ系３歳上xオープンオープ 1")},
        {5, QStringLiteral(" 天候：小雨 ダート：不良"), 23, QStringLiteral("小雨    不良")},
        {7, QStringLiteral("1 2 3 牡4 ア漢漢漢漢漢漢漢漢漢 57 騎手 1:34.5   480Kg"), 95,
         QStringLiteral("ｱ漢漢漢漢漢漢漢漢 1:34.5")},
        {7, QStringLiteral(":1 2 3 牡4 アイウ 57 騎手 1:34.5   480Kg"), 91,
         QStringLiteral("2  7ｶｷｸｹｺ             1:34.6")},
        {8, rowStart + QStringLiteral("1 1/2馬身  478Kg"), 153, QStringLiteral("1.1/2 ")},
        {8, rowStart + QStringLiteral("（３位降着）  478Kg"), 153, QStringLiteral("3降着 ")},
        {8, rowStart + QStringLiteral("1/2 478Kg"), 153, QStringLiteral("      ")},
        {8, rowStart + QStringLiteral("1/2 計不"), 153, QStringLiteral("1/2   ")},
        {8, QStringLiteral("2 4 7 牡5 カキクケコ 56 騎手 1346 1/2  478Kg"), 153, QStringLiteral("      ")},
        {8, QStringLiteral("1 4 7 牡5 カキクケコ 56 騎手 1:34.5 同着  478Kg"), 131,
         QStringLiteral("1  7ｶｷｸｹｺ             同着  ")},
        {8, QStringLiteral("中止 4 7 牡5 カキクケコ 56 騎手    478Kg"), 131, QStringLiteral("3 12ｻｼｽｾｿ")},
        {9, QStringLiteral("----------"), 171, QString(40, u' ')},
        {9, QStringLiteral("3 6"), 171, QStringLiteral("4  1ﾀﾁﾂﾃﾄ")},
    };
    for (const Case& c : cases) {
        const QByteArray expected = CodePage::encode(c.expected);
        EXPECT_EQ(record(sampleLinesWith(c.line, c.text)).mid(c.pos - 1, expected.size()), expected)
            << qPrintable(c.text);
    }
}

// The payout part of the page replaced by the rows; the bytes at a position and the seven presence flags.
TEST(Converter, PayoutRows) {
    struct Case {
        QStringList rows;
        int pos;
        QByteArray expected;
        QByteArray presence;
    };
    const Case cases[] = {
        {{"単勝 3 230円 1番人気", " 5 180円 2番人気"}, 378, " 3     230 5     180           ", "1      "},
        {{"複勝 3 120円", "", " 7 340円", " 12 560円"}, 408, " 3     120 7     34012     560          ", " 1     "},
        {{"単勝 1 100円", " 2 200円", " 3 300円", " 4 400円"}, 378, " 1     100 2     200 3     300 ", "1      "},
        {{"枠連 2-4 1,230円 4番人気"}, 458, " 2-4    1230 ", "  1    "},
        {{"馬単 03-07 4,560円"}, 676, "  3> 7    4560 ", "     1 "},
        {{"馬連 03-07 2,450円", "枠単 2-4 3,000円", " 2-5 4,000円"},
         458,
         QByteArray(36, ' ') + "  3- 7    2450" + QByteArray(28, ' '),
         "   1   "},
        {{"３連複 03-07-12 8,790円", "３連単 03-07-12 45,670円", " 07-03-12 51,230円"},
         760,
         "  3- 7-12    8790" + QByteArray(34, ' '),
         "      1"},
        {{"単勝 230円 1番人気"}, 378, QByteArray(30, ' '), "       "},
        {{"返還馬番 3番 7番"}, 811, "1 3 7              #", "       "},
        {{"返還同枠 6枠"}, 811, "1               2  #", "       "},
        {{"返還枠番 2枠 9枠"}, 811, "1           1      #", "       "},
        {{"返還馬番 1番 2番 3番 4番 5番 6番"}, 811, "1 1 2 3 4 5        #", "       "},
    };
    for (const Case& c : cases) {
        const QByteArray bytes = record(ResultPages::resultsPageLines(samplePage()).mid(0, 15) + c.rows);
        EXPECT_EQ(bytes.mid(c.pos - 1, c.expected.size()), c.expected) << c.rows.join(u'|').toStdString();
        EXPECT_EQ(bytes.mid(370, 7), c.presence) << c.rows.join(u'|').toStdString();
    }
}

// Pages that make no file: nothing is written anywhere, and the old file of the race stays as it was
// until a sound page replaces it.
TEST(Converter, FailedPagesWriteNothing) {
    TempFolder dir;
    const QString save = dir.sub(QStringLiteral("save"));
    dir.write(QStringLiteral("save/KS-5628B.JRA"), "old");
    const QString date = QStringLiteral("年2回東京8日 4月 5日（日） 11Ｒ");
    const std::pair<int, QString> cases[] = {
        {0, QStringLiteral("レース結果")},
        {1, QStringLiteral("2026/04/05 東京 11R")},
        {6, QStringLiteral("着順 枠番 馬番 馬名")},
        {14, QStringLiteral("払戻金")},
        {8, QStringLiteral("2 4 7 牡5 カキクケコ 56 騎手 1:34.6 1 1/2馬身差  478Kg")},
        {1, QStringLiteral("2026年2回大井8日 4月 5日（日） 11Ｒ")},
        {1, QStringLiteral("2026年/回東京8日 4月 5日（日） 11Ｒ")},
        {1, QStringLiteral("2026年2回東京.日 4月 5日（日） 11Ｒ")},
        {1, QStringLiteral("../.") + date},
        {1, QStringLiteral("2026年２回東京８日 4月 5日（日） 11Ｒ")},
        {1, QStringLiteral("2026年2回東京8日 4月 5日（日） 13Ｒ")},
        {1, QStringLiteral("2026年2回東京8日 13月 5日（日） 11Ｒ")},
        {1, QStringLiteral("2026年2回東京100日 4月 5日（日） 11Ｒ")},
        {1, QStringLiteral("2026年2回東京1.日 4月 5日（日） 11Ｒ")},
        {15, QStringLiteral("単勝 3 1,234,567,890円 1番人気")},
        {15, QStringLiteral("単勝 123 230円 1番人気")},
    };
    for (const auto& [line, text] : cases) {
        ResultsPageConverter conv;
        conv.setSavePathName(save);
        EXPECT_FALSE(conv.convertResultsPage(hashed(sampleLinesWith(line, text)))) << qPrintable(text);
        EXPECT_TRUE(conv.kekkaFileName().isEmpty());
    }
    const auto entries = [](const QString& folder) {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    };
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("save")});
    EXPECT_EQ(entries(save), QStringList{QStringLiteral("KS-5628B.JRA")});
    EXPECT_EQ(dir.read(QStringLiteral("save/KS-5628B.JRA")), QByteArray("old"));

    ResultsPageConverter conv;
    conv.setSavePathName(save);
    ASSERT_TRUE(conv.convertResultsPage(hashed(ResultPages::resultsPageLines(samplePage()))));
    EXPECT_EQ(entries(save), QStringList{QStringLiteral("KS-5628B.JRA")});
    EXPECT_EQ(dir.read(QStringLiteral("save/KS-5628B.JRA")).size(), 849);
}

TEST(Converter, RaceNumbersOfThePayoutList) {
    QList<ResultPages::RacePage> races;
    for (const int n : {1, 10, 12, 3}) {
        races << samplePage();
        races.back().raceNum = n;
    }
    QStringList lines = ResultPages::payoutListLines(ResultPages::MeetingDay(), races);
    lines << QStringLiteral("1Ｒ") << QStringLiteral("13Ｒ 府中") << QStringLiteral("1R 府中")
          << QStringLiteral(" 2Ｒ 府中") << QStringLiteral("0Ｒ 府中");
    ResultsPageConverter conv;
    conv.addListedRaces(ResultPages::joinLines(lines));
    EXPECT_EQ(conv.foundRaces(), (QStringList{"01", "10", "12", "03"}));
}

} // namespace
