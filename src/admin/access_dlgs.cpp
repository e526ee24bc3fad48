#include "admin/access_dlgs.h"

#include "admin/dialog_place.h"
#include "common/crc32.h"
#include "common/message.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QLabel *buddyLabel(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

tcKeyboardExtension *keypadFor(QDialog *dialog)
{
    auto *pad = new tcKeyboardExtension(dialog);
    QObject::connect(pad, SIGNAL(sig_keypress(int)), dialog, SLOT(slot_keypress(int)));
    return pad;
}

} // namespace

tcKeyboardExtension::tcKeyboardExtension(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(4);
    auto add = [&](const char *name, const QString &text, int row, int column) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setFocusPolicy(Qt::NoFocus); // the code field keeps the focus and the cursor
        b->setMinimumSize(36, 28);
        b->setAutoRepeat(true);
        grid->addWidget(b, row, column);
    };
    const char *digits[] = {"pushButton_0", "pushButton_1", "pushButton_2", "pushButton_3", "pushButton_4",
                            "pushButton_5", "pushButton_6", "pushButton_7", "pushButton_8", "pushButton_9"};
    for (int d = 1; d <= 9; ++d)
        add(digits[d], QString::number(d), 2 - (d - 1) / 3, (d - 1) % 3);
    add(digits[0], QStringLiteral("0"), 3, 0);
    add("pushButton_DOT", QStringLiteral("."), 3, 1);
    add("pushButton_BKSP", QStringLiteral("BkSpace"), 3, 2);
    QMetaObject::connectSlotsByName(this);
}

namespace orba {

void postKeypress(QLineEdit *editor, int code)
{
    const int key = code == '.' ? Qt::Key_Period : code;
    const QString text = code == Qt::Key_Backspace ? QStringLiteral("\b") : QString(QChar(code));
    QCoreApplication::postEvent(editor, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
    QCoreApplication::postEvent(editor, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, text));
}

uint32_t accessCrc(const QString &text)
{
    const QByteArray bytes = text.toLatin1();
    return crc32(std::string_view(bytes.constData(), size_t(bytes.size())));
}

} // namespace orba

tcGuiLockCheckDlg::tcGuiLockCheckDlg(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("tcGuiLockCheckDlg"));
    setWindowTitle(QStringLiteral("Restricted Access Code Required"));
    orba::prepareDialog(this);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("codeEdit"));
    m_edit->setEchoMode(QLineEdit::Password);

    auto *row = new QHBoxLayout;
    row->addWidget(buddyLabel(QStringLiteral("Access Code:"), m_edit, this));
    row->addWidget(m_edit, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(keypadFor(this));
    layout->addLayout(orba::okCancelRow(this));
    setFixedSize(280, 205);
    m_edit->setFocus();
}

void tcGuiLockCheckDlg::slot_keypress(int code)
{
    orba::postKeypress(m_edit, code);
}

void tcGuiLockCheckDlg::accept()
{
    m_code = m_edit->text();
    QDialog::accept();
}

tcPasswordDlg::tcPasswordDlg(const QString &code, uint32_t bits, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("tcPasswordDlg"));
    setWindowTitle(QStringLiteral("GUI Access Code & Permissions"));
    orba::prepareDialog(this);

    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("codeEdit"));
    m_edit->setInputMask(QStringLiteral("0000000000"));
    m_edit->setText(code);
    m_edit->selectAll();

    auto box = [this](const char *name, const QString &text, uint32_t bit, uint32_t bits) {
        auto *b = new QCheckBox(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setChecked((bits & bit) != 0);
        return b;
    };
    m_paramBox = box("paramBox", QStringLiteral("Setting Changes"), 1, bits);
    m_takeBox = box("takeBox", QStringLiteral("Preset Takes"), 2, bits);
    m_saveBox = box("saveBox", QStringLiteral("Preset Saves"), 4, bits);
    m_screenBox = box("screenBox", QStringLiteral("Screen Changes"), 16, bits);
    m_meterBox = box("meterBox", QStringLiteral("Meter Views"), 32, bits);
    auto *group = new QGroupBox(QStringLiteral("Locked User Access: "), this);
    auto *boxes = new QVBoxLayout(group);
    for (QCheckBox *b : {m_paramBox, m_takeBox, m_saveBox, m_screenBox, m_meterBox})
        boxes->addWidget(b);

    auto *clear = new QPushButton(QStringLiteral("Clear Access Code"), this);
    clear->setObjectName(QStringLiteral("clearButton"));
    clear->setAutoDefault(false);

    auto *codeRow = new QHBoxLayout;
    codeRow->addWidget(buddyLabel(QStringLiteral("Access Code:"), m_edit, this));
    codeRow->addWidget(m_edit, 1);
    codeRow->addWidget(clear);
    auto *middle = new QHBoxLayout;
    middle->addWidget(group, 1);
    middle->addWidget(keypadFor(this));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(codeRow);
    layout->addLayout(middle);
    layout->addLayout(orba::okCancelRow(this));
    QMetaObject::connectSlotsByName(this);
    m_edit->setFocus();
}

