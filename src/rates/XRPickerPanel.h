#pragma once

#include "XRPickerView.h"

#include <QWidget>

class XRPickerButtonPanel;

// The screen that owns a picker panel: the wheel's data source and delegate,
// and the one who hides the panel when "Done" is pressed.
class XRPickerPanelOwner : public XRPickerViewDataSource, public XRPickerViewDelegate
{
public:
    virtual void dismissPicker() = 0;
};

// The slide-up currency panel: a strip with a "Done" button over a one-column
// wheel. It holds no data; the wheel asks its owner.
class XRPickerPanel : public QWidget
{
    Q_OBJECT
public:
    // Made out of sight below the screen, in window coordinates.
    static constexpr QRect initialFrame{0, 536, 320, 261};

    explicit XRPickerPanel(QWidget *parent = nullptr);

    XRPickerPanelOwner *parentVC() const { return m_parentVC; }
    void setParentVC(XRPickerPanelOwner *owner) { m_parentVC = owner; }
    // Builds the contents; call once, after the owner is set.
    void setupGUI();

    XRPickerView *pickerView() const { return m_pickerView; }
    XRPickerButtonPanel *pickerButtonPanel() const { return m_pickerButtonPanel; }

protected:
    // Escape closes the panel as "Done" does.
    void keyPressEvent(QKeyEvent *event) override;

private:
    XRPickerPanelOwner *m_parentVC = nullptr;
    XRPickerView *m_pickerView = nullptr;
    XRPickerButtonPanel *m_pickerButtonPanel = nullptr;
};
