#include "skin/skin_dlg.h"

#include "common/message.h"
#include "skin/skin_pack.h"

#include <QApplication>
#include <QDirIterator>
#include <QFileInfo>
#include <QGridLayout>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QSaveFile>
#include <QStyle>
#include <QVBoxLayout>

#ifndef ORBA_EXE_SUFFIX
#define ORBA_EXE_SUFFIX ""
#endif

namespace {
const QString kErrorTitle = QStringLiteral("Pack Skin Error");

bool confirm(QWidget *parent, const QString &title, const QString &text)
{
    orba::MessageRequest request;
    request.kind = orba::MessageKind::Question;
    request.parent = parent;
    request.title = title;
    request.text = text;
    request.buttons = orba::MsgOk | orba::MsgCancel;
    request.defaultButton = orba::MsgCancel;
    request.okText = QStringLiteral("Okay");
    return orba::showMessage(request) == orba::MsgOk;
}
} // namespace

tcSkinDlg::tcSkinDlg(QWidget *parent, const QDir &skinsFolder) : QDialog(parent), m_skins(skinsFolder)
{
    setWindowTitle(QStringLiteral("Choose Skin"));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("listWidget"));
    auto makeButton = [this](const char *name, const char *text) {
        auto *b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    m_packButton = makeButton("packButton", "Pack");
    m_unpackButton = makeButton("unpackButton", "Un-Pack");
    m_fileButton = makeButton("fileButton", "Show Files");
    m_folderButton = makeButton("folderButton", "Show Folders");
    m_okButton = makeButton("okButton", "OK");
    m_cancelButton = makeButton("cancelButton", "Cancel");
    m_okButton->setDefault(true);

    auto *buttons = new QGridLayout;
    buttons->addWidget(m_folderButton, 0, 0);
    buttons->addWidget(m_fileButton, 0, 1);
    buttons->addWidget(m_packButton, 1, 0);
    buttons->addWidget(m_unpackButton, 1, 1);
    buttons->addWidget(m_okButton, 2, 0);
    buttons->addWidget(m_cancelButton, 2, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);

    connect(m_folderButton, &QPushButton::clicked, this, &tcSkinDlg::slot_folder_click);
    connect(m_fileButton, &QPushButton::clicked, this, &tcSkinDlg::slot_file_click);
    connect(m_packButton, &QPushButton::clicked, this, &tcSkinDlg::slot_pack_click);
    connect(m_unpackButton, &QPushButton::clicked, this, &tcSkinDlg::slot_unpack_click);
    connect(m_okButton, &QPushButton::clicked, this, &tcSkinDlg::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &tcSkinDlg::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { accept(); });

    fillList();
    const auto rows = m_list->findItems(QStringLiteral("default"), Qt::MatchExactly);
    if (!rows.isEmpty())
        m_list->setCurrentItem(rows.first());
}

void tcSkinDlg::fillList()
{
    m_list->clear();
    m_skins.refresh();
    const QStringList names =
        m_mode == 0 ? m_skins.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)
                    : m_skins.entryList(QStringList{QStringLiteral("*.skin")}, QDir::Files, QDir::Name);
    m_list->addItems(names);
    if (QListWidgetItem *row = currentSkinRow()) {
        QFont bold = row->font();
        bold.setBold(true);
        row->setFont(bold);
        row->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
        row->setToolTip(QStringLiteral("The skin in use"));
    }
    refreshButtons();
}

void tcSkinDlg::refreshButtons()
{
    // Packing needs the packer and works on folders; unpacking works on packed files.
    m_packButton->setVisible(!packerPath().isEmpty());
    m_packButton->setEnabled(m_mode == 0);
    m_unpackButton->setEnabled(m_mode == 1);
}

void tcSkinDlg::setCurrentSkin(const QString &name, bool isFile)
{
    m_currentName = name;
    m_currentIsFile = isFile;
    if (name.isEmpty()) {
        fillList();
        return;
    }
    m_mode = isFile ? 1 : 0;
    fillList();
    if (QListWidgetItem *row = currentSkinRow())
        m_list->setCurrentItem(row);
}

QListWidgetItem *tcSkinDlg::currentSkinRow() const
{
    if (m_currentName.isEmpty() || m_currentIsFile != (m_mode == 1))
        return nullptr;
    QString text = m_currentName;
    if (m_currentIsFile && !text.endsWith(QStringLiteral(".skin"), Qt::CaseInsensitive))
        text += QStringLiteral(".skin");
    const auto rows = m_list->findItems(text, Qt::MatchFixedString);
    return rows.isEmpty() ? nullptr : rows.first();
}

void tcSkinDlg::slot_folder_click()
{
    m_mode = 0;
    fillList();
}

void tcSkinDlg::slot_file_click()
{
    m_mode = 1;
    fillList();
}

void tcSkinDlg::accept()
{
    QListWidgetItem *row = m_list->currentItem();
    if (!row || !row->isSelected())
        return;
    m_chosenName = row->text();
    m_chosenKind = m_mode;
    QDialog::accept();
}

QString tcSkinDlg::packerPath()
{
    const QString name = QStringLiteral("SkinPacker") + QStringLiteral(ORBA_EXE_SUFFIX);
    QStringList places{QDir::currentPath()};
    if (QCoreApplication::instance())
        places << QCoreApplication::applicationDirPath();
    for (const QString &place : places) {
        const QFileInfo packer(QDir(place).absoluteFilePath(name));
        if (packer.isFile() && packer.isExecutable())
            return packer.absoluteFilePath();
    }
    return QString();
}

