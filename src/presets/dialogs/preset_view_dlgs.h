// CPresetsViewDlg ("Preset View"): one preset's settings. tcPresetsDiffDlg ("Preset Difference"):
// the live settings against another preset, the rows that differ in red, with "Print..." for the
// difference report. Both list the rows of preset_report.h, built when the dialog is made.
#pragma once

#include "presets/preset_report.h"

#include <QDialog>

class QPushButton;
class QTreeWidget;

class CPresetsViewDlg : public QDialog
{
    Q_OBJECT
public:
    CPresetsViewDlg(QWidget *parent, const orba::PresetPair &preset);
    QTreeWidget *treeWidget() const { return m_tree; }

private:
    QTreeWidget *m_tree = nullptr;
};

class tcPresetsDiffDlg : public QDialog
{
    Q_OBJECT
public:
    // column: the compared preset's column title ("On ORBA", "Favorite").
    tcPresetsDiffDlg(QWidget *parent, const QString &column, const orba::PresetPair &live,
                     const orba::PresetPair &compared);
    QTreeWidget *diffTree() const { return m_tree; }
    QPushButton *printButton() const { return m_print; }
    const std::vector<orba::DiffRow> &rows() const { return m_rows; }

public slots:
    void print(bool checked = false);

private:
    QTreeWidget *m_tree = nullptr;
    QPushButton *m_print = nullptr;
    std::vector<orba::DiffRow> m_rows;
};