QString tcPasswordDlg::codeText() const
{
    return m_edit->text().trimmed();
}

uint32_t tcPasswordDlg::bits() const
{
    uint32_t b = 0;
    b |= m_paramBox->isChecked() ? 1u : 0u;
    b |= m_takeBox->isChecked() ? 2u : 0u;
    b |= m_saveBox->isChecked() ? 4u : 0u;
    b |= m_screenBox->isChecked() ? 16u : 0u;
    b |= m_meterBox->isChecked() ? 32u : 0u;
    return b;
}

void tcPasswordDlg::on_clearButton_clicked()
{
    m_edit->clear();
    m_edit->setFocus();
}

void tcPasswordDlg::slot_keypress(int code)
{
    orba::postKeypress(m_edit, code);
}

void tcPasswordDlg::accept()
{
    QDialog::accept();
}

tcFpPasswdDlg::tcFpPasswdDlg(int value, QWidget *parent) : QDialog(parent), m_value(value)
{
    setObjectName(QStringLiteral("tcFpPasswdDlg"));
    setWindowTitle(QStringLiteral("Front Panel Password"));
    orba::prepareDialog(this);

    m_password = new QRadioButton(QStringLiteral("Password"), this);
    m_password->setObjectName(QStringLiteral("passwordRadio"));
    m_none = new QRadioButton(QStringLiteral("No Password Required"), this);
    m_none->setObjectName(QStringLiteral("nopasswdRadio"));
    m_disable = new QRadioButton(QStringLiteral("Disable Front Panel"), this);
    m_disable->setObjectName(QStringLiteral("disableRadio"));
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("pwEdit"));
    m_edit->setInputMask(QStringLiteral("9999;"));
    m_edit->setMaximumWidth(80);

    if (value == kNoPassword) {
        m_none->setChecked(true);
    } else if (value >= 0 && value <= 9999) {
        m_password->setChecked(true);
        m_edit->setText(QString::number(value));
    } else {
        m_disable->setChecked(true);
    }

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okay"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancel"));

    auto *grid = new QGridLayout;
    grid->addWidget(m_password, 0, 0);
    grid->addWidget(m_edit, 0, 1);
    grid->addWidget(m_none, 1, 0, 1, 2);
    grid->addWidget(m_disable, 2, 0, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    for (QRadioButton *r : {m_password, m_none, m_disable})
        connect(r, &QRadioButton::toggled, this, &tcFpPasswdDlg::follow);
    follow();
    QMetaObject::connectSlotsByName(this);
}

void tcFpPasswdDlg::follow()
{
    m_edit->setEnabled(m_password->isChecked());
}

void tcFpPasswdDlg::on_okay_clicked()
{
    if (m_disable->isChecked()) {
        m_value = kDisabled;
    } else if (m_none->isChecked()) {
        m_value = kNoPassword;
    } else {
        bool ok = false;
        const int code = m_edit->text().trimmed().toInt(&ok);
        if (!ok) { // an empty field is no code: 0 would be taken without the user typing it
            orba::showMessage(orba::MessageKind::Information, this, QStringLiteral("Front Panel Password"),
                              QStringLiteral("Please enter a code of up to four digits."));
            m_edit->setFocus();
            return;
        }
        m_value = code;
    }
    accept();
}
