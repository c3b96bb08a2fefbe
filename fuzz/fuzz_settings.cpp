// The settings file: whatever it holds, the settings read from it are written back and read again
// unchanged, and the reads never fail.
#include "FuzzSupport.h"

#include "core/CodePage.h"
#include "core/Settings.h"
#include "core/clsProFile.h"

namespace {

struct Values {
    std::array<qint32, 4 * Settings::kSlotCount> Places{};
    qint16 Position = 0;
    qint32 Back = 0;
    qint32 Fore = 0;
    qint16 Button = 0;
    qint16 DispMode = 0;
    QString Site;
    bool operator==(const Values&) const = default;
};

// The settings as read from the folder; written back when `save`.
Values Read(const QString& folder, bool save) {
    Settings s;
    s.setFolder(folder);
    s.LoadSettings();
    Values v;
    for (int slot = 1; slot <= Settings::kSlotCount; ++slot) {
        const std::size_t at = 4 * static_cast<std::size_t>(slot - 1);
        v.Places[at] = s.PosTop(slot);
        v.Places[at + 1] = s.PosLeft(slot);
        v.Places[at + 2] = s.Height(slot);
        v.Places[at + 3] = s.Width(slot);
    }
    v.Position = s.Position();
    v.Back = s.BackColor();
    v.Fore = s.ForeColor();
    v.Button = s.Button();
    v.DispMode = s.DispMode();
    v.Site = s.ResultSite();
    if (save) {
        s.SaveSettings();
    }
    return v;
}

} // namespace

// Within a batch the file is read once and looked up by name; outside, every read scans the lines. Both
// must give the same value for every section and key the file names (and for ours).
void CompareBatchReads(const QString& folder, const QByteArray& bytes) {
    // Ours, and the first and last names the file holds: enough for duplicates, case and blanks to meet.
    QStringList sections{QStringLiteral("WINDOW")};
    QStringList keys{QStringLiteral("top1")};
    QStringList foundSections;
    QStringList foundKeys;
    for (const QString& line : CodePage::Decode(bytes).split(u'\n')) {
        if (const qsizetype open = line.indexOf(u'['); open >= 0) {
            foundSections << line.sliced(open + 1).section(u']', 0, 0);
        } else if (const qsizetype eq = line.indexOf(u'='); eq >= 0) {
            foundKeys << line.first(eq);
        }
    }
    if (!foundSections.isEmpty()) {
        sections << foundSections.first() << foundSections.last();
    }
    if (!foundKeys.isEmpty()) {
        keys << foundKeys.first() << foundKeys.last();
    }
    clsProFile ini;
    ini.setPathName(folder);
    ini.setFileName(QStringLiteral("VQV50.INI"));
    QStringList scanned;
    for (const QString& s : sections) {
        for (const QString& k : keys) {
            scanned << ini.GetData(s, k);
        }
    }
    const clsProFile::Batch batch(ini);
    qsizetype i = 0;
    for (const QString& s : sections) {
        for (const QString& k : keys) {
            Fuzz::Check(ini.GetData(s, k) == scanned[i++], "a batch reads what a scan reads", s + u'/' + k);
        }
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = (Fuzz::Quiet(), true);
    (void)quiet;
    const QString folder = Fuzz::WriteFiles(
        {{QStringLiteral("VQV50.INI"), QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))}});
    CompareBatchReads(folder,
                      QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    Values first = Read(folder, true);
    Values second = Read(folder, false);
    // Characters the code page cannot hold come back as its substitute; only the site text can carry them.
    if (CodePage::Decode(CodePage::Encode(first.Site)) != first.Site) {
        first.Site = second.Site;
    }
    Fuzz::Check(first == second, "settings survive a save", first.Site + QStringLiteral(" / ") + second.Site);
    return 0;
}
