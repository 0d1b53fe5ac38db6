#include "widgets/accessibility.h"

#include "widgets/flatbutton.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QWidget>

namespace {

constexpr char kRoleProperty[] = "korvaneAccessibleRole";

// A row of the popover. Its title alone would not tell two rows with the same title apart,
// and the shortcuts are how a keyboard user reaches it.
class FlatButtonAccessible final : public QAccessibleWidget
{
public:
    explicit FlatButtonAccessible(QWidget *widget)
        : QAccessibleWidget(widget, QAccessible::Button)
    {
        addControllingSignal(QStringLiteral("clicked()"));
    }

    QString text(QAccessible::Text t) const override
    {
        const auto *button = static_cast<const FlatButton *>(widget());
        if (t == QAccessible::Name) {
            if (!button->accessibleName().isEmpty())
                return button->accessibleName();
            QStringList parts{button->title()};
            for (const QString &shortcut : {button->hotKeyText(), button->shortcutText()}) {
                if (!shortcut.isEmpty())
                    parts.append(shortcut);
            }
            return parts.join(QStringLiteral(", "));
        }
        if (t == QAccessible::Accelerator)
            return button->shortcutText();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString &action) override
    {
        if (action == pressAction())
            QMetaObject::invokeMethod(widget(), "clicked");
    }
};

// A tool button that selects a page, and the bar that holds such buttons.
class RoleAccessible final : public QAccessibleWidget
{
public:
    RoleAccessible(QWidget *widget, QAccessible::Role role)
        : QAccessibleWidget(widget, role)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        const auto *button = qobject_cast<const QAbstractButton *>(widget());
        if (t == QAccessible::Name && button && widget()->accessibleName().isEmpty())
            return button->text();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        if (const auto *button = qobject_cast<const QAbstractButton *>(widget())) {
            state.selectable = true;
            state.selected = button->isChecked();
        }
        return state;
    }

    QStringList actionNames() const override
    {
        return qobject_cast<const QAbstractButton *>(widget()) ? QStringList{pressAction()} : QStringList();
    }

    void doAction(const QString &action) override
    {
        if (auto *button = qobject_cast<QAbstractButton *>(widget()); button && action == pressAction())
            button->click();
    }
};

QAccessibleInterface *korvaneInterface(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (className == QLatin1String("FlatButton"))
        return new FlatButtonAccessible(widget);
    const QVariant role = object->property(kRoleProperty);
    if (role.isValid())
        return new RoleAccessible(widget, QAccessible::Role(role.toInt()));
    return nullptr;
}

} // namespace

void Accessibility::install()
{
    QAccessible::installFactory(korvaneInterface);
}

void Accessibility::setRole(QWidget *widget, QAccessible::Role role)
{
    widget->setProperty(kRoleProperty, int(role));
}
