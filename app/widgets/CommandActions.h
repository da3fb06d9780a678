#pragma once
// One QAction per command id: caption and tips from the resources, keys from the
// accelerator table. Triggering an action runs the command through the router; the
// enabled and checked states of every action (and of every menu item bound to a
// command) follow the router's update handlers whenever the event loop goes idle and
// before a menu opens.
#include <QAction>
#include <QObject>
#include <QPointer>
#include <map>
#include <vector>

#include "platform/Commands.h"

class QWidget;

class CCommandActions : public QObject {
    Q_OBJECT
public:
    // The actions are added to window, so their keys work on every page.
    CCommandActions(platform::CommandRouter& router, QWidget* window);
    ~CCommandActions() override;

    // Every command id the menus, toolbars and keys carry.
    static std::vector<int> AllCommandIds();

    QAction* Action(int id);  // nullptr for an unknown id
    // Makes another action (a menu item) run and show the command id.
    void Bind(QAction* action, int id);
    // Asks the router for every command's state now.
    void Refresh();

private:
    void Apply(QAction* action, const platform::CmdUI& ui);

    platform::CommandRouter& router_;
    std::map<int, QAction*> actions_;
    std::multimap<int, QPointer<QAction>> bound_;
};
