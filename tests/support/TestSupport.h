#pragma once

#include "core/ErrorReporter.h"
#include "core/Folders.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <ostream>

#include <gtest/gtest.h>

class QWidget;

// Readable QString values in test failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// The parent's descendant of that type and object name, as the window tests reach widgets; none fails the test.
template <class T>
T* child(const QObject* parent, const QString& name) {
    T* const found = parent->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << "no " << T::staticMetaObject.className() << " named " << name.toStdString();
    return found;
}

// A fresh folder per test, removed afterwards. Paths end in a separator, like every folder the
// program keeps.
class TempFolder {
public:
    TempFolder();
    QString path() const;                    // with trailing separator
    QString file(const QString& name) const; // Path() + name
    QString sub(const QString& name) const;  // creates the subfolder, with trailing separator
    void write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;
    bool exists(const QString& name) const;

private:
    QTemporaryDir m_dir;
};

// Records the errors that would have been shown, while installed.
class CapturingReporter : public IErrorReporter {
public:
    CapturingReporter();
    ~CapturingReporter() override;
    void showError(const QString& title, const QString& text) override;

    QStringList titles;
    QStringList texts;
};

// Saves a picture of the window under the build's screenshots folder; returns the file path.
QString saveScreenshot(QWidget* window, const QString& name);

// A program folder and a client folder, and the folders start-up would settle for them (the download
// folder inside the client folder).
class ClientFolderTest : public ::testing::Test {
protected:
    Folders folders() const;

    TempFolder program;
    TempFolder client;
};
