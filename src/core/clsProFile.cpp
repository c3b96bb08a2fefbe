#include "clsProFile.h"

#include "AtomicFile.h"
#include "CodePage.h"
#include "Globals.h"
#include "Paths.h"
#include "Text.h"

#include <QSet>

#include <utility>

namespace {
bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

// Keys, values and section names are padded with spaces and tabs.
QStringView TrimBlanks(QStringView s) {
    return Text::TrimBlanks(s, u" \t");
}

// The section name of a "[name]" line, or nothing for any other line.
std::optional<QStringView> SectionOf(QStringView line) {
    const QStringView t = TrimBlanks(line);
    if (!t.startsWith(u'[')) {
        return std::nullopt;
    }
    qsizetype end = t.indexOf(u']');
    if (end < 0) {
        end = t.size();
    }
    return TrimBlanks(t.sliced(1, end - 1));
}

struct KeyLine {
    QStringView key;
    QStringView value;
};

std::optional<KeyLine> KeyOf(QStringView line) {
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0) {
        return std::nullopt;
    }
    QStringView value = line.sliced(eq + 1);
    qsizetype skip = 0;
    while (skip < value.size() && IsBlank(value[skip])) {
        ++skip;
    }
    return KeyLine{TrimBlanks(line.first(eq)), value.sliced(skip)};
}

bool SameName(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}
} // namespace

clsProFile::clsProFile() : m_pathName(ProgramFolder()) {}

clsProFile::~clsProFile() = default;

void clsProFile::setPathName(const QString& folder) {
    m_pathName = AddPathSep(folder);
}

void clsProFile::setFileName(const QString& name) {
    m_fileName = name;
}

QString clsProFile::FilePath() const {
    return ClientFiles::PathForWrite(m_pathName, m_fileName);
}

QStringList clsProFile::LoadLines() const {
    if (m_batchLines) {
        return *m_batchLines;
    }
    QStringList lines;
    if (m_fileName.isEmpty()) {
        return lines;
    }
    const auto data = ReadWholeFile(FilePath());
    if (!data || data->isEmpty()) {
        return lines;
    }
    const QString text = CodePage::Decode(*data);
    lines = text.split(QLatin1Char('\n'));
    for (QString& l : lines) {
        if (l.endsWith(QLatin1Char('\r'))) {
            l.chop(1);
        }
    }
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast(); // the line end of the last line
    }
    return lines;
}

bool clsProFile::StoreLines(const QStringList& lines) const {
    if (m_fileName.isEmpty()) {
        return false;
    }
    QString text;
    for (const QString& l : lines) {
        text += l;
        text += QLatin1String("\r\n");
    }
    return AtomicFile::Replace(FilePath(), CodePage::Encode(text), nullptr);
}

namespace {
// A value as GetData gives it: up to a NUL, cut to the longest value the file may hold.
QString ValueOf(QStringView raw) {
    const qsizetype nul = raw.indexOf(QChar(0));
    return (nul >= 0 ? raw.first(nul) : raw).left(clsProFile::kMaxValueLength).toString();
}

QString IndexKey(QStringView section, QStringView key) {
    return section.toString().toCaseFolded() + QLatin1Char('\n') + key.toString().toCaseFolded();
}
} // namespace

const QHash<QString, QString>& clsProFile::BatchIndex() const {
    if (!m_batchIndex) {
        // The same rules as the scan below, for every pair at once: only the first section of a name and
        // the first key of a name in it count. A name never holds a line end, so the keys cannot collide.
        QHash<QString, QString> index;
        QSet<QString> sections;
        QString current;
        bool inSection = false;
        for (const QString& line : *m_batchLines) {
            if (const auto name = SectionOf(line)) {
                current = name->toString().toCaseFolded();
                inSection = !sections.contains(current);
                sections.insert(current);
                continue;
            }
            if (const auto kv = KeyOf(line); inSection && kv) {
                const QString k = IndexKey(current, kv->key);
                if (!index.contains(k)) {
                    index.insert(k, ValueOf(kv->value));
                }
            }
        }
        m_batchIndex = std::move(index);
    }
    return *m_batchIndex;
}

QString clsProFile::GetData(const QString& section, const QString& key) const {
    if (m_batchDepth > 0) {
        return BatchIndex().value(IndexKey(TrimBlanks(section), TrimBlanks(key)));
    }
    const QStringList lines = LoadLines();
    bool inSection = false;
    bool sectionSeen = false;
    for (const QString& line : lines) {
        if (const auto name = SectionOf(line)) {
            if (sectionSeen && inSection) {
                break; // only the first section of that name counts
            }
            inSection = SameName(*name, TrimBlanks(section));
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        if (!inSection) {
            continue;
        }
        if (const auto kv = KeyOf(line); kv && SameName(kv->key, TrimBlanks(key))) {
            return ValueOf(kv->value);
        }
    }
    return QString();
}

qint32 clsProFile::SetData(const QString& section, const QString& key, const QString& value) {
    // In a batch the lines are edited in place: a copy per key would make a batch of n keys copy the
    // file n times.
    QStringList own;
    QStringList& lines = m_batchDepth > 0 ? *m_batchLines : (own = LoadLines());
    const QString newLine = TrimBlanks(key).toString() + QLatin1Char('=') + value;

    qsizetype sectionStart = -1; // index of the "[section]" line
    qsizetype insertAt = -1;     // after the last non-blank line of the section
    bool written = false;
    for (qsizetype i = 0; i < lines.size() && !written; ++i) {
        if (const auto name = SectionOf(lines[i])) {
            if (sectionStart >= 0) {
                break; // end of our section
            }
            if (SameName(*name, TrimBlanks(section))) {
                sectionStart = i;
                insertAt = i + 1;
            }
            continue;
        }
        if (sectionStart < 0) {
            continue;
        }
        if (!TrimBlanks(lines[i]).isEmpty()) {
            insertAt = i + 1;
        }
        if (const auto kv = KeyOf(lines[i]); kv && SameName(kv->key, TrimBlanks(key))) {
            lines[i] = newLine;
            written = true;
        }
    }
    if (!written) {
        if (sectionStart < 0) {
            lines.append(QLatin1Char('[') + TrimBlanks(section).toString() + QLatin1Char(']'));
            lines.append(newLine);
        } else {
            lines.insert(insertAt, newLine);
        }
    }

    if (m_batchDepth > 0) {
        m_batchWritten = true;
        m_batchIndex.reset();
        return 1;
    }
    return StoreLines(lines) ? 1 : 0;
}

clsProFile::Batch::Batch(clsProFile& file) : m_file(file) {
    if (m_file.m_batchDepth++ == 0) {
        m_file.m_batchLines = m_file.LoadLines();
    }
}

clsProFile::Batch::~Batch() {
    if (--m_file.m_batchDepth == 0) {
        const QStringList lines = std::move(*m_file.m_batchLines);
        m_file.m_batchLines.reset();
        m_file.m_batchIndex.reset();
        if (std::exchange(m_file.m_batchWritten, false)) {
            m_file.StoreLines(lines);
        }
    }
}
