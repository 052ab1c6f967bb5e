#pragma once

#include <QAccessible>
#include <QStringList>
#include <QWidget>

namespace xr::test {

// Walks what a screen reader sees under the widget and lists every control
// that is shown but has no name, or that the keyboard cannot reach; empty
// when every control is usable.
inline QStringList accessibilityProblems(QWidget *root)
{
    static const QList<QAccessible::Role> controls = {
        QAccessible::PushButton, QAccessible::CheckBox, QAccessible::RadioButton, QAccessible::EditableText,
        QAccessible::ComboBox,   QAccessible::List,     QAccessible::PageTab,     QAccessible::SpinBox,
        QAccessible::Slider,     QAccessible::Table,    QAccessible::Link,        QAccessible::ButtonMenu};
    QStringList problems;
    const std::function<void(QAccessibleInterface *)> walk = [&](QAccessibleInterface *node) {
        if (!node || node->state().invisible)
            return;
        if (controls.contains(node->role())) {
            const QString what = node->object() ? node->object()->objectName() : QStringLiteral("?");
            if (node->text(QAccessible::Name).trimmed().isEmpty())
                problems << QStringLiteral("%1 (role %2) has no name").arg(what).arg(int(node->role()));
            if (!node->state().focusable && !node->state().disabled)
                problems << QStringLiteral("%1 (role %2) cannot be reached by keyboard").arg(what).arg(int(node->role()));
        }
        for (int i = 0; i < node->childCount(); ++i)
            walk(node->child(i));
    };
    walk(QAccessible::queryAccessibleInterface(root));
    return problems;
}

} // namespace xr::test
