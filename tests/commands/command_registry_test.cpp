// The action registry: one action per command, shown by every place, run
// through the window's guarded entry point.
#include "command_registry.h"

#include "app_error.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

struct Registry
{
    QMainWindow window;
    QStringList guarded; // the ids run through the runner
    QString running;
    CommandRegistry registry{&window, [this](const std::function<void()>& function) {
                                 guarded << running;
                                 GuardedCall(function);
                             }};
};

TEST(CommandRegistryTest, OneActionServesMenuToolBarAndPopUp)
{
    Registry r;
    int runs = 0;
    QAction* get = r.registry.add({.id = "Saveselectedfiles2",
                                   .caption = "Get selected &file(s)",
                                   .shortcut = "Ctrl+G",
                                   .hint = "Get selected file(s)",
                                   .picture = ToolbarPicture::GetSelectedFiles,
                                   .toolLimitMs = 5000},
                                  [&] {
                                      ++runs;
                                      // Its tool runs are named by the command.
                                      EXPECT_EQ(ToolCommandScope::CurrentCaption(),
                                                "Get selected file(s)");
                                      EXPECT_EQ(ToolCommandScope::CurrentLimitMs(), 5000);
                                  });
    QMenu menu;
    QToolBar bar;
    QMenu popup;
    r.registry.fillMenu(&menu, {"Saveselectedfiles2", "-"});
    r.registry.fillToolBar(&bar, {{"-", ""}, {"Saveselectedfiles2", "ToolButtonGetSelected"}});
    r.registry.fillPopup(&popup, {"Saveselectedfiles2"});

    EXPECT_EQ(r.window.findChild<QAction*>("Saveselectedfiles2"), get);
    EXPECT_EQ(menu.actions().first(), get);
    EXPECT_TRUE(menu.actions().last()->isSeparator());
    EXPECT_EQ(popup.actions(), QList<QAction*>{get});
    auto* button = bar.findChild<QToolButton*>("ToolButtonGetSelected");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->defaultAction(), get);
    EXPECT_EQ(get->toolTip(), "Get selected file(s)");
    EXPECT_FALSE(get->icon().isNull());

    // The pop-up shows the caption without its access key only while open.
    popup.popup(QPoint(0, 0));
    EXPECT_EQ(get->text(), "Get selected file(s)");
    EXPECT_TRUE(get->shortcut().isEmpty());
    popup.hide();
    EXPECT_EQ(get->text(), "Get selected &file(s)");
    EXPECT_EQ(get->shortcut().toString(), "Ctrl+G");

    r.running = "menu";
    get->trigger();
    r.running = "button";
    button->click();
    EXPECT_EQ(runs, 2);
    EXPECT_TRUE(ToolCommandScope::CurrentCaption().isEmpty());
    EXPECT_EQ(r.guarded, (QStringList{"menu", "button"}));
}

TEST(CommandRegistryTest, PopUpPresentationAndErrorsOfTheLayout)
{
    Registry r;
    QAction* put = r.registry.add(
        {"Putfile3DOS1", "Put file(s) with +3DOS header", "Ctrl+Ins"},
        [] { throw AppError(QStringLiteral("no tool")); });
    QAction* view = r.registry.add({.id = "ViewBASICcode1",
                                    .caption = "Automatic format",
                                    .popupCaption = "View selected file (Automatic format)",
                                    .popupShortcut = "Ctrl+Return"},
                                   {});
    QMenu popup;
    r.registry.fillPopup(&popup, {"Putfile3DOS1", "-", "ViewBASICcode1"});
    popup.popup(QPoint(0, 0));
    EXPECT_EQ(put->shortcut().toString(), "");
    EXPECT_EQ(view->text(), "View selected file (Automatic format)");
    EXPECT_EQ(view->shortcut().toString(), "Ctrl+Return");
    popup.hide();
    EXPECT_EQ(put->shortcut().toString(), "Ctrl+Ins");
    EXPECT_EQ(put->shortcutContext(), Qt::WindowShortcut);
    EXPECT_EQ(view->text(), "Automatic format");
    EXPECT_TRUE(view->shortcut().isEmpty());

    // An error below a command ends it through the guard, not the caller.
    QStringList shown;
    const ErrorDisplay previous = SetErrorDisplay([&](const QString& text) { shown << text; });
    put->trigger();
    SetErrorDisplay(previous);
    EXPECT_EQ(shown, QStringList{"no tool"});

    // A command is declared once; a layout naming no command is a fault.
    EXPECT_THROW(r.registry.add({"Putfile3DOS1", "again"}, {}), AppError);
    QMenu menu;
    EXPECT_THROW(r.registry.fillMenu(&menu, {"Nosuchcommand1"}), AppError);
}

} // namespace
