#pragma once

#include <QWidget>

class QLabel;
class XRActivityIndicatorView;

// The small dark panel with a spinner and "Loading data..." shown over the
// window while a download the user waits for runs.
class XRLoadingSplashView : public QWidget
{
    Q_OBJECT
public:
    explicit XRLoadingSplashView(const QRect &frame, QWidget *parent = nullptr);

    QLabel *loadingMessage() const { return m_loadingMessage; }
    void setLoadingMessage(const QString &text);
    XRActivityIndicatorView *activityView() const { return m_activityView; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *m_loadingMessage;
    XRActivityIndicatorView *m_activityView;
};
