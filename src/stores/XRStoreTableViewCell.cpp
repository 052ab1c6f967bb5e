#include "XRStoreTableViewCell.h"

#include "XRApplication.h"
#include "XRImage.h"
#include "XRLocalizedString.h"
#include "XRNotificationCenter.h"
#include "XRNotifications.h"
#include "XRStoreRowText.h"
#include "XRUserDefaults.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace {

const QColor secondaryTextColour = QColor::fromRgbF(0.2f, 0.2f, 0.2f, 1.0f);

QLabel *makeLabel(QWidget *parent, const char *name, int pixelSize, bool bold = false)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

void setTextColour(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

} // namespace

XRStoreTableViewCell *XRStoreTableViewCell::cell()
{
    return new XRStoreTableViewCell;
}

XRStoreTableViewCell::XRStoreTableViewCell()
    : XRTableViewCell(reuseIdentifier)
    , m_darkLineColor(QColor::fromRgbF(0.71f, 0.57f, 0.03f, 1.0f))
    , m_distanceLabel(makeLabel(this, "distanceLabel", 12))
    , m_nameLabel(makeLabel(this, "nameLabel", 15, true))
    , m_detailLabel(makeLabel(this, "detailLabel", 11))
    , m_eventsLabel(makeLabel(this, "eventsLabel", 11))
    , m_phoneLabel(makeLabel(this, "phoneLabel", 12))
    , m_phonealtLabel(makeLabel(this, "phonealtLabel", 12))
    , m_callButton(new QPushButton(this))
    , m_defaultButton(new QPushButton(this))
{
    setObjectName(QStringLiteral("storeCell"));
    m_distanceLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_detailLabel->setWordWrap(true);
    m_detailLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_eventsLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_callButton->setObjectName(QStringLiteral("callButton"));
    m_callButton->setFocusPolicy(Qt::TabFocus);
    m_callButton->setStyleSheet(QStringLiteral(
        "QPushButton { font-size: 12px; font-weight: bold; color: #1d3d6e; background: #f3f5f9; text-align: left;"
        " border: 1px solid #8a9ab5; border-radius: 5px; padding: 0 4px; }"
        "QPushButton:pressed { background: #c9d3e6; }"));
    connect(m_callButton, &QPushButton::clicked, this, &XRStoreTableViewCell::call);

    m_defaultButton->setObjectName(QStringLiteral("defaultButton"));
    m_defaultButton->setFocusPolicy(Qt::TabFocus);
    m_defaultButton->setFlat(true);
    m_defaultButton->setToolTip(XRLocalizedString("Make default store"));
    m_defaultButton->setAccessibleName(m_defaultButton->toolTip());
    m_defaultButton->setIconSize(QSize(22, 22));
    m_defaultButton->setStyleSheet(QStringLiteral("QPushButton { border: none; background: transparent; }"));
    connect(m_defaultButton, &QPushButton::clicked, this, &XRStoreTableViewCell::setDefault);
    setDefaultMark(false);
    applyTextColours();
}

void XRStoreTableViewCell::resizeEvent(QResizeEvent *event)
{
    XRTableViewCell::resizeEvent(event);
    const QRect room = contentRect();
    const int left = room.left() + 10;
    const int right = room.right() - 4;
    m_nameLabel->setGeometry(left, 5, right - left - 70, 20);
    m_distanceLabel->setGeometry(right - 68, 5, 68, 20);
    m_detailLabel->setGeometry(left, 25, right - left - 34, 28);
    m_defaultButton->setGeometry(right - 28, 27, 28, 28);
    m_eventsLabel->setGeometry(left, 54, right - left, 44);
    m_callButton->setGeometry(left, 100, 140, 22);
    m_phoneLabel->setGeometry(left, 100, 140, 22);
    m_phonealtLabel->setGeometry(left + 148, 100, right - left - 148, 22);
}

void XRStoreTableViewCell::setDistance(double metres)
{
    m_distanceLabel->setText(xr::storeDistanceText(metres));
}

void XRStoreTableViewCell::setPhoneString(const QString &number)
{
    m_phoneString = number;
    m_callButton->setText(QStringLiteral("  %1").arg(number));
    const bool canCall = !number.isEmpty() && XRApplication::sharedApplication().canOpenURL(xr::telephoneURL(number));
    m_callButton->setVisible(canCall);
    m_phoneLabel->setVisible(!canCall);
    m_phoneLabel->setText(canCall ? QString() : number);
}

void XRStoreTableViewCell::setPhonealtString(const QString &number)
{
    m_phonealtLabel->setText(number);
    m_phonealtLabel->setHidden(number.isEmpty());
}

void XRStoreTableViewCell::setDefaultMark(bool isDefault)
{
    m_defaultButton->setIcon(xr::pngIcon(isDefault ? defaultStoreImage : otherStoreImage));
    m_defaultButton->setProperty("isDefault", isDefault);
}

void XRStoreTableViewCell::call()
{
    XRApplication::sharedApplication().openURL(xr::telephoneURL(m_phoneString));
}

void XRStoreTableViewCell::setDefault()
{
    XRUserDefaults &defaults = XRUserDefaults::standardUserDefaults();
    if (defaults.stringForKey(QStringLiteral("XRDefaultStore")) == m_IDString)
        return;
    defaults.setObject(m_IDString, QStringLiteral("XRDefaultStore"));
    defaults.setObject(m_fullNameString, QStringLiteral("XRDefaultStoreName"));
    defaults.setObject(m_cityNameString, QStringLiteral("XRDefaultStoreCity"));
    defaults.synchronize();
    setDefaultMark(true);
    XRNotificationCenter::defaultCenter().postNotificationName(XRDefaultStoreSelected, m_IDString);
}

void XRStoreTableViewCell::setHighlighted(bool highlighted, bool animated)
{
    XRTableViewCell::setHighlighted(highlighted, animated);
    applyTextColours();
}

void XRStoreTableViewCell::setSelected(bool selected, bool animated)
{
    XRTableViewCell::setSelected(selected, animated);
    applyTextColours();
}

void XRStoreTableViewCell::applyTextColours()
{
    // A selected row lies on the same highlight as a pressed one.
    const bool highlighted = isHighlighted() || isSelected();
    const QColor primary = highlighted ? QColor(Qt::white) : QColor(Qt::black);
    const QColor secondary = highlighted ? QColor(Qt::white) : secondaryTextColour;
    setTextColour(m_distanceLabel, primary);
    setTextColour(m_nameLabel, primary);
    setTextColour(m_detailLabel, secondary);
    setTextColour(m_eventsLabel, secondary);
    setTextColour(m_phoneLabel, secondary);
    setTextColour(m_phonealtLabel, secondary);
}

void XRStoreTableViewCell::paintEvent(QPaintEvent *event)
{
    XRTableViewCell::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QPen(m_darkLineColor, 1));
    const int y = height() - 1;
    painter.drawLine(0, y, width(), y);
}
