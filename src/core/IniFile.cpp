#include "IniFile.h"

#include "AtomicFile.h"
#include "CodePage.h"
#include "Paths.h"
#include "Text.h"

#include <utility>

namespace {
bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

// Keys, values and section names are padded with spaces and tabs.
QStringView trimBlanks(QStringView s) {
    return Text::trimBlanks(s, u" \t");
}

// The section name of a "[name]" line, or nothing for any other line.
std::optional<QStringView> sectionOf(QStringView line) {
    const QStringView t = trimBlanks(line);
    if (!t.startsWith(u'[')) {
        return std::nullopt;
    }
    qsizetype end = t.indexOf(u']');
    if (end < 0) {
        end = t.size();
    }
    return trimBlanks(t.sliced(1, end - 1));
}

struct KeyLine {
    QStringView key;
    QStringView value;
};

std::optional<KeyLine> keyOf(QStringView line) {
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0) {
        return std::nullopt;
    }
    QStringView value = line.sliced(eq + 1);
    qsizetype skip = 0;
    while (skip < value.size() && isBlank(value[skip])) {
        ++skip;
    }
    return KeyLine{trimBlanks(line.first(eq)), value.sliced(skip)};
}
} // namespace

IniFile::IniFile() = default;

IniFile::~IniFile() = default;

void IniFile::setPathName(const QString& folder) {
    m_pathName = addPathSep(folder);
}

void IniFile::setFileName(const QString& name) {
    m_fileName = name;
}

QString IniFile::filePath() const {
    return ClientFiles::pathForWrite(m_pathName, m_fileName);
}

QStringList IniFile::loadLines() const {
    QStringList lines;
    if (m_fileName.isEmpty()) {
        return lines;
    }
    const auto data = readWholeFile(filePath());
    if (!data || data->isEmpty()) {
        return lines;
    }
    const QString text = CodePage::decode(*data);
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

bool IniFile::storeLines(const QStringList& lines) const {
    if (m_fileName.isEmpty()) {
        return false;
    }
    QString text;
    for (const QString& l : lines) {
        text += l;
        text += QLatin1String("\r\n");
    }
    return AtomicFile::replace(filePath(), CodePage::encode(text), nullptr);
}

namespace {
// A value as GetData gives it: up to a NUL, cut to the longest value the file may hold.
QString valueOf(QStringView raw) {
    const qsizetype nul = raw.indexOf(QChar(0));
    return (nul >= 0 ? raw.first(nul) : raw).left(IniFile::kMaxValueLength).toString();
}

// Section and key joined by a line end, which no name holds, folded for comparing: one string per lookup.
QString indexKey(QStringView section, QStringView key) {
    const QStringView s = trimBlanks(section);
    const QStringView k = trimBlanks(key);
    QString joined;
    joined.reserve(s.size() + 1 + k.size());
    joined.append(s).append(QLatin1Char('\n')).append(k);
    return std::move(joined).toCaseFolded();
}

QString caseFolded(QStringView name) {
    return trimBlanks(name).toString().toCaseFolded();
}
} // namespace

qsizetype IniFile::LineIndex::add(QHash<QString, qsizetype>& names, const QString& name, qsizetype line) {
    names.insert(name, static_cast<qsizetype>(lines.size()));
    lines.push_back(line);
    return static_cast<qsizetype>(lines.size()) - 1;
}

IniFile::LineIndex IniFile::indexLines(const QStringList& lines) {
    // Only the first section of a name and the first key of a name in it count. A key goes in after the
    // last non-blank line of its section.
    LineIndex index;
    QStringView current;
    qsizetype end = -1; // slot of the current section's end, or -1 outside a first section
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (const auto name = sectionOf(lines[i])) {
            current = *name;
            const QString folded = caseFolded(current);
            end = index.sectionEnds.contains(folded) ? -1 : index.add(index.sectionEnds, folded, i + 1);
            continue;
        }
        if (end < 0) {
            continue;
        }
        if (!trimBlanks(lines[i]).isEmpty()) {
            index.lines[static_cast<std::size_t>(end)] = i + 1;
        }
        if (const auto kv = keyOf(lines[i])) {
            if (const QString name = indexKey(current, kv->key); !index.keys.contains(name)) {
                index.add(index.keys, name, i);
            }
        }
    }
    return index;
}

const IniFile::LineIndex& IniFile::batchIndex() const {
    if (!m_batchIndex) {
        m_batchIndex = indexLines(*m_batchLines);
    }
    return *m_batchIndex;
}

QString IniFile::value(const QString& section, const QString& key) const {
    const auto read = [&](const QStringList& lines, const LineIndex& index) {
        const qsizetype slot = index.keys.value(indexKey(section, key), -1);
        return slot < 0 ? QString() : valueOf(keyOf(lines[index.lines[static_cast<std::size_t>(slot)]])->value);
    };
    if (m_batchDepth > 0) {
        return read(*m_batchLines, batchIndex());
    }
    const QStringList lines = loadLines();
    return read(lines, indexLines(lines));
}

qint32 IniFile::setValue(const QString& section, const QString& key, const QString& value) {
    if (m_batchDepth == 0) {
        Batch once(*this);
        setValue(section, key, value);
        return once.finish() ? 1 : 0;
    }
    QStringList& lines = *m_batchLines;
    batchIndex();
    LineIndex& index = *m_batchIndex;
    const QString newLine = trimBlanks(key).toString() + QLatin1Char('=') + value;
    const QString name = indexKey(section, key);
    m_batchWritten = true;
    if (const auto found = index.keys.constFind(name); found != index.keys.cend()) {
        lines[index.lines[static_cast<std::size_t>(*found)]] = newLine;
        return 1;
    }
    const QString folded = caseFolded(section);
    const auto end = index.sectionEnds.constFind(folded);
    if (end == index.sectionEnds.cend()) {
        lines.append(QLatin1Char('[') + trimBlanks(section).toString() + QLatin1Char(']'));
        index.add(index.sectionEnds, folded, lines.size() + 1);
        index.add(index.keys, name, lines.size());
        lines.append(newLine);
        return 1;
    }
    // Every line from the insertion point on moves down one, and the section now ends after the new line.
    const qsizetype at = index.lines[static_cast<std::size_t>(*end)];
    lines.insert(at, newLine);
    for (qsizetype& line : index.lines) {
        line += line >= at ? 1 : 0;
    }
    index.add(index.keys, name, at);
    return 1;
}

IniFile::Batch::Batch(IniFile& file) : m_file(file) {
    if (m_file.m_batchDepth++ == 0) {
        m_file.m_batchLines = m_file.loadLines();
    }
}

IniFile::Batch::~Batch() {
    finish();
}

bool IniFile::Batch::finish() {
    if (std::exchange(m_finished, true) || --m_file.m_batchDepth > 0) {
        return true;
    }
    const QStringList lines = std::move(*m_file.m_batchLines);
    m_file.m_batchLines.reset();
    m_file.m_batchIndex.reset();
    return !std::exchange(m_file.m_batchWritten, false) || m_file.storeLines(lines);
}
