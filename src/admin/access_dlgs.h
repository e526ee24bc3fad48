// The dialogs of the three protections: the on-screen keypad, the unlock prompt, the GUI access
// code with its permissions, and the front-panel password. Codes leave them only as CRC-32.
#pragma once

#include <QDialog>
#include <QWidget>

#include <cstdint>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// A keypad for touch screens beside the transmitter: digits, dot and backspace.
class tcKeyboardExtension : public QWidget
{
    Q_OBJECT
public:
    explicit tcKeyboardExtension(QWidget *parent = nullptr);

signals:
    // The character code of a digit or the dot, or Qt::Key_Backspace.
    void sig_keypress(int code);

private slots:
    void on_pushButton_0_clicked() { emit sig_keypress('0'); }
    void on_pushButton_1_clicked() { emit sig_keypress('1'); }
    void on_pushButton_2_clicked() { emit sig_keypress('2'); }
    void on_pushButton_3_clicked() { emit sig_keypress('3'); }
    void on_pushButton_4_clicked() { emit sig_keypress('4'); }
    void on_pushButton_5_clicked() { emit sig_keypress('5'); }
    void on_pushButton_6_clicked() { emit sig_keypress('6'); }
    void on_pushButton_7_clicked() { emit sig_keypress('7'); }
    void on_pushButton_8_clicked() { emit sig_keypress('8'); }
    void on_pushButton_9_clicked() { emit sig_keypress('9'); }
    void on_pushButton_DOT_clicked() { emit sig_keypress('.'); }
    void on_pushButton_BKSP_clicked() { emit sig_keypress(Qt::Key_Backspace); }
};

namespace orba {
// Posts a keypad code to the editor as a real key press, so that masks and the cursor act on it
// exactly as on typing.
void postKeypress(QLineEdit *editor, int code);
// CRC-32 of the text's 8-bit characters; 0 for an empty text.
uint32_t accessCrc(const QString &text);
} // namespace orba

// "Restricted Access Code Required": asks for the access code before a restricted action, and
// (titled "Enter Lock Access Code") before locking.
class tcGuiLockCheckDlg : public QDialog
{
    Q_OBJECT
public:
    explicit tcGuiLockCheckDlg(QWidget *parent = nullptr);

    QString code() const { return m_code; } // the text typed, once accepted
    QLineEdit *codeEdit() const { return m_edit; }

public slots:
    void slot_keypress(int code);
    void accept() override;

private:
    QLineEdit *m_edit;
    QString m_code;
};

// "GUI Access Code & Permissions": the access code and which actions it guards while locked.
class tcPasswordDlg : public QDialog
{
    Q_OBJECT
public:
    tcPasswordDlg(const QString &code, uint32_t bits, QWidget *parent = nullptr);

    QString codeText() const;
    uint32_t codeCrc() const { return orba::accessCrc(codeText()); }
    uint32_t bits() const;
    QLineEdit *codeEdit() const { return m_edit; }

public slots:
    void on_clearButton_clicked();
    void slot_keypress(int code);
    void accept() override;

private:
    QLineEdit *m_edit;
    QCheckBox *m_meterBox, *m_paramBox, *m_takeBox, *m_screenBox, *m_saveBox;
};

// "Front Panel Password": the processor's own front-panel code (global 1000): 0-9999 a code,
// 10000 no password, 10001 the front panel disabled.
class tcFpPasswdDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kNoPassword = 10000;
    static constexpr int kDisabled = 10001;

    explicit tcFpPasswdDlg(int value, QWidget *parent = nullptr);

    int value() const { return m_value; } // once accepted

public slots:
    void on_okay_clicked();
    void on_cancel_clicked() { reject(); }

private:
    void follow();

    QRadioButton *m_password, *m_none, *m_disable;
    QLineEdit *m_edit;
    int m_value;
};
