#include "XRCalloutView.h"

#include "XRAnnotationView.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int calloutHeight = 52;
constexpr int arrowHeight = 10;
constexpr int padding = 8;
constexpr int maximumTextWidth = 190;

} // namespace

XRCalloutView::XRCalloutView(XRAnnotationView *pin, QWidget *parent)
    : QWidget(parent)
    , m_title(new QLabel(pin->annotation().title(), this))
    , m_subtitle(new QLabel(pin->annotation().subtitle(), this))
{
    setObjectName(QStringLiteral("callout"));
    setAttribute(Qt::WA_TranslucentBackground);
    m_title->setObjectName(QStringLiteral("calloutTitle"));
    m_subtitle->setObjectName(QStringLiteral("calloutSubtitle"));
    QFont bold = m_title->font();
    bold.setPixelSize(14);
    bold.setBold(true);
    m_title->setFont(bold);
    QFont small = m_subtitle->font();
    small.setPixelSize(11);
    m_subtitle->setFont(small);
    m_title->setStyleSheet(QStringLiteral("color: black;"));
    m_subtitle->setStyleSheet(QStringLiteral("color: #333333;"));

    // Long names and addresses are cut with an ellipsis rather than widening
    // the bubble past the screen.
    const auto elided = [](QLabel *label) {
        label->setText(label->fontMetrics().elidedText(label->text(), Qt::ElideRight, maximumTextWidth));
        return label->sizeHint().width();
    };
    const int textWidth = std::max(elided(m_title), elided(m_subtitle));

    int x = padding;
    if (QWidget *left = pin->leftCalloutAccessoryView()) {
        left->setParent(this);
        left->move(x, (calloutHeight - left->height()) / 2);
        left->show();
        x += left->width() + padding;
    }
    m_title->setGeometry(x, 7, textWidth, 20);
    m_subtitle->setGeometry(x, 27, textWidth, 16);
    x += textWidth + padding;
    if (QWidget *right = pin->rightCalloutAccessoryView()) {
        right->setParent(this);
        right->move(x, (calloutHeight - right->height()) / 2);
        right->show();
        x += right->width() + padding;
    }
    resize(x, calloutHeight + arrowHeight);
}

QString XRCalloutView::title() const
{
    return m_title->text();
}

QString XRCalloutView::subtitle() const
{
    return m_subtitle->text();
}

void XRCalloutView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(0.5, 0.5, width() - 1.0, calloutHeight - 1.0), 8, 8);
    const double middle = width() / 2.0;
    QPainterPath arrow;
    arrow.moveTo(middle - arrowHeight, calloutHeight - 1.5);
    arrow.lineTo(middle, height() - 0.5);
    arrow.lineTo(middle + arrowHeight, calloutHeight - 1.5);
    arrow.closeSubpath();
    painter.setPen(QPen(QColor(0, 0, 0, 90), 1));
    painter.setBrush(QColor(255, 255, 255, 245));
    painter.drawPath(bubble.united(arrow));
}
