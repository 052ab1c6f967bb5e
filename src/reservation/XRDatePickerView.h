#pragma once

#include <QDateTime>
#include <QPointer>
#include <QTime>
#include <QWidget>

#include <functional>

class QCalendarWidget;
class QGraphicsOpacityEffect;
class QPropertyAnimation;
class QPushButton;
class XRDatePickerView;

class XRDaterPickerViewDelegate
{
public:
    virtual ~XRDaterPickerViewDelegate() = default;
    virtual void datePickerViewDidPickDate(XRDatePickerView *datePickerView, const QDateTime &date) = 0;
    virtual void datePickerViewdidCancel(XRDatePickerView *datePickerView) = 0;
};

// The panel with which the customer chooses the collection date. It lies over
// the whole host view, waits just below it, and slides up when shown: a dimmed
// strip that cancels when clicked, a bar with Cancel and Done, and a calendar
// that starts on, and offers nothing before, the earliest collection date.
// Out of sight it is hidden. While shown it keeps the keyboard: Tab stays in
// it, Return on a day chooses it as Done does, Escape cancels.
class XRDatePickerView : public QWidget
{
    Q_OBJECT
public:
    static constexpr int stripHeight = 151;
    static constexpr int toolbarHeight = 49;
    static constexpr int slideMilliseconds = 400;
    static constexpr int dimMilliseconds = 200;

    // The panel for a host view, which is read for its size only: the caller
    // adds the panel to it. The clock gives the moment the earliest date counts from.
    XRDatePickerView(QWidget *view, XRDaterPickerViewDelegate *delegate,
                     const std::function<QDateTime()> &clock = &QDateTime::currentDateTime);

    // Slides the panel up over the host view, then dims the strip.
    void show();
    // Undims the strip, then slides the panel down out of sight.
    void hide();
    void cancelAction();
    void doneAction();

    // The calendar's date at the time of day of the earliest date, moved off the weekend.
    QDateTime pickedDate() const;

    QCalendarWidget *datePicker() const { return m_datePicker; }
    QPushButton *bgView() const { return m_bgView; }
    qreal bgViewAlpha() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void showSecond();
    void hideSecond();
    void slide(int y, const std::function<void()> &then);
    void dim(qreal alpha, const std::function<void()> &then);

    XRDaterPickerViewDelegate *m_delegate;
    QPushButton *m_bgView;
    QGraphicsOpacityEffect *m_dimming;
    QCalendarWidget *m_datePicker;
    QTime m_timeOfDay;
    QPointer<QPropertyAnimation> m_animation;
    // Where the keyboard was before the panel came, and goes back to.
    QPointer<QWidget> m_focusBefore;
};
