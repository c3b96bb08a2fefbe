#include "IniFile.h"

#include "AtomicFile.h"
#include "CodePage.h"
#include "Paths.h"
#include "Text.h"

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
} // namespace

IniFile::IniFile() = default;

IniFile::~IniFile() = default;

void IniFile::setPathName(const QString& folder) {
    m_pathName = AddPathSep(folder);
}

void IniFile::setFileName(const QString& name) {
    m_fileName = name;
}

QString IniFile::FilePath() const {
    return ClientFiles::PathForWrite(m_pathName, m_fileName);
}

QStringList IniFile::LoadLines() const {
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

bool IniFile::StoreLines(const QStringList& lines) const {
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
    return (nul >= 0 ? raw.first(nul) : raw).left(IniFile::kMaxValueLength).toString();
}

// Section and key joined by a line end, which no name holds, folded for comparing: one string per lookup.
QString IndexKey(QStringView section, QStringView key) {
    const QStringView s = TrimBlanks(section);
    const QStringView k = TrimBlanks(key);
    QString joined;
    joined.reserve(s.size() + 1 + k.size());
    joined.append(s).append(QLatin1Char('\n')).append(k);
    return std::move(joined).toCaseFolded();
}

QString Folded(QStringView name) {
    return TrimBlanks(name).toString().toCaseFolded();
}
} // namespace

qsizetype IniFile::LineIndex::Add(QHash<QString, qsizetype>& names, const QString& name, qsizetype line) {
    names.insert(name, static_cast<qsizetype>(Lines.size()));
    Lines.push_back(line);
    return static_cast<qsizetype>(Lines.size()) - 1;
}

IniFile::LineIndex IniFile::IndexLines(const QStringList& lines) {
    // Only the first section of a name and the first key of a name in it count. A key goes in after the
    // last non-blank line of its section.
    LineIndex index;
    QStringView current;
    qsizetype end = -1; // slot of the current section's end, or -1 outside a first section
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (const auto name = SectionOf(lines[i])) {
            current = *name;
            const QString folded = Folded(current);
            end = index.SectionEnds.contains(folded) ? -1 : index.Add(index.SectionEnds, folded, i + 1);
            continue;
        }
        if (end < 0) {
            continue;
        }
        if (!TrimBlanks(lines[i]).isEmpty()) {
            index.Lines[static_cast<std::size_t>(end)] = i + 1;
        }
        if (const auto kv = KeyOf(lines[i])) {
            if (const QString name = IndexKey(current, kv->key); !index.Keys.contains(name)) {
                index.Add(index.Keys, name, i);
            }
        }
    }
    return index;
}

const IniFile::LineIndex& IniFile::BatchIndex() const {
    if (!m_batchIndex) {
        m_batchIndex = IndexLines(*m_batchLines);
    }
    return *m_batchIndex;
}

QString IniFile::GetData(const QString& section, const QString& key) const {
    const auto read = [&](const QStringList& lines, const LineIndex& index) {
        const qsizetype slot = index.Keys.value(IndexKey(section, key), -1);
        return slot < 0 ? QString() : ValueOf(KeyOf(lines[index.Lines[static_cast<std::size_t>(slot)]])->value);
    };
    if (m_batchDepth > 0) {
        return read(*m_batchLines, BatchIndex());
    }
    const QStringList lines = LoadLines();
    return read(lines, IndexLines(lines));
}

qint32 IniFile::SetData(const QString& section, const QString& key, const QString& value) {
    if (m_batchDepth == 0) {
        Batch once(*this);
        SetData(section, key, value);
        return once.Finish() ? 1 : 0;
    }
    QStringList& lines = *m_batchLines;
    BatchIndex();
    LineIndex& index = *m_batchIndex;
    const QString newLine = TrimBlanks(key).toString() + QLatin1Char('=') + value;
    const QString name = IndexKey(section, key);
    m_batchWritten = true;
    if (const auto found = index.Keys.constFind(name); found != index.Keys.cend()) {
        lines[index.Lines[static_cast<std::size_t>(*found)]] = newLine;
        return 1;
    }
    const QString folded = Folded(section);
    const auto end = index.SectionEnds.constFind(folded);
    if (end == index.SectionEnds.cend()) {
        lines.append(QLatin1Char('[') + TrimBlanks(section).toString() + QLatin1Char(']'));
        index.Add(index.SectionEnds, folded, lines.size() + 1);
        index.Add(index.Keys, name, lines.size());
        lines.append(newLine);
        return 1;
    }
    // Every line from the insertion point on moves down one, and the section now ends after the new line.
    const qsizetype at = index.Lines[static_cast<std::size_t>(*end)];
    lines.insert(at, newLine);
    for (qsizetype& line : index.Lines) {
        line += line >= at ? 1 : 0;
    }
    index.Add(index.Keys, name, at);
    return 1;
}

IniFile::Batch::Batch(IniFile& file) : m_file(file) {
    if (m_file.m_batchDepth++ == 0) {
        m_file.m_batchLines = m_file.LoadLines();
    }
}

IniFile::Batch::~Batch() {
    Finish();
}

bool IniFile::Batch::Finish() {
    if (std::exchange(m_finished, true) || --m_file.m_batchDepth > 0) {
        return true;
    }
    const QStringList lines = std::move(*m_file.m_batchLines);
    m_file.m_batchLines.reset();
    m_file.m_batchIndex.reset();
    return !std::exchange(m_file.m_batchWritten, false) || m_file.StoreLines(lines);
}
