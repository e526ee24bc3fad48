// tcDisplayEditDlg: the small modal editor that displays and combos open on a double click: a
// line edit checked by a regular expression, the units beside it, Ok and Cancel.
#pragma once

#include <QDialog>

class QLineEdit;
class QLabel;

class tcDisplayEditDlg : public QDialog
{
    Q_OBJECT
public:
    tcDisplayEditDlg(QWidget *parent, const QString &units, const QString &pattern);

    QString text() const;
    QLineEdit *lineEdit() const { return m_edit; }
    // Whether the validator takes the text whole.
    bool acceptsText(const QString &text) const;


private:
    QLineEdit *m_edit;
    QLabel *m_units;
};

// Opens the editor below an object's bottom-left corner and returns the text typed, or an empty
// text when it was cancelled.
class tcGuiObject;
QString runDisplayEditor(const tcGuiObject &object, const QString &units, const QString &pattern);

// The double click of displays and combos: the editor when editable and an edit callback is set,
// then the double-click callback when the object has the flag.
void runDoubleClickActions(const tcGuiObject &object, bool editable, const QString &units,
                           const QString &pattern, void (*edited)(void *, int, const char *), bool flag,
                           void (*doubleClicked)(void *, int));
