// "Login Password": asks for the processor's login password when it refuses a connection (login
// mode), or for the current and a new password when the user changes it (change mode). Only the
// password's CRC-32 ever leaves the application.
#pragma once

#include <QDialog>

#include <cstdint>

class QCheckBox;
class QLabel;
class QLineEdit;

class tcPswdEntryDlg : public QDialog
{
    Q_OBJECT
public:
    enum Mode { Login, Change };
    // currentCrc: the processor's password CRC, checked in change mode.
    tcPswdEntryDlg(Mode mode, uint32_t currentCrc = 0, QWidget *parent = nullptr);

    uint32_t passwordCrc() const;    // CRC-32 of "Password:"
    uint32_t newPasswordCrc() const; // CRC-32 of "New Password:" (change mode)
    bool remember() const;

    static uint32_t crcOf(const QString &text);

public slots:
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    Mode m_mode;
    uint32_t m_currentCrc;
    QLineEdit *m_password, *m_new, *m_verify;
    QCheckBox *m_remember;
};
