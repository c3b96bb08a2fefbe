#include "TestSupport.h"

#include "core/Folders.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

TempFolder::TempFolder() {
    EXPECT_TRUE(m_dir.isValid());
}

QString TempFolder::Path() const {
    return m_dir.path() + QLatin1Char('/');
}

QString TempFolder::File(const QString& name) const {
    return Path() + name;
}

QString TempFolder::Sub(const QString& name) const {
    QDir().mkpath(Path() + name);
    return Path() + name + QLatin1Char('/');
}

void TempFolder::Write(const QString& name, const QByteArray& bytes) const {
    QFile f(File(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << qPrintable(f.fileName());
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray TempFolder::Read(const QString& name) const {
    QFile f(File(name));
    if (!f.open(QIODevice::ReadOnly)) {
        return QByteArray();
    }
    return f.readAll();
}

bool TempFolder::Exists(const QString& name) const {
    return QFile::exists(File(name));
}

CapturingReporter::CapturingReporter() {
    SetErrorReporter(this);
}

CapturingReporter::~CapturingReporter() {
    SetErrorReporter(nullptr);
}

void CapturingReporter::ShowError(const QString& title, const QString& text) {
    titles << title;
    texts << text;
}

Folders ClientFolderTest::folders() const {
    return {program.Path(), client.Path(), client.Path() + QStringLiteral("VQDOWNLOAD")};
}
