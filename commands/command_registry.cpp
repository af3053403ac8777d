#include "command_registry.h"

#include "app_error.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QMenu>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>

namespace {

// A tool button shows its command's hint in the status bar while the mouse
// is over it. The hint is not the action's status tip: menu entries of the
// same action show none.
class ButtonHint : public QObject
{
public:
    ButtonHint(QToolButton* button, QString hint) : QObject(button), m_hint(std::move(hint))
    {
        button->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Enter || event->type() == QEvent::Leave) {
            QStatusTipEvent tip(event->type() == QEvent::Enter ? m_hint : QString());
            QCoreApplication::sendEvent(watched, &tip);
        }
        return false;
    }

private:
    QString m_hint;
};

} // namespace

QString CommandRegistry::Translated(const char* text)
{
    return QCoreApplication::translate(kTranslationContext, text);
}

CommandRegistry::CommandRegistry(QWidget* window, Runner runner)
    : QObject(window), m_window(window), m_runner(std::move(runner))
{
}

QAction* CommandRegistry::add(const Command& command, std::function<void()> function)
{
    const QString id = QLatin1String(command.id);
    if (m_entries.contains(id))
        throw AppError(QStringLiteral("Command %1 is registered twice").arg(id));
    auto* action = new QAction(Translated(command.caption), m_window);
    action->setObjectName(id);
    if (*command.shortcut)
        action->setShortcut(QKeySequence(QLatin1String(command.shortcut)));
    if (*command.hint)
        action->setToolTip(Translated(command.hint));
    if (command.picture)
        action->setIcon(ToolbarIcon(*command.picture));
    action->setCheckable(command.checkable);
    if (function) {
        const QString caption = PopupCaption(command);
        const int limitMs = command.toolLimitMs;
        connect(action, &QAction::triggered, this,
                [this, function = std::move(function), caption, limitMs] {
                    m_runner([&] {
                        ToolCommandScope scope(caption, limitMs);
                        function();
                    });
                });
    }
    m_entries.insert(id, Entry{command, action});
    return action;
}

QAction* CommandRegistry::action(const QString& id) const
{
    const auto it = m_entries.constFind(id);
    if (it == m_entries.constEnd())
        throw AppError(QStringLiteral("No command %1 is registered").arg(id));
    return it->action;
}

void CommandRegistry::trigger(const QString& id) const
{
    action(id)->trigger();
}

void CommandRegistry::fillMenu(QMenu* menu, std::initializer_list<const char*> ids) const
{
    for (const char* id : ids) {
        if (QLatin1String(id) == QLatin1String("-"))
            menu->addSeparator();
        else
            menu->addAction(action(QLatin1String(id)));
    }
}

void CommandRegistry::fillToolBar(QToolBar* bar, std::initializer_list<Button> buttons) const
{
    for (const Button& b : buttons) {
        if (QLatin1String(b.id) == QLatin1String("-")) {
            bar->addSeparator();
            continue;
        }
        QAction* command = action(QLatin1String(b.id));
        bar->addAction(command);
        if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(command))) {
            button->setObjectName(QLatin1String(b.buttonName));
            button->setAutoRaise(true);
            new ButtonHint(button, command->toolTip());
        }
    }
}

void CommandRegistry::fillPopup(QMenu* popup, std::initializer_list<const char*> ids)
{
    fillMenu(popup, ids);
    connect(popup, &QMenu::aboutToShow, this, [this, popup] { showPopupPresentation(popup); });
    connect(popup, &QMenu::aboutToHide, this, [this, popup] { restorePresentation(popup); });
}

QString CommandRegistry::PopupCaption(const Command& command)
{
    if (command.popupCaption)
        return Translated(command.popupCaption);
    return Translated(command.caption).remove(QLatin1Char('&')).trimmed();
}

void CommandRegistry::showPopupPresentation(QMenu* popup)
{
    for (QAction* action : popup->actions()) {
        const auto it = m_entries.constFind(action->objectName());
        if (action->isSeparator() || it == m_entries.constEnd() || it->action != action)
            continue;
        const Command& command = it->command;
        m_menuPresentation.insert(
            action, Presentation{action->text(), action->shortcuts(), action->shortcutContext()});
        action->setText(PopupCaption(command));
        action->setShortcut(QKeySequence(QLatin1String(command.popupShortcut)));
        action->setShortcutContext(Qt::WidgetShortcut);
    }
}

void CommandRegistry::restorePresentation(QMenu* popup)
{
    for (QAction* action : popup->actions()) {
        const auto it = m_menuPresentation.constFind(action);
        if (it == m_menuPresentation.constEnd())
            continue;
        action->setText(it->text);
        action->setShortcuts(it->shortcuts);
        action->setShortcutContext(it->context);
        m_menuPresentation.erase(it);
    }
}
