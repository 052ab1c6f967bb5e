#pragma once

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QRegularExpression>
#include <QStringList>
#include <QWidget>

#include <functional>

namespace xr::test {

// Walks what a screen reader sees under the widget and lists every control
// that is shown but has no name, is named by an untranslated key, cannot be
// reached by the keyboard or lies outside the widget (rows scrolled out of a
// list aside); empty when every control is usable.
inline QStringList accessibilityProblems(QWidget *root)
{
    static const QList<QAccessible::Role> controls = {
        QAccessible::PushButton, QAccessible::CheckBox, QAccessible::RadioButton, QAccessible::EditableText,
        QAccessible::ComboBox,   QAccessible::List,     QAccessible::PageTab,     QAccessible::SpinBox,
        QAccessible::Slider,     QAccessible::Table,    QAccessible::Link,        QAccessible::ButtonMenu};
    // Text keys are run-together words ("PersonalIDSample") or carry the prefix.
    static const QRegularExpression textKey(QStringLiteral("^(XR\\w+|[A-Z][a-z]+([A-Z][a-z]*)+)$"));
    QAccessibleInterface *top = QAccessible::queryAccessibleInterface(root);
    const QRect bounds = top->rect();
    QStringList problems;
    const std::function<void(QAccessibleInterface *, bool)> walk = [&](QAccessibleInterface *node, bool scrolled) {
        if (!node || node->state().invisible)
            return;
        if (controls.contains(node->role())) {
            const QString what = QStringLiteral("%1 (role %2)")
                                     .arg(node->object() ? node->object()->objectName() : QStringLiteral("?"))
                                     .arg(int(node->role()));
            const QString name = node->text(QAccessible::Name).trimmed();
            if (name.isEmpty())
                problems << what + QStringLiteral(" has no name");
            else if (textKey.match(name).hasMatch())
                problems << what + QStringLiteral(" is named by the untranslated key ") + name;
            if (!node->state().focusable && !node->state().disabled)
                problems << what + QStringLiteral(" cannot be reached by keyboard");
            if (!scrolled && !bounds.intersects(node->rect()))
                problems << what + QStringLiteral(" lies outside the window");
        }
        scrolled = scrolled || qobject_cast<QAbstractScrollArea *>(node->object());
        for (int i = 0; i < node->childCount(); ++i)
            walk(node->child(i), scrolled);
    };
    walk(top, false);
    return problems;
}

} // namespace xr::test
