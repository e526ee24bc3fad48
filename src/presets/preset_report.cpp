#include "presets/preset_report.h"

#include <cmath>
#include <cstring>

namespace orba {

namespace {

QString nameOf(const PresetHeader &header)
{
    return QString::fromLatin1(header.nameText().c_str());
}

QString countText(const PresetHeader &header)
{
    return QString::number(header.presetCount);
}

QString crcText(const PresetHeader &header)
{
    return QStringLiteral("%1").arg(header.presetChecksum, 8, 16, QLatin1Char('0')).toUpper();
}

} // namespace

QString reportHeading()
{
    return QStringLiteral("Talmen ORBA");
}

QString slotReportTitle(const PresetHeader &header)
{
    return nameOf(header) + QStringLiteral(".orba");
}

QString diffReportTitle()
{
    return QStringLiteral("Differences");
}

PresetHeader headerForSet(const SETTINGS_MAP &set, const std::string &name)
{
    PresetHeader header;
    header.clear();
    header.setName(name);
    header.inUse = 1;
    header.setChecksums(set.checksums());
    return header;
}

QString valueText(const SETTINGS_MAP &set, uint16_t id)
{
    return QString::fromLatin1(set.label(id).c_str());
}

bool sameName(const PresetHeader &a, const PresetHeader &b)
{
    return std::strncmp(a.name, b.name, PRESET_NAME_LEN) == 0;
}

bool parameterDiffers(const SETTINGS_MAP &a, const SETTINGS_MAP &b, uint16_t id)
{
    switch (settingType(id)) {
    case SETTING_FLOAT:
        return a.getFloat(id) != b.getFloat(id);
    case SETTING_INT:
        return a.getInt(id) != b.getInt(id);
    case SETTING_BOOL:
        return a.getBool(id) != b.getBool(id);
    default:
        return false;
    }
}

std::vector<ViewRow> viewRows(const PresetPair &preset)
{
    std::vector<ViewRow> rows;
    rows.reserve(size_t(settingCount()) + 3);
    rows.push_back({QStringLiteral("Name"), nameOf(preset.header)});
    rows.push_back({QStringLiteral("Num IDs"), countText(preset.header)});
    rows.push_back({QStringLiteral("CRC"), crcText(preset.header)});
    if (!preset.set)
        return rows;
    for (uint16_t id = firstSettingId(); id != SETTINGS_END; id = nextSettingId(id))
        rows.push_back({QString::fromLatin1(settingName(id)), valueText(*preset.set, id)});
    return rows;
}

std::vector<DiffRow> diffRows(const PresetPair &current, const PresetPair &compared)
{
    const PresetHeader &a = current.header;
    const PresetHeader &b = compared.header;
    std::vector<DiffRow> rows;
    rows.reserve(size_t(settingCount()) + 3);
    rows.push_back({QStringLiteral("Name"), nameOf(a), nameOf(b), !sameName(a, b)});
    rows.push_back(
        {QStringLiteral("Num Parameters"), countText(a), countText(b), a.presetCount != b.presetCount});
    rows.push_back({QStringLiteral("CRC"), crcText(a), crcText(b), a.presetChecksum != b.presetChecksum});
    if (!current.set || !compared.set)
        return rows;
    for (uint16_t id = firstSettingId(); id != SETTINGS_END; id = nextSettingId(id))
        rows.push_back({QString::fromLatin1(settingName(id)), valueText(*current.set, id),
                        valueText(*compared.set, id), parameterDiffers(*current.set, *compared.set, id)});
    return rows;
}

int differingRows(const std::vector<DiffRow> &rows)
{
    int n = 0;
    for (const DiffRow &row : rows)
        n += row.differs ? 1 : 0;
    return n;
}

QString expandTabs(const QString &text, const std::vector<int> &columns)
{
    QString out;
    out.reserve(text.size() + 64);
    for (const QChar c : text) {
        if (c != QLatin1Char('\t')) {
            out += c;
            continue;
        }
        int next = -1;
        for (const int column : columns)
            if (column > out.size()) {
                next = column;
                break;
            }
        if (next < 0)
            out += QLatin1Char(' ');
        else
            out += QString(next - out.size(), QLatin1Char(' '));
    }
    return out;
}

std::vector<ReportLine> presetReportLines(const SETTINGS_MAP &set)
{
    std::vector<ReportLine> lines;
    lines.reserve(size_t(settingCount()));
    for (uint16_t id = firstSettingId(); id != SETTINGS_END; id = nextSettingId(id)) {
        const QString text = QStringLiteral("    %1    %2    %3")
                                 .arg(QString::fromLatin1(settingName(id)), -25)
                                 .arg(valueText(set, id), 8)
                                 .arg(QString(), 8);
        lines.push_back({text, REPORT_TEXT_ARGB});
    }
    return lines;
}

const std::vector<int> &diffTabColumns()
{
    static const std::vector<int> columns{30, 37, 50};
    return columns;
}

std::vector<ReportLine> diffReportLines(const std::vector<DiffRow> &rows)
{
    std::vector<ReportLine> lines;
    lines.reserve(rows.size());
    for (const DiffRow &row : rows) {
        const QString text = QStringLiteral("%1 %2\t%3\t%4\t%5")
                                 .arg(row.differs ? QStringLiteral("**") : QStringLiteral("  "), row.label,
                                      QString(), row.current, row.compared);
        lines.push_back(
            {expandTabs(text, diffTabColumns()), row.differs ? REPORT_DIFF_ARGB : REPORT_TEXT_ARGB});
    }
    return lines;
}

} // namespace orba
