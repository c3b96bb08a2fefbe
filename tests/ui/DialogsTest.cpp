#include "profit/ProfitBook.h"
#include "support/TestSupport.h"
#include "ui/MessageBoxReporter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {
QStringList textsOf(const QWidget* dialog) {
    QStringList texts;
    for (const QAbstractButton* b : dialog->findChildren<QAbstractButton*>()) {
        texts << b->text();
    }
    for (const QLabel* l : dialog->findChildren<QLabel*>()) {
        texts << l->text();
    }
    return texts;
}
} // namespace

// Qt's own dialogs speak the user's language: none of the English words a user met before remains.
TEST(DialogsTest, FileAndColourDialogsAreJapanese) {
    QFileDialog files(nullptr, QStringLiteral("CSV保存"), QDir::tempPath());
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.setAcceptMode(QFileDialog::AcceptSave);
    QColorDialog colours;
    colours.setOption(QColorDialog::DontUseNativeDialog);
    const struct {
        QDialog* dialog;
        const char* shot;
        QStringList english;
    } rows[] = {
        {&files, "dialog-file", {"Look in:", "&Save", "Cancel", "File &name:", "Files of type:"}},
        {&colours, "dialog-colour", {"&Basic colors", "&Custom colors", "Cancel", "&Red:"}},
    };
    for (const auto& row : rows) {
        row.dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(row.dialog));
        saveScreenshot(row.dialog, QString::fromLatin1(row.shot));
        const QStringList texts = textsOf(row.dialog);
        for (const QString& word : row.english) {
            EXPECT_FALSE(texts.contains(word)) << row.shot << ": " << qPrintable(word);
        }
        row.dialog->hide();
    }
    EXPECT_TRUE(textsOf(&files).contains(QStringLiteral("キャンセル")));
}

// A failure of ours, as the user meets it: a message box that says it in Japanese first, the file and the
// reason below.
TEST(DialogsTest, APassbookThatCannotBeReadIsSaidForTheUser) {
    TempFolder folder;
    ASSERT_TRUE(QDir().mkpath(folder.file(ProfitBook::fileName()))); // a folder where the book should be
    MessageBoxReporter reporter;
    setErrorReporter(&reporter);
    QString shown;
    QTimer::singleShot(0, [&shown] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(box));
        saveScreenshot(box, QStringLiteral("message-passbook-unread"));
        shown = box->text();
        box->accept();
    });
    ProfitBook book;
    book.setFolder(folder.path());
    book.load();
    setErrorReporter(nullptr);
    const QStringList lines = shown.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2) << qPrintable(shown);
    EXPECT_EQ(lines[0],
              QStringLiteral("通帳を読めませんでした。ファイルには手を加えていません。ファイルとフォルダを確かめ"
                             "てから、もう一度開いてください。"));
    EXPECT_TRUE(
        lines[1].startsWith(QStringLiteral("(75) ") + QDir::toNativeSeparators(folder.file(ProfitBook::fileName()))));
}