void tcSkinDlg::slot_pack_click()
{
    QListWidgetItem *row = m_list->currentItem();
    if (m_mode != 0 || !row)
        return;
    const QString name = row->text();
    if (!confirm(this, QStringLiteral("Pack Skin"),
                 QStringLiteral("Are you sure\nYou will overwrite your existing \"") + name +
                     QStringLiteral(".skin\" file.")))
        return;
    if (!runPacker(name))
        orba::showMessage(orba::MessageKind::Warning, this, QStringLiteral("Error"),
                          QStringLiteral("Packing the skin \"%1\" failed. The packer's report is in "
                                         "\"%2\".")
                              .arg(name, resultsFileName()));
}

void tcSkinDlg::writeResults(const QByteArray &text)
{
    QSaveFile file(QDir::current().filePath(resultsFileName()));
    if (file.open(QIODevice::WriteOnly))
        file.write(text);
    file.commit();
}

bool tcSkinDlg::runPacker(const QString &folderName)
{
    const QString packer = packerPath();
    if (packer.isEmpty()) {
        writeResults(
            QStringLiteral("The packer \"SkinPacker%1\" was found neither in \"%2\" nor in \"%3\".\n")
                .arg(QStringLiteral(ORBA_EXE_SUFFIX), QDir::currentPath(),
                     QCoreApplication::applicationDirPath())
                .toUtf8());
        return false;
    }
    const QString folder = QFileInfo(m_skins.filePath(folderName)).absoluteFilePath();
    QStringList args{QStringLiteral("-p"), QStringLiteral("-d"), folder};
    const QString images = QDir(folder).filePath(QStringLiteral("../../skin_images"));
    if (QFileInfo(images).isDir())
        args << QStringLiteral("-i") << QDir::cleanPath(QFileInfo(images).absoluteFilePath());
    args << QStringLiteral("-f")
         << QFileInfo(m_skins.filePath(folderName + QStringLiteral(".skin"))).absoluteFilePath();

    // The report is written whatever happens, so the file the error box names always tells why.
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    QByteArray report = QStringLiteral("%1 %2\n").arg(packer, args.join(QLatin1Char(' '))).toUtf8();
    process.start(packer, args);
    if (!process.waitForStarted(kPackerTimeoutMs)) {
        writeResults(report +
                     QStringLiteral("The packer did not start: %1\n").arg(process.errorString()).toUtf8());
        return false;
    }
    const bool finished = process.waitForFinished(kPackerTimeoutMs);
    if (!finished) {
        process.kill();
        process.waitForFinished(1000);
    }
    report += process.readAll();
    if (!finished) {
        writeResults(report + QStringLiteral("The packer did not finish within %1 seconds and was stopped.\n")
                                  .arg(kPackerTimeoutMs / 1000)
                                  .toUtf8());
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        writeResults(report +
                     (process.exitStatus() != QProcess::NormalExit
                          ? QStringLiteral("The packer crashed.\n")
                          : QStringLiteral("The packer ended with exit code %1.\n").arg(process.exitCode()))
                         .toUtf8());
        return false;
    }
    writeResults(report);
    if (m_mode == 1)
        fillList();
    return true;
}

void tcSkinDlg::slot_unpack_click()
{
    QListWidgetItem *row = m_list->currentItem();
    if (m_mode != 1 || !row)
        return;
    const QString file = row->text();
    const QString name = QFileInfo(file).completeBaseName();
    if (!confirm(this, QStringLiteral("UnPack Skin"),
                 QStringLiteral("Are you sure\nYou will overwrite your existing \"") + name +
                     QStringLiteral("\" folder.")))
        return;
    m_skins.mkpath(name);
    unpackSkin(m_skins.filePath(file), m_skins.filePath(name), this);
}

bool tcSkinDlg::unpackSkin(const QString &file, const QString &targetFolder, QWidget *parent)
{
    using orba::skin::UnpackStatus;
    const orba::skin::UnpackResult result = orba::skin::unpackSkinFile(file, targetFolder);
    QString text;
    switch (result.status) {
    case UnpackStatus::Ok:
    case UnpackStatus::Truncated: // the complete entries before the break stand
        return result.status == UnpackStatus::Ok;
    case UnpackStatus::NoTarget:
        text = QStringLiteral("Failed attempting to create temporary skin directory");
        break;
    case UnpackStatus::BadFile:
        text = QStringLiteral("Failed attempting to unpack skin \"%1\"").arg(file);
        break;
    case UnpackStatus::UnsafeName:
        text = QStringLiteral(
                   "Refused to unpack \"%1\" from skin \"%2\": the name leads outside the skin folder.")
                   .arg(result.entry, file);
        break;
    case UnpackStatus::WriteFailed:
        text = QStringLiteral("Failed attempting to write \"%1\" while unpacking skin \"%2\"")
                   .arg(result.entry, file);
        break;
    case UnpackStatus::TooManyEntries:
        text = QStringLiteral("Refused to unpack skin \"%1\": it holds more than %2 files.")
                   .arg(file)
                   .arg(orba::skin::kMaxPackEntries);
        break;
    case UnpackStatus::TooLarge:
        text = QStringLiteral("Refused to unpack skin \"%1\": it is larger than %2 MB.")
                   .arg(file)
                   .arg(orba::skin::kMaxPackBytes / (1024 * 1024));
        break;
    case UnpackStatus::Link:
        text = QStringLiteral("Refused to unpack skin \"%1\": \"%2\" is a link, and unpacking never "
                              "writes through a link.")
                   .arg(file, result.entry);
        break;
    }
    orba::showMessage(orba::MessageKind::Warning, parent, kErrorTitle, text);
    return false;
}

bool tcSkinDlg::removeFolder(const QString &folder)
{
    // Links, the folder itself included, are never followed: a linked folder's files are not ours.
    if (QFileInfo(folder).isSymLink())
        return false;
    QDir dir(folder);
    return dir.exists() && dir.removeRecursively();
}
