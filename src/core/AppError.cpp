#include "AppError.h"

AppError::AppError(qint32 number, QString source, QString description)
    : m_number(number), m_source(std::move(source)), m_description(std::move(description)) {
    m_what = QStringLiteral("%1 (%2) %3").arg(m_source).arg(m_number).arg(m_description).toUtf8();
}

AppError AppError::Rebased(const QString& source) const {
    const auto sum = static_cast<quint32>(m_number) + static_cast<quint32>(ErrNo::AppErrorBase);
    return AppError(static_cast<qint32>(sum), source, m_description);
}

AppError AppError::Overflow(const QString& source) {
    return AppError(ErrNo::Overflow, source, DefaultDescription(ErrNo::Overflow));
}

AppError AppError::IndexOutOfRange(const QString& source) {
    return AppError(ErrNo::SubscriptOutOfRange, source, DefaultDescription(ErrNo::SubscriptOutOfRange));
}

AppError AppError::ObjectNotSet(const QString& source) {
    return AppError(ErrNo::ObjectNotSet, source, DefaultDescription(ErrNo::ObjectNotSet));
}

QString AppError::DefaultDescription(qint32 number) {
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
