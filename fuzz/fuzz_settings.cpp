// The settings file: whatever it holds, the settings read from it are written back and read again
// unchanged, and the reads never fail.
#include "FuzzSupport.h"

#include "core/CodePage.h"
#include "core/Settings.h"

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
    v.Button = s.Button();
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
    Values first = Read(folder, true);
    Values second = Read(folder, false);
    // Characters the code page cannot hold come back as its substitute; only the site text can carry them.
    if (CodePage::decode(CodePage::encode(first.site)) != first.site) {
        first.site = second.site;
    }
    Fuzz::check(first == second, "settings survive a save", first.site + QStringLiteral(" / ") + second.site);
    return 0;
}
