// tcPresetSaveDlg: asks for the name (and in mode 0 the slot) a preset is saved under. Mode 0 saves
// into a processor slot: the slot number runs from 1 to 80 and each choice proposes the slot's
// name, or "PSET %03d" for an empty slot. Mode 1 saves into a favourites folder: no slot. OK
// applies the save name rules; a refusal is told and the dialog stays open on the name.
#pragma once

#include "link/records.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QSpinBox;

class tcPresetSaveDlg : public QDialog
{
    Q_OBJECT
public:
    enum Mode { ProcessorSlot = 0, Favorites = 1 };

    // slotList: the processor's slots (mode 0); selectedSlot 0-79.
    tcPresetSaveDlg(int mode, const PresetSlotList *slotList, int selectedSlot, QWidget *parent = nullptr);

    int mode() const { return m_mode; }
    int slotNumber() const; // 1-80
    QString name() const;   // the name field's text
    void setName(const QString &name);

    // The name proposed for a slot: its name when in use, else "PSET %03d" with its number.
    static QString proposedName(const PresetSlotList &slotList, int slot);

public slots:
    void slot_IndexChanged(int number);
    void OkClicked();

private:
    int m_mode;
    const PresetSlotList *m_slotList;
    QLineEdit *m_nameEdit = nullptr;
    QLabel *m_slotLabel = nullptr;
    QSpinBox *m_slotSpin = nullptr;
};
