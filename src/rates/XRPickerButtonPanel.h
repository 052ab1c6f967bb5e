#pragma once

#include <QWidget>

class QPushButton;

// The strip at the top of the picker panel, with its "Done" button at the right.
class XRPickerButtonPanel : public QWidget
{
    Q_OBJECT
public:
    static constexpr QRect stripFrame{0, 0, 320, 45};

    // Makes the strip at the top of the panel and builds it.
    static XRPickerButtonPanel *initForPicker(QWidget *panel);
    // Makes the strip with the given frame and builds it.
    XRPickerButtonPanel(const QRect &frame, QWidget *parent);

    QPushButton *doneButton() const { return m_doneButton; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void setupGUI();

    QPixmap m_pattern;
    QPushButton *m_doneButton = nullptr;
};
