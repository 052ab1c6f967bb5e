#include "XRPickerButtonPanel.h"

#include "XRImage.h"
#include "XRLocalizedString.h"

#include <QPainter>
#include <QPixmap>
#include <QPushButton>

XRPickerButtonPanel *XRPickerButtonPanel::initForPicker(QWidget *panel)
{
    return new XRPickerButtonPanel(stripFrame, panel);
}

XRPickerButtonPanel::XRPickerButtonPanel(const QRect &frame, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("pickerButtonPanel"));
    setGeometry(frame);
    setupGUI();
}

void XRPickerButtonPanel::setupGUI()
{
    m_pattern = xr::pngPixmap(QStringLiteral(":/images/pickerButtonPanelPattern.png"));
    // The button takes its size from its picture; without one it has none.
    const QPixmap image = xr::pngPixmap(QStringLiteral(":/images/buttonBlackSmall.png"));
    m_doneButton = new QPushButton(this);
    m_doneButton->setObjectName(QStringLiteral("doneButton"));
    m_doneButton->setGeometry(width() - image.width() - 5, 8, image.width(), image.height());
    QFont font(QStringLiteral("Helvetica"));
    font.setBold(true);
    font.setPixelSize(14);
    m_doneButton->setFont(font);
    m_doneButton->setText(XRLocalizedString("Done"));
    m_doneButton->setFlat(true);
    m_doneButton->setStyleSheet(QStringLiteral("QPushButton { color: white; border: none;"
                                               " border-image: url(:/images/buttonBlackSmall.png); }"
                                               "QPushButton:pressed { color: #aac; }"));
}

void XRPickerButtonPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_pattern.isNull())
        painter.drawTiledPixmap(rect(), m_pattern);
}
