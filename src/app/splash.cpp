#include "app/splash.h"

#include "app/version.h"

#include <QKeyEvent>
#include <QPainter>

tcSplash::tcSplash(const QPixmap &pixmap, Qt::WindowFlags flags) : QSplashScreen(pixmap, flags) {}

QString tcSplash::versionText()
{
    return QString::asprintf("Version: %d.%d.%d\tBuilt: %s, %s\n", ORBA_VERSION_MAJOR, ORBA_VERSION_MINOR,
                             ORBA_VERSION_BUILD, ORBA_BUILD_DATE, ORBA_BUILD_TIME);
}

QFont tcSplash::nameFont() const
{
    return QFont(QStringLiteral("Arial"), m_nameFontSize, QFont::Bold);
}

QFont tcSplash::versionFont() const
{
    return QFont(QStringLiteral("Arial"), m_versionFontSize, QFont::Normal);
}

void tcSplash::drawContents(QPainter *painter)
{
    QSplashScreen::drawContents(painter);
    const int w = pixmap().width() - 1;
    painter->setPen(QColor(0, 128, 255));

    painter->setFont(nameFont());
    painter->drawText(QRect(0, m_nameOffset + 50, w, 49), Qt::AlignHCenter | Qt::AlignTop,
                      QStringLiteral("ORBA"));

    painter->setFont(versionFont());
    QString text = versionText();
    text.replace(QLatin1Char('\t'), QLatin1String("    "));
    painter->drawText(QRect(0, m_versionOffset + 50, w, 49), Qt::AlignHCenter | Qt::AlignTop, text.trimmed());
}

void tcSplash::mousePressEvent(QMouseEvent *)
{
    // Only the About box is clickable; the start-up splash finishes with the window.
    close();
}

void tcSplash::keyPressEvent(QKeyEvent *event)
{
    // Esc closes the About box as it closes a dialog.
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QSplashScreen::keyPressEvent(event);
}
