#include "Json.h"

JsonWriter& JsonWriter::beginObject() {
    beforeValue();
    m_text += '{';
    m_hasMember.append(false);
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    m_text += '}';
    m_hasMember.removeLast();
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    beforeValue();
    m_text += '[';
    m_hasMember.append(false);
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    m_text += ']';
    m_hasMember.removeLast();
    return *this;
}

JsonWriter& JsonWriter::key(const QString& key) {
    if (!m_hasMember.isEmpty()) {
        if (m_hasMember.last()) {
            m_text += ',';
        }
        m_hasMember.last() = true;
    }
    m_text += quote(key).toUtf8();
    m_text += ':';
    m_afterKey = true;
    return *this;
}

void JsonWriter::flush() {
    if (m_stream && !m_text.isEmpty()) {
        std::fwrite(m_text.constData(), 1, static_cast<size_t>(m_text.size()), m_stream);
        m_text.resize(0); // keeps its capacity
    }
}

void JsonWriter::beforeValue() {
    if (m_stream && m_text.size() >= 64 * 1024) {
        flush();
    }
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

JsonWriter& JsonWriter::value(const QString& text) {
    beforeValue();
    m_text += quote(text).toUtf8();
    return *this;
}

JsonWriter& JsonWriter::value(qint64 number) {
    beforeValue();
    m_text += QByteArray::number(number);
    return *this;
}

JsonWriter& JsonWriter::value(bool flag) {
    beforeValue();
    m_text += flag ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::null() {
    beforeValue();
    m_text += "null";
    return *this;
}

JsonWriter& JsonWriter::strings(const QStringList& list) {
    beginArray();
    for (const QString& s : list) {
        value(s);
    }
    return endArray();
}

char* JsonWriter::plainStringOf(qsizetype length) {
    beforeValue();
    const qsizetype at = m_text.size();
    m_text.resize(at + length + 2);
    char* out = m_text.data() + at;
    out[0] = '"';
    out[length + 1] = '"';
    return out + 1;
}

char* JsonWriter::plainStringsOf(qsizetype count, qsizetype length) {
    char* first = plainStringOf(length);
    if (count <= 1) {
        return first;
    }
    const qsizetype at = m_text.size(); // just past the first one's closing quote
    m_text.resize(at + (count - 1) * (length + 3));
    char* const text = m_text.data();
    for (qsizetype next = at; next < m_text.size(); next += length + 3) {
        text[next] = ',';
        text[next + 1] = '"';
        text[next + length + 2] = '"';
    }
    return text + (at - length - 1);
}

QString JsonWriter::quote(const QString& text) {
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

void writeColour(JsonWriter& j, const OptionalRgb& colour) {
    if (colour) {
        j.value(Rgb::hex(*colour));
    } else {
        j.null();
    }
}
