// KelWidget: the product's main window: the skin chosen at start-up, and the window frame that
// goes with it.
#pragma once

#include "app/ap_widget.h"

class KelWidget : public tcApWidget
{
    Q_OBJECT
public:
    explicit KelWidget(const orba::SessionOptions &options = {}, QWidget *parent = nullptr);
    ~KelWidget() override;
};
