#include "gui/display_edit_dlg.h"

#include "common/check.h"
#include "gui/dialog_run.h"
#include "gui/gui_object.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

tcDisplayEditDlg::tcDisplayEditDlg(QWidget *parent, const QString &units, const QString &pattern)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    m_edit = new QLineEdit(this);
    m_edit->setGeometry(0, 0, 65, 16);
    m_edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), m_edit));
    m_units = new QLabel(units, this);
    m_units->setGeometry(65, 0, 30, 16);
    auto *ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setGeometry(0, 16, 40, 16);
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setGeometry(40, 16, 55, 16);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(95, 32);
}

QString tcDisplayEditDlg::text() const
{
    return m_edit->text();
}

bool tcDisplayEditDlg::acceptsText(const QString &text) const
{
    QString copy = text;
    int pos = 0;
    return m_edit->validator()->validate(copy, pos) == QValidator::Acceptable;
}


QString runDisplayEditor(const tcGuiObject &object, const QString &units, const QString &pattern)
{
    QWidget *host = object.hostWidget();
    ORBA_CHECK(host != nullptr, "m_parent != NULL");
    tcDisplayEditDlg dialog(host, units, pattern);
    const tcBench *bench = object.bench();
    const QPoint corner(bench->toWidgetX(object.x()), bench->toWidgetY(object.y() + object.height()));
    dialog.move(host->mapToGlobal(corner));
    if (orba::runDialog(&dialog) != QDialog::Accepted)
        return QString();
    return dialog.text();
}

void runDoubleClickActions(const tcGuiObject &object, bool editable, const QString &units,
                           const QString &pattern, void (*edited)(void *, int, const char *), bool flag,
                           void (*doubleClicked)(void *, int))
{
    if (editable && edited) {
        const QString text = runDisplayEditor(object, units, pattern);
        if (!text.isEmpty())
            edited(object.callbackContext(), object.controlId(), text.toUtf8().constData());
    }
    if (flag && doubleClicked)
        doubleClicked(object.callbackContext(), object.controlId());
}
