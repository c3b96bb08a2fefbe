#pragma once

#include "views/Rgb.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <cstdio>

// A small JSON writer that keeps members in the order they are written (the reports are read by people
// as well as by programs). Values are appended through the typed helpers; strings are escaped.
class JsonWriter {
public:
    // Kept in memory (ToUtf8), or, given a stream, written out in pieces as it grows: a heavy day's
    // report runs to megabytes.
    explicit JsonWriter(FILE* stream = nullptr) : m_stream(stream) {}

    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(const QString& key);
    JsonWriter& value(const QString& text);
    JsonWriter& value(qint64 number);
    JsonWriter& value(bool flag);
    JsonWriter& null();
    JsonWriter& strings(const QStringList& list);
    // A string of `length` plain ASCII characters that need no escaping (digit lines), written in place:
    // returns where they go, to be filled before the writer is used again. Made in a buffer and copied
    // instead, a heavy day's lines took several times as long.
    char* plainStringOf(qsizetype length);
    // `count` (one or more) such strings in a row, all of `length` characters: returns where the first
    // one's characters go; each next one's go `length + 3` characters further (past its quotes and the
    // comma between).
    char* plainStringsOf(qsizetype count, qsizetype length);

    // The document as UTF-8 text (what is not written out yet, with a stream).
    const QByteArray& toUtf8() const { return m_text; }
    // Writes out what is pending to the stream.
    void flush();

    static QString quote(const QString& text);

private:
    void beforeValue();
    FILE* m_stream = nullptr;
    QByteArray m_text; // UTF-8
    // Per open container: whether a member was written yet; whether a key is pending.
    QList<bool> m_hasMember;
    bool m_afterKey = false;
};

// A colour as "#RRGGBB", or null where the window keeps the one it was designed with.
void writeColour(JsonWriter& j, const OptionalRgb& colour);
