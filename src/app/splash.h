// Splash screen shown during start-up and as the About box: the product word and the version over
// the splash picture.
#pragma once

#include <QFont>
#include <QSplashScreen>

class tcSplash : public QSplashScreen
{
    Q_OBJECT
public:
    tcSplash(const QPixmap &pixmap, Qt::WindowFlags flags = {});

    static QString versionText();
    // "ORBA" in bold, the version line in normal weight.
    QFont nameFont() const;
    QFont versionFont() const;

protected:
    void drawContents(QPainter *painter) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int m_nameFontSize = 11;
    int m_versionFontSize = 8;
    int m_nameOffset = 8;
    int m_versionOffset = 26;
};
