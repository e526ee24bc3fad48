// KelWidget: the product's main window: the skin choice at start-up, sending changed parameters
// and refreshing the surface from them.
#pragma once

#include "app/ap_widget.h"

class KelWidget : public tcApWidget
{
    Q_OBJECT
public:
    explicit KelWidget(QWidget *parent = nullptr);
    ~KelWidget() override;

public slots:
    void slot_map_settings_dirty() override;
    void slot_map_globals_dirty() override;

protected:
    void refreshGuiSettings() override;
    void refreshGuiGlobals() override;
    void fpPasswordDialog() override;
};
