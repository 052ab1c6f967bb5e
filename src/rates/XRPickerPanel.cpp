#include "XRPickerPanel.h"

#include "XRPickerButtonPanel.h"

#include <QKeyEvent>
#include <QPushButton>

XRPickerPanel::XRPickerPanel(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("pickerPanel"));
    setGeometry(initialFrame);
}

void XRPickerPanel::setupGUI()
{
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);

    m_pickerButtonPanel = XRPickerButtonPanel::initForPicker(this);
    connect(m_pickerButtonPanel->doneButton(), &QPushButton::clicked, this, [this] {
        if (m_parentVC)
            m_parentVC->dismissPicker();
    });

    m_pickerView = new XRPickerView(this);
    m_pickerView->move(0, 45);
    m_pickerView->setDataSource(m_parentVC);
    m_pickerView->setDelegate(m_parentVC);
    m_pickerView->setShowsSelectionIndicator(true);
    m_pickerView->reloadAllComponents();
}

void XRPickerPanel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && m_parentVC)
        m_parentVC->dismissPicker();
    else
        QWidget::keyPressEvent(event);
}
