// tcPresetRenameDlg: asks for a new name under the rename rules (slots and favourite files up to 40
// characters, favourite folders up to 100). A refusal is told and the dialog stays open on the
// name; an empty name does nothing.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace orba {
// The name dialogs' layout: the field beside its label, OK (the default) and Cancel (rejects) below.
QPushButton *addNameForm(QDialog &dialog, const QString &label, QLineEdit *edit);
} // namespace orba

class tcPresetRenameDlg : public QDialog
{
    Q_OBJECT
public:
    // title: "Rename Preset", "Rename Favorite File", "Rename Favorite Folder".
    tcPresetRenameDlg(const QString &title, const QString &current, int maxLength, QWidget *parent = nullptr);

    QString name() const { return m_name; }

public slots:
    void OkClicked();

private:
    QLineEdit *m_nameEdit = nullptr;
    int m_maxLength;
    QString m_name;
};

// The library's name for it.
using CPresetRenameDlg = tcPresetRenameDlg;
