#include "Settings.h"

#include "AppError.h"
#include "AtomicFile.h"
#include "Formats.h"
#include "IniFile.h"
#include "Numbers.h"

#include <array>

namespace {
const QString kWindow = QStringLiteral("WINDOW");
const QString kOption = QStringLiteral("OPTION");

enum SlotWord { kTop, kLeft, kHeight, kWidth };

// "top01" .. "width07", made once: every load and save names all of them.
const QString& SlotKey(SlotWord word, int slot) {
    static const auto keys = [] {
        std::array<std::array<QString, Settings::kSlotCount>, 4> k;
        const std::array<const char*, 4> words{"top", "left", "height", "width"};
        for (std::size_t w = 0; w < words.size(); ++w) {
            for (int n = 1; n <= Settings::kSlotCount; ++n) {
                k[w][static_cast<std::size_t>(n - 1)] = QLatin1String(words[w]) + Fmt::Zeros(n, 2);
            }
        }
        return k;
    }();
    return keys[static_cast<std::size_t>(word)][static_cast<std::size_t>(slot - 1)];
}

// top/left: a stored number below 0 (and an empty value) reads as 0.
qint32 ReadPosition(const QString& value) {
    if (value.isEmpty()) {
        return 0;
    }
    const double v = Num::Val(value);
    return v >= 0 ? Num::ClampToInt32(v) : 0;
}

// height/width: negative values are kept (and later ignored by LoadForm).
qint32 ReadSize(const QString& value) {
    return value.isEmpty() ? 0 : Num::ClampToInt32(Num::Val(value));
}

// A 0/1 option: any number other than 0 reads as 1.
qint32 ReadFlag(const QString& value, qint32 whenEmpty) {
    if (value.isEmpty()) {
        return whenEmpty;
    }
    return Num::Val(value) != 0 ? 1 : 0;
}
} // namespace

Settings::Settings() = default;

void Settings::setFolder(const QString& folder) {
    m_folder = folder;
}

Settings::FormSlot& Settings::At(int slot) {
    if (slot < 1 || slot > kSlotCount) {
        throw AppError::IndexOutOfRange();
    }
    return m_slots[slot - 1];
}

const Settings::FormSlot& Settings::At(int slot) const {
    if (slot < 1 || slot > kSlotCount) {
        throw AppError::IndexOutOfRange();
    }
    return m_slots[slot - 1];
}

void Settings::LoadSettings() {
    IniFile ini;
    ini.setPathName(m_folder);
    ini.setFileName(FileName());
    // Read once at start, so this is where the leftovers of an interrupted save are cleared away.
    AtomicFile::RemoveStrays(ini.PathName(), FileName());
    const IniFile::Batch once(ini); // one read of the file for all 34 keys

    for (int slot = 1; slot <= kSlotCount; ++slot) {
        FormSlot& s = m_slots[slot - 1];
        s.PosTop = ReadPosition(ini.GetData(kWindow, SlotKey(kTop, slot)));
        s.PosLeft = ReadPosition(ini.GetData(kWindow, SlotKey(kLeft, slot)));
        s.Height = ReadSize(ini.GetData(kWindow, SlotKey(kHeight, slot)));
        s.Width = ReadSize(ini.GetData(kWindow, SlotKey(kWidth, slot)));
    }

    m_position = static_cast<qint16>(ReadFlag(ini.GetData(kOption, QStringLiteral("position")), 0));
    m_button = ReadFlag(ini.GetData(kOption, QStringLiteral("button")), 1);

    const QString back = ini.GetData(kOption, QStringLiteral("backcolor"));
    m_backColor = back.isEmpty() ? kDefaultBackColor : Num::ClampToInt32(Num::Val(back));
    const QString fore = ini.GetData(kOption, QStringLiteral("forecolor"));
    m_foreColor = fore.isEmpty() ? 0 : Num::ClampToInt32(Num::Val(fore));

    const QString disp = ini.GetData(kOption, QStringLiteral("dfltdisp"));
    m_dispMode = 2;
    if (!disp.isEmpty()) {
        const qint16 v = Num::ClampToInt16(Num::Val(disp));
        m_dispMode = (v < 1 || v > 3) ? qint16(2) : v;
    }

    const QString site = ini.GetData(kOption, QStringLiteral("resultsite")).trimmed();
    m_resultSite = site.isEmpty() ? DefaultResultSite() : site;
}

void Settings::SaveSettings() const {
    IniFile ini;
    ini.setPathName(m_folder);
    ini.setFileName(FileName());
    IniFile::Batch batch(ini);

    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const FormSlot& s = m_slots[slot - 1];
        ini.SetData(kWindow, SlotKey(kTop, slot), QString::number(s.PosTop));
        ini.SetData(kWindow, SlotKey(kLeft, slot), QString::number(s.PosLeft));
        ini.SetData(kWindow, SlotKey(kHeight, slot), QString::number(s.Height));
        ini.SetData(kWindow, SlotKey(kWidth, slot), QString::number(s.Width));
    }
    ini.SetData(kOption, QStringLiteral("position"), QString::number(m_position));
    ini.SetData(kOption, QStringLiteral("backcolor"), QString::number(m_backColor));
    ini.SetData(kOption, QStringLiteral("forecolor"), QString::number(m_foreColor));
    ini.SetData(kOption, QStringLiteral("button"), QString::number(m_button));
    ini.SetData(kOption, QStringLiteral("dfltdisp"), QString::number(m_dispMode));
    ini.SetData(kOption, QStringLiteral("resultsite"), m_resultSite);
}

bool Settings::LoadForm(IFormWindow& window, bool top, bool left, bool height, bool width) const {
    const FormSlot& s = At(window.FormTag());
    if (s.PosTop == 0 && s.PosLeft == 0 && s.Height == 0 && s.Width == 0) {
        return false;
    }
    if (top && s.PosTop >= 0) {
        window.setTopTwips(s.PosTop);
    }
    if (left && s.PosLeft >= 0) {
        window.setLeftTwips(s.PosLeft);
    }
    if (height && s.Height > 0) {
        window.setHeightTwips(s.Height);
    }
    if (width && s.Width > 0) {
        window.setWidthTwips(s.Width);
    }
    return true;
}

void Settings::SaveForm(const IFormWindow& window) {
    FormSlot& s = At(window.FormTag());
    if (window.IsMinimized()) {
        return;
    }
    s.PosTop = window.TopTwips();
    s.PosLeft = window.LeftTwips();
    s.Height = window.HeightTwips();
    s.Width = window.WidthTwips();
}
