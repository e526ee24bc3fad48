// tcSkinDlg: chooses the skin to use next, a folder or a packed ".skin" file of the skins folder,
// and converts between the two: packing runs the SkinPacker program, unpacking is done here.
#pragma once

#include "skin/skin_pack.h"

#include <QDialog>
#include <QDir>
#include <QString>

class QListWidget;
class QListWidgetItem;
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
    int listMode() const { return m_mode; }

    // The skin in use: its row is marked (bold, with a check) and selected, and the list shows its
    // kind (folders, or packed files). An empty name marks nothing.
    void setCurrentSkin(const QString &name, bool isFile);
    // The row of the skin in use in the list shown, or none.
    QListWidgetItem *currentSkinRow() const;

    // Unpacks a ".skin" file into an existing folder; failures are shown under "Pack Skin Error".
    // Returns true when every entry was written.
    static bool unpackSkin(const QString &file, const QString &targetFolder, QWidget *parent = nullptr);
    // Removes everything inside the folder, then the folder itself; a folder that is a link is
    // left alone.
    static bool removeFolder(const QString &folder);
    // The packer program: "SkinPacker" with the platform's suffix, in the current folder or else
    // beside the application; empty when neither holds one.
    static QString packerPath();
    // What a pack leaves in the current folder: the packer's output, or why it did not run.
    static QString resultsFileName() { return QStringLiteral("skin_packer_results.txt"); }

public slots:
    void slot_folder_click();
    void slot_file_click();
    void slot_pack_click();
    void slot_unpack_click();
    void accept() override;

private:
    void fillList();
    void refreshButtons();
    bool runPacker(const QString &folderName);
    static void writeResults(const QByteArray &text);

    QDir m_skins;
    int m_mode = 0;
    QString m_chosenName;
    int m_chosenKind = 0;
    QString m_currentName;
    bool m_currentIsFile = false;
    QListWidget *m_list;
    QPushButton *m_packButton, *m_unpackButton, *m_fileButton, *m_folderButton, *m_okButton, *m_cancelButton;
};
