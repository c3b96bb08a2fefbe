#include "core/Globals.h"
#include "core/clsProFile.h"
#include "support/TestSupport.h"
#include "ui/QtFormWindow.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

TEST(QtFormWindow, TwipsFollowTheLogicalDpi) {
    EXPECT_EQ(QtFormWindow::TwipsToPixels(1440, 96), 96);
    EXPECT_EQ(QtFormWindow::TwipsToPixels(1965, 96), 131);
    EXPECT_EQ(QtFormWindow::TwipsToPixels(1965, 144), 197);
    EXPECT_EQ(QtFormWindow::PixelsToTwips(131, 96), 1965);
    EXPECT_EQ(QtFormWindow::PixelsToTwips(100, 144), 1000);
}

TEST(QtFormWindow, RestoresAndRemembersARealWindow) {
    QWidget w;
    w.resize(200, 100);
    QtFormWindow placement(&w, 3);
    const int dpi = w.logicalDpiX();
    placement.setLeftTwips(1500);
    placement.setTopTwips(3000);
    placement.setWidthTwips(4500);
    placement.setHeightTwips(2400);
    w.show();
    EXPECT_EQ(w.frameGeometry().left(), QtFormWindow::TwipsToPixels(1500, dpi));
    EXPECT_EQ(w.frameGeometry().width(), QtFormWindow::TwipsToPixels(4500, dpi));
    EXPECT_NEAR(placement.LeftTwips(), 1500, 1440 / dpi);
    EXPECT_NEAR(placement.TopTwips(), 3000, 1440 / dpi);
    EXPECT_NEAR(placement.WidthTwips(), 4500, 1440 / dpi);
    EXPECT_NEAR(placement.HeightTwips(), 2400, 1440 / dpi);
    EXPECT_FALSE(placement.IsMinimized());
}

TEST(frmMain, OpensAtTheStoredPlaceAndWritesTheSettingsOnClose) {
    TempFolder program;
    TempFolder client;
    SetProgramFolder(program.Path());
    gstrPatPath = client.Path();
    program.Write(QStringLiteral("VQV50.INI"), "[WINDOW]\r\ntop01=1500\r\nleft01=3000\r\nheight01=2700\r\n");
    {
        frmMain w;
        w.show();
        EXPECT_EQ(w.windowTitle(), QStringLiteral("VelqoraV50"));
        const int dpi = w.logicalDpiX();
        EXPECT_EQ(w.frameGeometry().width(), QtFormWindow::TwipsToPixels(1965, dpi));
        EXPECT_EQ(w.frameGeometry().top(), QtFormWindow::TwipsToPixels(1500, dpi));
        EXPECT_EQ(w.frameGeometry().height(), QtFormWindow::TwipsToPixels(2700, dpi));
        SaveScreenshot(&w, QStringLiteral("main-window-shell"));
        w.move(w.frameGeometry().left() + 10, w.frameGeometry().top());
        w.close();
    }
    clsProFile ini;
    ini.setPathName(program.Path());
    ini.setFileName(QStringLiteral("VQV50.INI"));
    EXPECT_EQ(ini.GetData(QStringLiteral("WINDOW"), QStringLiteral("top01")), QStringLiteral("1500"));
    EXPECT_NE(ini.GetData(QStringLiteral("WINDOW"), QStringLiteral("left01")), QStringLiteral("3000"));
    EXPECT_EQ(ini.GetData(QStringLiteral("WINDOW"), QStringLiteral("width01")), QStringLiteral("1965"));
    EXPECT_EQ(ini.GetData(QStringLiteral("OPTION"), QStringLiteral("button")), QStringLiteral("1"));
    EXPECT_EQ(ini.GetData(QStringLiteral("WINDOW"), QStringLiteral("width07")), QStringLiteral("0"));
    SetProgramFolder(QString());
}
