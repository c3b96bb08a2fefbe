// The settings file: whatever it holds, the settings read from it are written back and read again
// unchanged, and the reads never fail.
#include "FuzzSupport.h"

#include "core/CodePage.h"
#include "core/Settings.h"

namespace {

struct Values {
    std::array<qint32, 4 * Settings::kSlotCount> places{};
    qint16 position = 0;
    qint32 back = 0;
    qint32 fore = 0;
    qint16 dispMode = 0;
    QString site;
    bool operator==(const Values&) const = default;
};

// The settings as read from the folder; written back when `save`.
Values read(const QString& folder, bool save) {
    Settings s;
    s.setFolder(folder);
    s.loadSettings();
    Values v;
    for (int slot = 1; slot <= Settings::kSlotCount; ++slot) {
        const std::size_t at = 4 * static_cast<std::size_t>(slot - 1);
        v.places[at] = s.posTop(slot);
        v.places[at + 1] = s.posLeft(slot);
        v.places[at + 2] = s.height(slot);
        v.places[at + 3] = s.width(slot);
    }
    v.position = s.position();
    v.back = s.backColor();
    v.fore = s.foreColor();
    v.dispMode = s.dispMode();
    v.site = s.resultSite();
    if (save) {
        s.saveSettings();
    }
    return v;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = (Fuzz::quiet(), true);
    (void)quiet;
    const QString folder = Fuzz::writeFiles(
        {{QStringLiteral("VQV50.INI"), QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))}});
    Values first = read(folder, true);
    const QByteArray saved = Fuzz::fileBytes(folder + QStringLiteral("VQV50.INI"));
    Values second = read(folder, true);
    // What is kept without being shown (the button setting, foreign keys) survives too: a second save
    // writes the same file.
    Fuzz::check(Fuzz::fileBytes(folder + QStringLiteral("VQV50.INI")) == saved, "a second save changes nothing");
    // Characters the code page cannot hold come back as its substitute; only the site text can carry them.
    if (CodePage::decode(CodePage::encode(first.site)) != first.site) {
        first.site = second.site;
    }
    Fuzz::check(first == second, "settings survive a save", first.site + QStringLiteral(" / ") + second.site);
    return 0;
}
