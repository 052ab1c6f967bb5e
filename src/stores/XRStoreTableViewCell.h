#pragma once

#include "XRTableView.h"

#include <QColor>

class QPushButton;

// One store of the store list: name, distance, address, opening events, the
// telephone numbers with a call button, and the default-store mark.
class XRStoreTableViewCell : public XRTableViewCell
{
    Q_OBJECT
public:
    static constexpr int rowHeight = 127;
    static inline const QString reuseIdentifier = QStringLiteral("myShopIdentifier");
    static inline const QString defaultStoreImage = QStringLiteral(":/images/fyrkant_black.png");
    static inline const QString otherStoreImage = QStringLiteral(":/images/fyrkant_gray.png");

    static XRStoreTableViewCell *cell();

    QColor darkLineColor() const { return m_darkLineColor; }
    QLabel *distanceLabel() const { return m_distanceLabel; }
    QLabel *nameLabel() const { return m_nameLabel; }
    QLabel *detailLabel() const { return m_detailLabel; }
    QLabel *eventsLabel() const { return m_eventsLabel; }
    QLabel *phoneLabel() const { return m_phoneLabel; }
    QLabel *phonealtLabel() const { return m_phonealtLabel; }
    QPushButton *callButton() const { return m_callButton; }
    QPushButton *defaultButton() const { return m_defaultButton; }

    QString fullNameString() const { return m_fullNameString; }
    void setFullNameString(const QString &name) { m_fullNameString = name; }
    QString cityNameString() const { return m_cityNameString; }
    void setCityNameString(const QString &city) { m_cityNameString = city; }
    QString IDString() const { return m_IDString; }
    void setIDString(const QString &id) { m_IDString = id; }
    QString phoneString() const { return m_phoneString; }

    void setDistance(double metres);
    void setPhoneString(const QString &number);
    void setPhonealtString(const QString &number);
    // Shows the black mark for the default store, the grey one for the others.
    void setDefaultMark(bool isDefault);

    void call();
    void setDefault();

    void setHighlighted(bool highlighted, bool animated) override;
    void setSelected(bool selected, bool animated) override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    XRStoreTableViewCell();
    void applyTextColours();

    QColor m_darkLineColor;
    QLabel *m_distanceLabel;
    QLabel *m_nameLabel;
    QLabel *m_detailLabel;
    QLabel *m_eventsLabel;
    QLabel *m_phoneLabel;
    QLabel *m_phonealtLabel;
    QPushButton *m_callButton;
    QPushButton *m_defaultButton;
    QString m_fullNameString;
    QString m_cityNameString;
    QString m_IDString;
    QString m_phoneString;
};
