#include "CliRun.h"
#include "core/CodePage.h"
#include "results/SamplePage.h"
#include "support/TestSupport.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

TEST(ConvertCommand, WritesTheRaceResultFileOrNothing) {
    TempFolder dir;
    // LF lines behind a byte-order mark, as an editor on Windows saves a copied page.
    const QStringList lines = ResultPages::ResultsPageLines(SamplePage());
    dir.Write(QStringLiteral("page.txt"), "\xEF\xBB\xBF" + lines.join(u'\n').toUtf8());
    CliRun r = RunVelqora({QStringLiteral("convert"), dir.File(QStringLiteral("page.txt")), dir.Path() + "out"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QByteArray("KS-5628B.JRA\n"));
    const QByteArray bytes = dir.Read(QStringLiteral("out/KS-5628B.JRA"));
    ASSERT_EQ(bytes.size(), 849);
    // The second finisher's margin is only found once the page's spaces became "#".
    EXPECT_EQ(bytes.mid(130, 40),
              "2  7" + CodePage::Encode(u"ｶｷｸｹｺ") + QByteArray(13, ' ') + "1/2   " + QByteArray(12, ' '));

    // Without the payout heading the page makes no file: status 1, and not even the folder is made.
    dir.Write(QStringLiteral("bad.txt"), lines.mid(0, 14).join(QStringLiteral("\r\n")).toUtf8());
    r = RunVelqora({QStringLiteral("convert"), dir.File(QStringLiteral("bad.txt")), dir.Path() + "bad"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(dir.Path() + "bad"));
}

TEST(ConvertCommand, ListsThePublishedRaces) {
    TempFolder dir;
    QList<ResultPages::RacePage> races{SamplePage(), SamplePage()};
    races[0].RaceNum = 2;
    dir.Write(QStringLiteral("list.txt"),
              ResultPages::JoinLines(ResultPages::PayoutListLines(ResultPages::MeetingDay(), races)).toUtf8());
    const CliRun r = RunVelqora({QStringLiteral("convert"), QStringLiteral("--race-list"), dir.File("list.txt")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, QByteArray("02\n11\n"));
    EXPECT_EQ(RunVelqora({QStringLiteral("convert"), dir.File("list.txt")}).exitCode, 2);
}

} // namespace
