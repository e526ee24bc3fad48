#include "presets/dialogs/preset_view_dlgs.h"

#include "presets/dialogs/report_printer.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QTreeWidget *makeTree(QWidget *parent, const char *name, const QStringList &labels)
{
    auto *tree = new QTreeWidget(parent);
    tree->setObjectName(QLatin1String(name));
    tree->setColumnCount(3);
    tree->setHeaderLabels(labels);
    tree->setAlternatingRowColors(true);
    tree->setRootIsDecorated(false);
    tree->setUniformRowHeights(true);
    tree->setColumnWidth(0, 110);
    return tree;
}

} // namespace

CPresetsViewDlg::CPresetsViewDlg(QWidget *parent, const orba::PresetPair &preset) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Preset View"));
    auto *layout = new QVBoxLayout(this);
    m_tree = makeTree(this, "treeWidget", {QStringLiteral("Setting"), QStringLiteral("Value"), QString()});
    layout->addWidget(m_tree);
    QList<QTreeWidgetItem *> items;
    for (const orba::ViewRow &row : orba::viewRows(preset))
        items << new QTreeWidgetItem(QStringList{row.label, row.value, QString()});
    m_tree->addTopLevelItems(items);
    resize(420, 560);
}

tcPresetsDiffDlg::tcPresetsDiffDlg(QWidget *parent, const QString &column, const orba::PresetPair &live,
                                   const orba::PresetPair &compared)
    : QDialog(parent), m_rows(orba::diffRows(live, compared))
{
    setWindowTitle(QStringLiteral("Preset Difference"));
    auto *layout = new QVBoxLayout(this);
    m_tree = makeTree(this, "diff_tree", {QStringLiteral("Setting"), QStringLiteral("Current"), column});
    m_tree->setColumnWidth(1, 100);
    layout->addWidget(m_tree);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    m_print = new QPushButton(QStringLiteral("Print..."), this);
    m_print->setObjectName(QStringLiteral("print_btn"));
    buttons->addWidget(m_print);
    layout->addLayout(buttons);
    connect(m_print, &QPushButton::clicked, this, &tcPresetsDiffDlg::print);

    const QBrush red(QColor::fromRgba(orba::REPORT_DIFF_ARGB));
    const QBrush white(Qt::white);
    QList<QTreeWidgetItem *> items;
    for (const orba::DiffRow &row : m_rows) {
        auto *item = new QTreeWidgetItem(QStringList{row.label, row.current, row.compared});
        if (row.differs)
            for (int c = 0; c < 3; ++c) {
                item->setBackground(c, red);
                item->setForeground(c, white);
            }
        items << item;
    }
    m_tree->addTopLevelItems(items);
    resize(460, 560);
}

void tcPresetsDiffDlg::print(bool)
{
    orba::ReportPrinter printer;
    if (printer.start(orba::reportHeading(), orba::diffReportTitle(), this) != 0)
        return;
    printer.lines(orba::diffReportLines(m_rows));
    printer.end();
}
