#include "XRDatePickerView.h"

#include "XRCollectionDate.h"
#include "XRKeyboardFocus.h"
#include "XRLocalizedString.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QTextCharFormat>

namespace {
const char toolbarStyle[] = "QWidget#datePickerToolbar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
                            " stop:0 #555, stop:1 #111); }"
                            "QPushButton { color: white; font-size: 13px; font-weight: bold; background: #333;"
                            " border: 1px solid #000; border-radius: 5px; padding: 5px 12px; }"
                            "QPushButton#datePickerDone { background: #2f62c8; }"
                            "QPushButton:pressed { background: #222; }";
}

XRDatePickerView::XRDatePickerView(QWidget *view, XRDaterPickerViewDelegate *delegate,
                                   const std::function<QDateTime()> &clock)
    : m_delegate(delegate)
    , m_bgView(new QPushButton(this))
    , m_dimming(new QGraphicsOpacityEffect(m_bgView))
    , m_datePicker(new QCalendarWidget(this))
{
    setObjectName(QStringLiteral("datePickerView"));
    const int width = view->width();
    const int height = view->height();
    setGeometry(0, height, width, height);

    m_bgView->setObjectName(QStringLiteral("datePickerStrip"));
    m_bgView->setGeometry(0, 0, width, stripHeight);
    // A click on the strip leaves the focus where it is; Tab reaches it last.
    m_bgView->setFocusPolicy(Qt::TabFocus);
    m_bgView->setAccessibleName(XRLocalizedString("Close calendar"));
    m_bgView->setStyleSheet(QStringLiteral("background: black; border: none;"));
    m_dimming->setOpacity(0.0);
    m_bgView->setGraphicsEffect(m_dimming);
    connect(m_bgView, &QPushButton::clicked, this, &XRDatePickerView::cancelAction);

    auto *toolbar = new QWidget(this);
    toolbar->setObjectName(QStringLiteral("datePickerToolbar"));
    toolbar->setAttribute(Qt::WA_StyledBackground);
    toolbar->setStyleSheet(QString::fromLatin1(toolbarStyle));
    toolbar->setGeometry(0, stripHeight, width, toolbarHeight);
    auto *bar = new QHBoxLayout(toolbar);
    bar->setContentsMargins(6, 0, 6, 0);
    auto *cancel = new QPushButton(XRLocalizedString("Cancel"), toolbar);
    cancel->setObjectName(QStringLiteral("datePickerCancel"));
    auto *done = new QPushButton(XRLocalizedString("Done"), toolbar);
    done->setObjectName(QStringLiteral("datePickerDone"));
    bar->addWidget(cancel);
    bar->addStretch();
    bar->addWidget(done);
    connect(cancel, &QPushButton::clicked, this, &XRDatePickerView::cancelAction);
    connect(done, &QPushButton::clicked, this, &XRDatePickerView::doneAction);
    // Return or a double click on a day chooses it.
    connect(m_datePicker, &QCalendarWidget::activated, this, &XRDatePickerView::doneAction);

    // Days only: the time of day of the earliest date travels with whatever day is chosen.
    const QDateTime earliest = xr::earliestCollectionDate(clock());
    m_timeOfDay = earliest.time();
    m_datePicker->setObjectName(QStringLiteral("datePicker"));
    // Month and day names, and the first day of the week, of the screens' language.
    m_datePicker->setLocale(QLocale(xr::installedTranslationLanguage()));
    m_datePicker->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_datePicker->setGridVisible(true);
    m_datePicker->setMinimumDate(earliest.date());
    m_datePicker->setSelectedDate(earliest.date());
    // The days before the earliest cannot be chosen: they look it.
    QTextCharFormat unavailable;
    unavailable.setForeground(Qt::lightGray);
    for (QDate day = earliest.date().addDays(-42); day < earliest.date(); day = day.addDays(1))
        m_datePicker->setDateTextFormat(day, unavailable);
    m_datePicker->setAutoFillBackground(true);
    m_datePicker->setGeometry(0, stripHeight + toolbarHeight, width, height - stripHeight - toolbarHeight);
    m_datePicker->setAccessibleName(XRLocalizedString("Collection date"));
    // The calendar's own month buttons are named and reached by Tab too.
    const std::pair<const char *, const char *> parts[] = {{"qt_calendar_prevmonth", "Previous month"},
                                                           {"qt_calendar_nextmonth", "Next month"},
                                                           {"qt_calendar_monthbutton", nullptr},
                                                           {"qt_calendar_yearbutton", nullptr},
                                                           {"qt_calendar_calendarview", "Collection date"}};
    for (const auto &[objectName, key] : parts) {
        if (auto *part = m_datePicker->findChild<QWidget *>(QLatin1String(objectName))) {
            part->setFocusPolicy(Qt::StrongFocus);
            if (key)
                part->setAccessibleName(XRLocalizedString(key));
        }
    }
    setTabOrder(m_datePicker, cancel);
    setTabOrder(cancel, done);
    setTabOrder(done, m_bgView);
    QWidget::hide();
}

QDateTime XRDatePickerView::pickedDate() const
{
    return xr::collectionDateOffWeekend(QDateTime(m_datePicker->selectedDate(), m_timeOfDay));
}

qreal XRDatePickerView::bgViewAlpha() const
{
    return m_dimming->opacity();
}

void XRDatePickerView::show()
{
    m_focusBefore = QApplication::focusWidget();
    QWidget::show();
    raise();
    m_datePicker->setFocus();
    slide(0, [this] { showSecond(); });
}

void XRDatePickerView::showSecond()
{
    dim(0.5, {});
}

void XRDatePickerView::hide()
{
    dim(0.0, [this] { hideSecond(); });
}

void XRDatePickerView::hideSecond()
{
    slide(height(), [this] {
        QWidget::hide();
        if (m_focusBefore && m_focusBefore->isVisible())
            m_focusBefore->setFocus();
    });
}

void XRDatePickerView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        cancelAction();
    else
        QWidget::keyPressEvent(event);
}

bool XRDatePickerView::focusNextPrevChild(bool next)
{
    if (!isVisible())
        return QWidget::focusNextPrevChild(next);
    return xr::focusNextControlInside(this, next);
}

void XRDatePickerView::cancelAction()
{
    if (m_delegate)
        m_delegate->datePickerViewdidCancel(this);
}

void XRDatePickerView::doneAction()
{
    if (m_delegate)
        m_delegate->datePickerViewDidPickDate(this, pickedDate());
}

// One stage runs at a time: a new one stops the one running, and the stage
// that would have followed it, so that a quick Cancel never leaves the panel
// half-way or dims a panel on its way down.
void XRDatePickerView::slide(int y, const std::function<void()> &then)
{
    if (m_animation)
        m_animation->stop();
    auto *animation = new QPropertyAnimation(this, "pos", this);
    animation->setDuration(slideMilliseconds);
    animation->setEasingCurve(QEasingCurve::InOutQuad);
    animation->setEndValue(QPoint(0, y));
    if (then)
        connect(animation, &QPropertyAnimation::finished, this, then);
    m_animation = animation;
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void XRDatePickerView::dim(qreal alpha, const std::function<void()> &then)
{
    if (m_animation)
        m_animation->stop();
    auto *animation = new QPropertyAnimation(m_dimming, "opacity", this);
    animation->setDuration(dimMilliseconds);
    animation->setEasingCurve(QEasingCurve::InOutQuad);
    animation->setEndValue(alpha);
    if (then)
        connect(animation, &QPropertyAnimation::finished, this, then);
    m_animation = animation;
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}
