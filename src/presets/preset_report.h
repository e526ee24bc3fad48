// Preset reports and comparisons as plain rows and lines: the rows of the view and difference
// dialogs, which of them differ, and the text lines (with their colours) that the printed reports
// are made of. Free of widgets and devices, so the dialogs, the printer and the command line all
// build exactly the same thing.
#pragma once

#include "tables/preset_header.h"
#include "tables/settings_map.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace orba {

// The heading of every printed report.
QString reportHeading();
// The title of a slot's report: the slot's name with ".orba".
QString slotReportTitle(const PresetHeader &header);
QString diffReportTitle();

constexpr uint32_t REPORT_TEXT_ARGB = 0xFF000000;
constexpr uint32_t REPORT_DIFF_ARGB = 0xFFC00000;

// A set with the header that names it (name, counts, checksums).
struct PresetPair
{
    const SETTINGS_MAP *set = nullptr;
    PresetHeader header{};
};

// The header of a set when it has none of its own (the live settings): the given name and the
// set's own counts and checksums.
PresetHeader headerForSet(const SETTINGS_MAP &set, const std::string &name);

// The value text of a parameter in a set ("???" for an unknown id).
QString valueText(const SETTINGS_MAP &set, uint16_t id);

// Names compare over their first 40 characters only, as the slots and files keep no more.
bool sameName(const PresetHeader &a, const PresetHeader &b);
// Whether a parameter's value differs between the sets, by its type.
bool parameterDiffers(const SETTINGS_MAP &a, const SETTINGS_MAP &b, uint16_t id);

struct ViewRow
{
    QString label;
    QString value;
};
// "Name", "Num IDs", "CRC", then every parameter in table order.
std::vector<ViewRow> viewRows(const PresetPair &preset);

struct DiffRow
{
    QString label;
    QString current;
    QString compared;
    bool differs = false;
};
// "Name", "Num Parameters", "CRC", then every parameter in table order.
std::vector<DiffRow> diffRows(const PresetPair &current, const PresetPair &compared);
int differingRows(const std::vector<DiffRow> &rows);

// Each tab becomes spaces up to the next of the columns (0-based character positions) beyond the
// text so far; a tab past the last column becomes one space.
QString expandTabs(const QString &text, const std::vector<int> &columns);

struct ReportLine
{
    QString text;
    uint32_t argb = REPORT_TEXT_ARGB;
};
// One line per parameter: "    %-25s    %8s    %8s" with the name, the value text and nothing.
std::vector<ReportLine> presetReportLines(const SETTINGS_MAP &set);
// The tab columns of the difference report.
const std::vector<int> &diffTabColumns();
// One line per row, tabs expanded; differing rows marked "**" and in the difference colour.
std::vector<ReportLine> diffReportLines(const std::vector<DiffRow> &rows);

} // namespace orba
