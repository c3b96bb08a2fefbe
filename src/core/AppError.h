#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// Error numbers the program raises and reports. They keep the numbering our users know from the
// message boxes of earlier versions, so a support call can still name "(9)" or "(53)".
namespace ErrNo {
constexpr qint32 Overflow = 6;
constexpr qint32 SubscriptOutOfRange = 9;
constexpr qint32 FileNotFound = 53;
constexpr qint32 InputPastEndOfFile = 62;
constexpr qint32 FileAccess = 75; // path/file access error: a file of ours could not be read or written
constexpr qint32 ObjectNotSet = 91;
constexpr qint32 CannotCreateObject = 429;
// Added to a caught number when an error is passed up through the folder reader or the controller.
constexpr qint32 AppErrorBase = -2147221504;
} // namespace ErrNo

// The one error type of the program: number, source and description.
class AppError : public std::exception {
public:
    AppError(qint32 number, QString source, QString description);

    qint32 number() const { return m_number; }
    const QString& source() const { return m_source; }
    const QString& description() const { return m_description; }
    const char* what() const noexcept override { return m_what.constData(); }

    // The same failure passed up a layer: number plus the application error base (a signed 32-bit
    // addition that wraps like the platform's), new source, same description.
    AppError rebased(const QString& source) const;

    static AppError overflow(const QString& source = QString());
    static AppError indexOutOfRange(const QString& source = QString());
    static AppError objectNotSet(const QString& source = QString());

    // The platform's usual text for the small numbers, empty for others.
    static QString defaultDescription(qint32 number);

private:
    qint32 m_number;
    QString m_source;
    QString m_description;
    QByteArray m_what;
};
