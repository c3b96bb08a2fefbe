#include "TestSupport.h"

#include "core/Folders.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

TempFolder::TempFolder() {
    EXPECT_TRUE(m_dir.isValid());
}

QString TempFolder::path() const {
    return m_dir.path() + QLatin1Char('/');
}

QString TempFolder::file(const QString& name) const {
    return path() + name;
}

QString TempFolder::sub(const QString& name) const {
    QDir().mkpath(path() + name);
    return path() + name + QLatin1Char('/');
}

void TempFolder::write(const QString& name, const QByteArray& bytes) const {
    QFile f(file(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << qPrintable(f.fileName());
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray TempFolder::read(const QString& name) const {
    QFile f(file(name));
    if (!f.open(QIODevice::ReadOnly)) {
        return QByteArray();
    }
    return f.readAll();
}

bool TempFolder::exists(const QString& name) const {
    return QFile::exists(file(name));
}

CapturingReporter::CapturingReporter() {
    setErrorReporter(this);
}

CapturingReporter::~CapturingReporter() {
    setErrorReporter(nullptr);
}

void CapturingReporter::showError(const QString& title, const QString& text) {
    titles << title;
    texts << text;
}

Folders ClientFolderTest::folders() const {
    return {program.path(), client.path(), client.path() + QStringLiteral("VQDOWNLOAD")};
}
