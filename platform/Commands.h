#pragma once
// Command routing in the manner of a document/view framework: every command is a
// number; a target declares handlers for the numbers it serves and, optionally, an
// update handler that enables, disables or checks the command. A router asks the
// targets of the current route in order (active view, document, frame, application).
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace platform {

// What an update handler says about a command.
struct CmdUI {
    int id = 0;
    bool enabled = false;
    bool checked = false;
    std::string text;  // a caption that changes with the state ("" keeps the item's own)
    void Enable(bool on = true) { enabled = on; }
    void SetCheck(int check = 1) { checked = check != 0; }
    void SetText(std::string caption) { text = std::move(caption); }
};

class CommandTarget {
public:
    virtual ~CommandTarget() = default;

    bool HasCommandHandler(int id) const { return commands_.count(id) != 0; }
    bool HasUpdateHandler(int id) const { return updates_.count(id) != 0; }
    void RunCommand(int id) { commands_.at(id)(id); }
    void RunUpdate(int id, CmdUI& ui) { updates_.at(id)(ui); }

protected:
    void OnCommand(int id, std::function<void()> handler);
    void OnCommandRange(int first, int last, std::function<void(int)> handler);
    void OnUpdateCommand(int id, std::function<void(CmdUI&)> handler);
    void OnUpdateCommandRange(int first, int last, std::function<void(CmdUI&)> handler);

private:
    std::unordered_map<int, std::function<void(int)>> commands_;
    std::unordered_map<int, std::function<void(CmdUI&)>> updates_;
};

class CommandRouter {
public:
    using Route = std::function<std::vector<CommandTarget*>()>;
    explicit CommandRouter(Route route) : route_(std::move(route)) {}

    // Runs the first handler on the route. False when no target handles the id
    // or the id is disabled by its update handler (a key then does nothing).
    bool Execute(int id);

    // The first update handler on the route decides; without one a command is
    // enabled exactly when some target on the route handles it.
    CmdUI Query(int id);

private:
    Route route_;
};

}  // namespace platform
