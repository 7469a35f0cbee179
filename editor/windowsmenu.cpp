#include "frmVorn.h"

#include <QMenu>
#include <QToolButton>

// The toolbar's "»" button: the windows and commands that have no room of
// their own in the designed toolbar. Each entry shows its key, and the key
// works in the main window without opening the menu.

namespace {
constexpr int kMenuGap = 2; // from the "Edit" button
constexpr int kMenuWidth = 18; // the space the designed width leaves is about 37 pixels
} // namespace

void frmVorn::BuildWindowsMenu()
{
    windowsMenu_ = new QMenu(this);
    windowsMenu_->setObjectName(QStringLiteral("mnuWindows"));
    cmdWindows_ = new QToolButton(picToolbar_);
    cmdWindows_->setObjectName(QStringLiteral("cmdWindows"));
    cmdWindows_->setText(QStringLiteral("\u00BB"));
    cmdWindows_->setAutoRaise(true);
    cmdWindows_->setPopupMode(QToolButton::InstantPopup);
    cmdWindows_->setMenu(windowsMenu_);
    cmdWindows_->setToolTip(QStringLiteral("More windows and commands"));
    const QRect edit = cmdEditScript_->geometry();
    cmdWindows_->setGeometry(edit.right() + 1 + kMenuGap, edit.top(), kMenuWidth, edit.height());
    // Nothing to offer until a window registers its entry.
    cmdWindows_->setEnabled(false);
}

QAction* frmVorn::AddMenuCommand(const QString& text, const QKeySequence& key, std::function<void()> action)
{
    QAction* entry = windowsMenu_->addAction(text);
    // Shown beside the entry only: the window's own key below runs it, so
    // that it obeys the same rules as every other key.
    entry->setShortcut(key);
    entry->setShortcutContext(Qt::WidgetShortcut);
    connect(entry, &QAction::triggered, this, [action] { action(); });
    BindKey(key, action);
    cmdWindows_->setEnabled(true);
    QStringList entries;
    for (const QAction* each : windowsMenu_->actions())
        entries << QStringLiteral("%1 (%2)").arg(QString(each->text()).remove(QLatin1Char('&')),
                                                 each->shortcut().toString(QKeySequence::NativeText));
    cmdWindows_->setToolTip(entries.join(QStringLiteral(", ")));
    return entry;
}
