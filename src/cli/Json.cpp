#include "Json.h"

JsonWriter& JsonWriter::BeginObject() {
    BeforeValue();
    m_text += '{';
    m_hasMember.append(false);
    return *this;
}

JsonWriter& JsonWriter::EndObject() {
    m_text += '}';
    m_hasMember.removeLast();
    return *this;
}

JsonWriter& JsonWriter::BeginArray() {
    BeforeValue();
    m_text += '[';
    m_hasMember.append(false);
    return *this;
}

JsonWriter& JsonWriter::EndArray() {
    m_text += ']';
    m_hasMember.removeLast();
    return *this;
}

JsonWriter& JsonWriter::Key(const QString& key) {
    if (!m_hasMember.isEmpty()) {
        if (m_hasMember.last()) {
            m_text += ',';
        }
        m_hasMember.last() = true;
    }
    m_text += Quote(key).toUtf8();
    m_text += ':';
    m_afterKey = true;
    return *this;
}

void JsonWriter::BeforeValue() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_hasMember.isEmpty()) {
        if (m_hasMember.last()) {
            m_text += ',';
        }
        m_hasMember.last() = true;
    }
}

JsonWriter& JsonWriter::Value(const QString& text) {
    BeforeValue();
    m_text += Quote(text).toUtf8();
    return *this;
}

JsonWriter& JsonWriter::Value(qint64 number) {
    BeforeValue();
    m_text += QByteArray::number(number);
    return *this;
}

JsonWriter& JsonWriter::Value(bool flag) {
    BeforeValue();
    m_text += flag ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::Null() {
    BeforeValue();
    m_text += "null";
    return *this;
}

JsonWriter& JsonWriter::Strings(const QStringList& list) {
    BeginArray();
    for (const QString& s : list) {
        Value(s);
    }
    return EndArray();
}

JsonWriter& JsonWriter::PlainString(QByteArrayView ascii) {
    BeforeValue();
    m_text += '"';
    m_text += ascii;
    m_text += '"';
    return *this;
}

QString JsonWriter::Quote(const QString& text) {
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"':
            out += QLatin1String("\\\"");
            break;
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        default:
            if (c.unicode() < 0x20) {
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            } else {
                out += c;
            }
        }
    }
    out += QLatin1Char('"');
    return out;
}
