// The main window and the dialogs on today's desktops: every control has a
// name for assistive tools, a dark palette keeps the texts readable, and the
// window comes back where the user left it.
#include "gui_fixture.h"

#include "form_about.h"
#include "form_check_report.h"
#include "form_copy_operation.h"
#include "form_basic_editor.h"
#include "form_new_image.h"
#include "form_new_partition.h"
#include "form_view.h"
#include "form_pref.h"
#include "form_properties.h"
#include "form_put_basic.h"
#include "form_select_dest_dir.h"
#include "form_select_device.h"
#include "form_wait.h"
#include "file_list_model.h"
#include "formmain.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTableView>
#include <QTextEdit>
#include <QToolButton>

#include <cmath>

namespace {

// The controls of `top` a user can work, without a name or text an
// assistive tool could read out.
QStringList UnnamedControls(QWidget& top)
{
    QStringList unnamed;
    for (QWidget* w : top.findChildren<QWidget*>()) {
        // Parts of composite controls (a view's header and scroll bars, a
        // tool bar's extension button) are named by Qt itself.
        // A combo box's list is a window of its own, named by the box.
        if (w->objectName().startsWith(QLatin1String("qt_")) || qobject_cast<QHeaderView*>(w) ||
            qobject_cast<QAbstractScrollArea*>(w->parentWidget()) || w->window() != top.window())
            continue;
        // What an assistive tool reads: the accessible name, else a button's
        // text or the text of the label whose buddy the control is.
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(w);
        const QString text = accessible ? accessible->text(QAccessible::Name) : QString();
        const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QAbstractItemView*>(w) ||
                             qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                             qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QTextEdit*>(w) ||
                             qobject_cast<QPlainTextEdit*>(w);
        if (control && text.trimmed().isEmpty())
            unnamed << QStringLiteral("%1 (%2)").arg(w->objectName(), w->metaObject()->className());
    }
    return unnamed;
}

double Luminance(const QColor& colour)
{
    const auto channel = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const QColor c = colour.toRgb();
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double Contrast(const QColor& a, const QColor& b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QPalette DarkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Button, QColor(0x38, 0x38, 0x38));
    dark.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Highlight, QColor(0x3d, 0x7a, 0xd6));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::Link, QColor(0x8a, 0xb4, 0xf8));
    return dark;
}


// The controls of `top` whose text is cut: narrower than the least room
// their text needs (a fixed size or position would leave "Binary mode (no
// heade" in a larger font).
QStringList CutTexts(QWidget& top)
{
    top.adjustSize();
    // Nested layouts place their widgets on their own activation.
    if (top.layout())
        top.layout()->activate();
    for (QWidget* w : top.findChildren<QWidget*>())
        if (w->layout())
            w->layout()->activate();
    QStringList cut;
    for (QWidget* w : top.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&top) || w->window() != top.window() ||
            !(qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w)))
            continue;
        const auto* label = qobject_cast<QLabel*>(w);
        if (label && (label->wordWrap() || label->hasScaledContents() || label->text().isEmpty()))
            continue;
        if (w->width() < w->minimumSizeHint().width())
            cut << w->objectName() + QLatin1Char('/') + w->metaObject()->className() + QLatin1Char('/') + (label ? label->text() : qobject_cast<QAbstractButton*>(w)->text());
    }
    return cut;
}

std::vector<std::unique_ptr<QWidget>> Dialogs(ScriptedPrompts& p, const QString& startFolder)
{
    std::vector<std::unique_ptr<QWidget>> windows;
    windows.emplace_back(new TFormAbout);
    windows.emplace_back(new TFormPref(p, "/usr/libexec/3E.EXE", false, true));
    windows.emplace_back(new TFormSelectDevice({"/dev/sdb"}));
    windows.emplace_back(new TFormProperties(nullptr));
    windows.emplace_back(new TFormCopyOperation(p));
    windows.emplace_back(new TFormSelectDestDir(p, "/tmp"));
    windows.emplace_back(new TFormWait);
    windows.emplace_back(new TFormNewImage(startFolder));
    windows.emplace_back(new TFormPutBasic("/tmp/PROG.BAS"));
    windows.emplace_back(new TFormNewPartition(NewPartitionContext{{"PLUSIDEDOS"}, {}}));
    windows.emplace_back(new TFormCheckReport("demo.hdf", CheckReport{}));
    windows.emplace_back(new TFormView(nullptr));
    windows.emplace_back(new TFormBasicEditor);
    return windows;
}

} // namespace

using DesktopFitTest = GuiTest;

TEST_F(DesktopFitTest, EveryControlOfTheWindowAndTheDialogsHasAName)
{
    makeForm();
    const auto windows = Dialogs(*prompts, startFolder());
    EXPECT_EQ(UnnamedControls(*form), QStringList());
    for (const auto& window : windows)
        EXPECT_EQ(UnnamedControls(*window), QStringList()) << window->objectName().toStdString();
}

TEST_F(DesktopFitTest, DialogsShowTheirTextsWholeInALargeFont)
{
    const QFont before = QApplication::font();
    QFont large = before;
    large.setPointSizeF(before.pointSizeF() * 1.6);
    QApplication::setFont(large);
    makeForm();
    for (const auto& window : Dialogs(*prompts, startFolder()))
        EXPECT_EQ(CutTexts(*window), QStringList()) << window->objectName().toStdString();
    QApplication::setFont(before);
}

TEST_F(DesktopFitTest, DarkPaletteKeepsTheListAndTheTitlesReadable)
{
    const QPalette before = QApplication::palette();
    QApplication::setPalette(DarkPalette());
    makeForm();
    FileListRow row;
    row.cells[0] = "PROGRAM";
    row.icon = 15;
    form->ListModel().appendRow(row);
    const QModelIndex cell = form->ListModel().index(0, 0);
    const QVariant foreground = cell.data(Qt::ForegroundRole);
    const QTableView* report = form->ListView()->reportView();
    const QColor text = foreground.isValid() ? foreground.value<QBrush>().color()
                                             : report->palette().color(QPalette::Text);
    EXPECT_GE(Contrast(text, report->palette().color(QPalette::Base)), 4.5);
    TFormAbout about;
    const QLabel* title = about.findChild<QLabel*>("LblTitle");
    EXPECT_GE(Contrast(title->palette().color(title->foregroundRole()),
                       about.palette().color(QPalette::Window)),
              4.5);
    QApplication::setPalette(before);
}

TEST_F(DesktopFitTest, WindowComesBackWhereItWasLeftAndOnScreen)
{
    makeForm();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    // The first window fits on the screen, title bar included.
    EXPECT_TRUE(area.contains(form->geometry())) << form->geometry().x() << "," << form->geometry().y();
    const QRect left(area.left() + 40, area.top() + 50, area.width() / 2, area.height() / 2);
    form->setGeometry(left);
    closeForm();
    makeForm();
    EXPECT_EQ(form->geometry(), left);
    // A place off the screen (a screen since unplugged) is brought back.
    form->setGeometry(area.right() + 500, area.bottom() + 300, 300, 200);
    closeForm();
    makeForm();
    EXPECT_TRUE(area.contains(form->geometry()));
    EXPECT_EQ(form->geometry().size(), QSize(300, 200));
}
