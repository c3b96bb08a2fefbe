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

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = (Fuzz::Quiet(), true);
    (void)quiet;
    const QString folder = Fuzz::WriteFiles(
        {{QStringLiteral("VQV50.INI"), QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))}});
    Values first = Read(folder, true);
    Values second = Read(folder, false);
    // Characters the code page cannot hold come back as its substitute; only the site text can carry them.
    if (CodePage::Decode(CodePage::Encode(first.Site)) != first.Site) {
        first.Site = second.Site;
    }
    Fuzz::Check(first == second, "settings survive a save", first.Site + QStringLiteral(" / ") + second.Site);
    return 0;
}
