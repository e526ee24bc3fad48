// tcSkinDlg: chooses the skin to use next, a folder or a packed ".skin" file of the skins folder,
// and converts between the two: packing runs the SkinPacker program, unpacking is done here.
#pragma once

#include "skin/skin_pack.h"

#include <QDialog>
#include <QDir>
#include <QString>

class QListWidget;
class QPushButton;

class tcSkinDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kPackerTimeoutMs = 10000;

    tcSkinDlg(QWidget *parent, const QDir &skinsFolder);

    QString chosenName() const { return m_chosenName; }
    int chosenKind() const { return m_chosenKind; } // 0 folder, 1 packed file
    QListWidget *listWidget() const { return m_list; }

    // Unpacks a ".skin" file into an existing folder; failures are shown under "Pack Skin Error".
    // Returns true when every entry was written.
    static bool unpackSkin(const QString &file, const QString &targetFolder, QWidget *parent = nullptr);
    // Removes everything inside the folder, then the folder itself; a folder that is a link is
    // left alone.
    static bool removeFolder(const QString &folder);
    // The packer program: "SkinPacker" with the platform's suffix, in the current folder.
    static QString packerPath();

public slots:
    void slot_folder_click();
    void slot_file_click();
    void slot_pack_click();
    void slot_unpack_click();
    void accept() override;

private:
    void fillList();
    bool runPacker(const QString &folderName);

    QDir m_skins;
    int m_mode = 0;
    QString m_chosenName;
    int m_chosenKind = 0;
    QListWidget *m_list;
    QPushButton *m_packButton, *m_unpackButton, *m_fileButton, *m_folderButton, *m_okButton, *m_cancelButton;
};
