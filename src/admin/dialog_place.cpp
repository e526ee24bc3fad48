#include "admin/dialog_place.h"

#include <QDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>

#include <algorithm>

namespace orba {

void prepareDialog(QWidget *dialog)
{
    dialog->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    dialog->setWindowIcon(QGuiApplication::windowIcon());
}

void centreOverParent(QWidget *dialog, const QWidget *parent, bool clampTo50)
{
    if (!parent)
        return;
    const QPoint origin = parent->mapToGlobal(QPoint(0, 0));
    int left = origin.x() + (parent->width() + 1) / 2 - dialog->width() / 2;
    int top = origin.y() + (parent->height() + 1) / 2 - (dialog->height() + 1) / 2;
    if (clampTo50) {
        left = std::max(left, 50);
        top = std::max(top, 50);
    }
    dialog->move(left, top);
}

QHBoxLayout *okCancelRow(QDialog *dialog)
{
    auto *ok = new QPushButton(QStringLiteral("OK"), dialog);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

} // namespace orba
