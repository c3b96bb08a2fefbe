#include "AppError.h"

AppError::AppError(qint32 number, QString source, QString description)
    : m_number(number), m_source(std::move(source)), m_description(std::move(description)) {
    m_what = QStringLiteral("%1 (%2) %3").arg(m_source).arg(m_number).arg(m_description).toUtf8();
}

AppError AppError::rebased(const QString& source) const {
    const auto sum = static_cast<quint32>(m_number) + static_cast<quint32>(ErrNo::AppErrorBase);
    return AppError(static_cast<qint32>(sum), source, m_description);
}

AppError AppError::overflow(const QString& source) {
    return AppError(ErrNo::Overflow, source, defaultDescription(ErrNo::Overflow));
}

AppError AppError::indexOutOfRange(const QString& source) {
    return AppError(ErrNo::SubscriptOutOfRange, source, defaultDescription(ErrNo::SubscriptOutOfRange));
}

AppError AppError::objectNotSet(const QString& source) {
    return AppError(ErrNo::ObjectNotSet, source, defaultDescription(ErrNo::ObjectNotSet));
}

QString AppError::defaultDescription(qint32 number) {
    switch (number) {
    case ErrNo::Overflow:
        return QStringLiteral("Overflow");
    case ErrNo::SubscriptOutOfRange:
        return QStringLiteral("Subscript out of range");
    case ErrNo::FileNotFound:
        return QStringLiteral("File not found");
    case ErrNo::InputPastEndOfFile:
        return QStringLiteral("Input past end of file");
    case ErrNo::FileAccess:
        return QStringLiteral("Path/File access error");
    case ErrNo::ObjectNotSet:
        return QStringLiteral("Object variable not set");
    case ErrNo::CannotCreateObject:
        return QStringLiteral("Cannot create object");
    default:
        return QString();
    }
}
