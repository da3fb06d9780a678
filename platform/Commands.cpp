#include "platform/Commands.h"

namespace platform {

void CommandTarget::OnCommand(int id, std::function<void()> handler) {
    commands_[id] = [h = std::move(handler)](int) { h(); };
}

void CommandTarget::OnCommandRange(int first, int last, std::function<void(int)> handler) {
    for (int id = first; id <= last; ++id) commands_[id] = handler;
}

void CommandTarget::OnUpdateCommand(int id, std::function<void(CmdUI&)> handler) {
    updates_[id] = std::move(handler);
}

void CommandTarget::OnUpdateCommandRange(int first, int last, std::function<void(CmdUI&)> handler) {
    for (int id = first; id <= last; ++id) updates_[id] = handler;
}

CmdUI CommandRouter::Query(int id) {
    CmdUI ui;
    ui.id = id;
    std::vector<CommandTarget*> route = route_();
    for (CommandTarget* t : route) {
        if (t && t->HasUpdateHandler(id)) {
            ui.enabled = true;  // a handler that only sets the check leaves it enabled
            t->RunUpdate(id, ui);
            return ui;
        }
    }
    for (CommandTarget* t : route) {
        if (t && t->HasCommandHandler(id)) {
            ui.enabled = true;
            return ui;
        }
    }
    return ui;
}

bool CommandRouter::Execute(int id) {
    if (!Query(id).enabled) return false;
    for (CommandTarget* t : route_()) {
        if (t && t->HasCommandHandler(id)) {
            t->RunCommand(id);
            return true;
        }
    }
    return false;
}

}  // namespace platform
