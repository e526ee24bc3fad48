// "ORBA Remote Help": a short built-in page on the screens, the keys and the mouse, and where the
// full guide (README.md) is when one lies beside the program.
#pragma once

#include <QDialog>
#include <QString>

class QTextBrowser;

class tcHelpDlg : public QDialog
{
    Q_OBJECT
public:
    explicit tcHelpDlg(QWidget *parent = nullptr);

    // The page as shown; the README line names `readme` when it is not empty.
    static QString page(const QString &readme);
    // README.md in the current folder or in the source tree above the program's folder, or empty.
    static QString findReadme();
    QTextBrowser *browser() const { return m_browser; }

private:
    QTextBrowser *m_browser;
};
