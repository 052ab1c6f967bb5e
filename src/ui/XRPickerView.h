#pragma once

#include <QString>
#include <QWidget>

class QListWidget;
class XRPickerView;

class XRPickerViewDataSource
{
public:
    virtual ~XRPickerViewDataSource() = default;
    virtual int numberOfComponentsInPickerView(XRPickerView *pickerView) = 0;
    virtual int pickerViewNumberOfRowsInComponent(XRPickerView *pickerView, int component) = 0;
};

class XRPickerViewDelegate
{
public:
    virtual ~XRPickerViewDelegate() = default;
    virtual QString pickerViewTitleForRowForComponent(XRPickerView *pickerView, int row, int component) = 0;
    virtual void pickerViewDidSelectRowInComponent(XRPickerView *pickerView, int row, int component) = 0;
};

// A selection wheel of one column: rows with titles, the chosen one
// highlighted. Only a choice the user makes is reported to the delegate: a
// click on a row, or a turn of the mouse wheel, which moves the highlight one
// row per step as a phone's wheel does.
class XRPickerView : public QWidget
{
    Q_OBJECT
public:
    static constexpr QSize defaultSize{320, 216};

    explicit XRPickerView(QWidget *parent = nullptr);

    void setDataSource(XRPickerViewDataSource *dataSource) { m_dataSource = dataSource; }
    void setDelegate(XRPickerViewDelegate *delegate) { m_delegate = delegate; }
    void setShowsSelectionIndicator(bool shows);

    void reloadAllComponents();
    int numberOfRowsInComponent(int component) const;
    void selectRowInComponent(int row, int component, bool animated);
    int selectedRowInComponent(int component) const;
    // The row's title as shown, for tests.
    QString titleForRow(int row) const;
    // Chooses a row as the user does: it is selected and the delegate is told.
    void chooseRow(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void turn(int angleDelta);

    XRPickerViewDataSource *m_dataSource = nullptr;
    XRPickerViewDelegate *m_delegate = nullptr;
    QListWidget *m_list;
    // Rows set from code are not the user's choice.
    bool m_settingRow = false;
    // Wheel angle not yet turned into a row (touchpads send small steps).
    int m_pendingAngle = 0;
};
