#include "app/kel_widget.h"

KelWidget::KelWidget(const orba::SessionOptions &options, QWidget *parent) : tcApWidget(true, options, parent)
{
    resize(1100, 720);
    loadStartSkin();
    // A skin brings its own title strip, window buttons and border; without one the window keeps the
    // desktop's frame so that it can still be moved and closed.
    if (skinLoaded())
        setWindowFlag(Qt::FramelessWindowHint);
    slot_centerMenu();
}

KelWidget::~KelWidget()
{
    // Stop the link's threads before any part of the window is gone.
    teardown();
}
