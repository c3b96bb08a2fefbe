#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

// A small JSON writer that keeps members in the order they are written (the reports are read by people
// as well as by programs). Values are appended through the typed helpers; strings are escaped.
class JsonWriter {
public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    JsonWriter& Key(const QString& key);
    JsonWriter& Value(const QString& text);
    JsonWriter& Value(qint64 number);
    JsonWriter& Value(bool flag);
    JsonWriter& Null();
    JsonWriter& Strings(const QStringList& list);
    // A string of plain ASCII that needs no escaping (digit lines, codes), written as it is.
    JsonWriter& PlainString(QByteArrayView ascii);

    // The document as UTF-8 text.
    const QByteArray& ToUtf8() const { return m_text; }

    static QString Quote(const QString& text);

private:
    void BeforeValue();
    QByteArray m_text; // UTF-8
    // Per open container: whether a member was written yet; whether a key is pending.
    QList<bool> m_hasMember;
    bool m_afterKey = false;
};
