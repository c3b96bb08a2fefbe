#include "Settings.h"

#include "AppError.h"
#include "AtomicFile.h"
#include "Formats.h"
#include "IniFile.h"
#include "Numbers.h"

#include <QFileInfo>

#include <array>

namespace {
const QString kWindow = QStringLiteral("WINDOW");
const QString kOption = QStringLiteral("OPTION");

enum SlotWord { kTop, kLeft, kHeight, kWidth };

// "top01" .. "width07", made once: every load and save names all of them.
const QString& slotKey(SlotWord word, int slot) {
    static const auto keys = [] {
        std::array<std::array<QString, Settings::kSlotCount>, 4> k;
        const std::array<const char*, 4> words{"top", "left", "height", "width"};
        for (std::size_t w = 0; w < words.size(); ++w) {
            for (int n = 1; n <= Settings::kSlotCount; ++n) {
                k[w][static_cast<std::size_t>(n - 1)] = QLatin1String(words[w]) + Fmt::zeros(n, 2);
            }
        }
        return k;
    }();
    return keys[static_cast<std::size_t>(word)][static_cast<std::size_t>(slot - 1)];
}

// top/left: a stored number below 0 (and an empty value) reads as 0.
qint32 readPosition(const QString& value) {
    if (value.isEmpty()) {
        return 0;
    }
    const double v = Num::val(value);
    return v >= 0 ? Num::clampToInt32(v) : 0;
}

// height/width: negative values are kept (and later ignored by LoadForm).
qint32 readSize(const QString& value) {
    return value.isEmpty() ? 0 : Num::clampToInt32(Num::val(value));
}

// A 0/1 option: any number other than 0 reads as 1.
qint32 readFlag(const QString& value, qint32 whenEmpty) {
    if (value.isEmpty()) {
        return whenEmpty;
    }
    return Num::val(value) != 0 ? 1 : 0;
}
} // namespace

Settings::Settings() = default;

void Settings::setFolder(const QString& folder) {
    m_folder = folder;
}

Settings::FormSlot& Settings::at(int slot) {
    if (slot < 1 || slot > kSlotCount) {
        throw AppError::indexOutOfRange();
    }
    return m_slots[slot - 1];
}

const Settings::FormSlot& Settings::at(int slot) const {
    if (slot < 1 || slot > kSlotCount) {
        throw AppError::indexOutOfRange();
    }
    return m_slots[slot - 1];
}

void Settings::loadSettings() {
    IniFile ini;
    ini.setPathName(m_folder);
    ini.setFileName(fileName());
    // Read once at start, so this is where the leftovers of an interrupted save are cleared away.
    AtomicFile::removeStrays(ini.pathName(), fileName());
    const IniFile::Batch once(ini); // one read of the file for all 36 keys
    const bool newFile = !QFileInfo::exists(ini.filePath());

    for (int slot = 1; slot <= kSlotCount; ++slot) {
        FormSlot& s = m_slots[slot - 1];
        s.posTop = readPosition(ini.value(kWindow, slotKey(kTop, slot)));
        s.posLeft = readPosition(ini.value(kWindow, slotKey(kLeft, slot)));
        s.height = readSize(ini.value(kWindow, slotKey(kHeight, slot)));
        s.width = readSize(ini.value(kWindow, slotKey(kWidth, slot)));
    }

    m_position = static_cast<qint16>(readFlag(ini.value(kOption, QStringLiteral("position")), 0));
    m_button = readFlag(ini.value(kOption, QStringLiteral("button")), 1);

    const QString back = ini.value(kOption, QStringLiteral("backcolor"));
    m_backColor = back.isEmpty() ? kDefaultBackColor : Num::clampToInt32(Num::val(back));
    const QString fore = ini.value(kOption, QStringLiteral("forecolor"));
    m_foreColor = fore.isEmpty() ? 0 : Num::clampToInt32(Num::val(fore));

    const QString disp = ini.value(kOption, QStringLiteral("dfltdisp"));
    m_dispMode = 2;
    if (!disp.isEmpty()) {
        const qint16 v = Num::clampToInt16(Num::val(disp));
        m_dispMode = (v < 1 || v > 3) ? qint16(2) : v;
    }

    const QString site = ini.value(kOption, QStringLiteral("resultsite")).trimmed();
    m_resultSite = site.isEmpty() ? defaultResultSite() : site;

    m_autoRefresh = readFlag(ini.value(kOption, QStringLiteral("autorefresh")), newFile ? 1 : 0) != 0;
    m_hitNotices = readFlag(ini.value(kOption, QStringLiteral("hitnotice")), 1) != 0;
}

void Settings::saveSettings() const {
    IniFile ini;
    ini.setPathName(m_folder);
    ini.setFileName(fileName());
    IniFile::Batch batch(ini);

    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const FormSlot& s = m_slots[slot - 1];
        ini.setValue(kWindow, slotKey(kTop, slot), QString::number(s.posTop));
        ini.setValue(kWindow, slotKey(kLeft, slot), QString::number(s.posLeft));
        ini.setValue(kWindow, slotKey(kHeight, slot), QString::number(s.height));
        ini.setValue(kWindow, slotKey(kWidth, slot), QString::number(s.width));
    }
    ini.setValue(kOption, QStringLiteral("position"), QString::number(m_position));
    ini.setValue(kOption, QStringLiteral("backcolor"), QString::number(m_backColor));
    ini.setValue(kOption, QStringLiteral("forecolor"), QString::number(m_foreColor));
    ini.setValue(kOption, QStringLiteral("button"), QString::number(m_button));
    ini.setValue(kOption, QStringLiteral("dfltdisp"), QString::number(m_dispMode));
    ini.setValue(kOption, QStringLiteral("resultsite"), m_resultSite);
    ini.setValue(kOption, QStringLiteral("autorefresh"), QString::number(m_autoRefresh ? 1 : 0));
    ini.setValue(kOption, QStringLiteral("hitnotice"), QString::number(m_hitNotices ? 1 : 0));
}

bool Settings::loadForm(IFormWindow& window, bool top, bool left, bool height, bool width) const {
    const FormSlot& s = at(window.formTag());
    if (s.posTop == 0 && s.posLeft == 0 && s.height == 0 && s.width == 0) {
        return false;
    }
    if (top && s.posTop >= 0) {
        window.setTopTwips(s.posTop);
    }
    if (left && s.posLeft >= 0) {
        window.setLeftTwips(s.posLeft);
    }
    if (height && s.height > 0) {
        window.setHeightTwips(s.height);
    }
    if (width && s.width > 0) {
        window.setWidthTwips(s.width);
    }
    return true;
}

void Settings::saveForm(const IFormWindow& window) {
    FormSlot& s = at(window.formTag());
    if (window.isMinimized()) {
        return;
    }
    s.posTop = window.topTwips();
    s.posLeft = window.leftTwips();
    s.height = window.heightTwips();
    s.width = window.widthTwips();
}
