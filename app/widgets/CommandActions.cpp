#include "app/widgets/CommandActions.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QKeySequence>
#include <QThread>
#include <QWidget>
#include <functional>
#include <set>

#include "app/CommandIds.h"
#include "app/Resources.h"

namespace {
const int kMenus[] = {res::MenuMemo, res::MenuLogo, res::MenuSong, res::MenuSongCopy};
const int kToolbars[] = {res::ToolbarMemo, res::ToolbarLogo, res::ToolbarSong};

void ForEachItem(const std::vector<res::MenuItem>& items, const std::function<void(const res::MenuItem&)>& f) {
    for (const res::MenuItem& item : items) {
        if (item.id) f(item);
        ForEachItem(item.items, f);
    }
}

// The first menu caption of a command, without its key text; else its tooltip.
QString CaptionOf(int id) {
    QString caption;
    for (int menu : kMenus)
        ForEachItem(res::Menu(menu), [&](const res::MenuItem& item) {
            if (item.id == id && caption.isEmpty()) caption = QString::fromStdString(item.caption).section('\t', 0, 0);
        });
    if (caption.isEmpty()) caption = QString::fromStdString(res::TipFor(id).tooltip);
    return caption;
}
}  // namespace

std::vector<int> CCommandActions::AllCommandIds() {
    std::set<int> ids{cmd::Capture};
    for (int menu : kMenus) ForEachItem(res::Menu(menu), [&](const res::MenuItem& item) { ids.insert(item.id); });
    for (int bar : kToolbars)
        for (int id : res::Toolbar(bar))
            if (id) ids.insert(id);
    for (const res::Accelerator& a : res::Accelerators()) ids.insert(a.id);
    return {ids.begin(), ids.end()};
}

CCommandActions::CCommandActions(platform::CommandRouter& router, QWidget* window)
    : QObject(window), router_(router) {
    for (int id : AllCommandIds()) {
        auto* a = new QAction(CaptionOf(id), this);
        a->setProperty("commandId", id);
        QList<QKeySequence> keys;
        for (const res::Accelerator& acc : res::Accelerators())
            if (acc.id == id) keys << QKeySequence(QString::fromLatin1(acc.key));
        a->setShortcuts(keys);
        a->setShortcutContext(Qt::WindowShortcut);
        res::CommandTip tip = res::TipFor(id);
        a->setStatusTip(QString::fromStdString(tip.status));
        a->setToolTip(QString::fromStdString(tip.tooltip.empty() ? CaptionOf(id).remove('&').toStdString() : tip.tooltip));
        a->setEnabled(false);
        connect(a, &QAction::triggered, this, [this, id] { router_.Execute(id); });
        window->addAction(a);
        actions_[id] = a;
    }
    // Idle updates: each time the loop is about to wait for events, and on every pass
    // of a loop that does not wait (nested dialogs, processEvents). Only changes are
    // applied, so a refresh never wakes the loop again.
    if (auto* dispatcher = QAbstractEventDispatcher::instance(thread())) {
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &CCommandActions::Refresh);
        connect(dispatcher, &QAbstractEventDispatcher::awake, this, &CCommandActions::Refresh);
    }
}

CCommandActions::~CCommandActions() = default;

QAction* CCommandActions::Action(int id) {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void CCommandActions::Bind(QAction* action, int id) {
    action->setProperty("commandId", id);
    connect(action, &QAction::triggered, this, [this, id] { router_.Execute(id); });
    bound_.emplace(id, action);
    if (QAction* main = Action(id)) {
        action->setEnabled(main->isEnabled());
        action->setCheckable(main->isCheckable());
        action->setChecked(main->isChecked());
    }
}

void CCommandActions::Apply(QAction* a, const platform::CmdUI& ui) {
    if (a->isEnabled() != ui.enabled) a->setEnabled(ui.enabled);
    if (!ui.text.empty()) {
        // A menu item keeps the key text after its tab.
        QString text = QString::fromStdString(ui.text);
        const int tab = a->text().indexOf('\t');
        if (tab >= 0) text += a->text().mid(tab);
        if (a->text() != text) a->setText(text);
    }
    if (a->isCheckable() != ui.checked) a->setCheckable(ui.checked);
    if (a->isChecked() != ui.checked) a->setChecked(ui.checked);
}

void CCommandActions::Refresh() {
    for (auto it = bound_.begin(); it != bound_.end();) it = it->second ? std::next(it) : bound_.erase(it);
    for (auto& [id, action] : actions_) {
        platform::CmdUI ui = router_.Query(id);
        Apply(action, ui);
        auto range = bound_.equal_range(id);
        for (auto it = range.first; it != range.second; ++it) Apply(it->second, ui);
    }
}
