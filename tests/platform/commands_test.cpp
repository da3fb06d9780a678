#include <gtest/gtest.h>

#include "platform/Commands.h"

using platform::CmdUI;
using platform::CommandRouter;
using platform::CommandTarget;

namespace {

// A target whose handlers are set up by the test and record what ran.
struct Target : CommandTarget {
    std::vector<std::string>* log;
    std::string name;
    Target(std::vector<std::string>* l, std::string n) : log(l), name(std::move(n)) {}
    void Handle(int id) {
        OnCommand(id, [this, id] { log->push_back(name + ":" + std::to_string(id)); });
    }
    void Update(int id, bool enable, bool check = false) {
        OnUpdateCommand(id, [enable, check](CmdUI& ui) {
            ui.Enable(enable);
            ui.SetCheck(check);
        });
    }
};

}  // namespace

TEST(CommandRouter, RoutesToFirstHandlerInViewDocumentFrameAppOrder) {
    std::vector<std::string> log;
    Target view(&log, "view"), doc(&log, "doc"), frame(&log, "frame"), app(&log, "app");
    doc.Handle(1);
    app.Handle(1);
    frame.Handle(2);
    app.Handle(2);
    app.Handle(3);
    CommandRouter router([&] { return std::vector<CommandTarget*>{&view, &doc, &frame, &app}; });
    EXPECT_TRUE(router.Execute(1));
    EXPECT_TRUE(router.Execute(2));
    EXPECT_TRUE(router.Execute(3));
    EXPECT_FALSE(router.Execute(4));
    EXPECT_EQ(log, (std::vector<std::string>{"doc:1", "frame:2", "app:3"}));
}

TEST(CommandRouter, EnableRules) {
    std::vector<std::string> log;
    Target view(&log, "view"), doc(&log, "doc"), app(&log, "app");
    app.Handle(10);          // handler only: enabled
    doc.Update(11, false);   // update handler disables a command the app handles
    app.Handle(11);
    view.Update(12, true, true);  // a checked command
    view.Handle(12);
    doc.Update(13, true);    // the first update handler on the route decides
    app.Update(13, false);
    doc.Handle(13);
    view.Handle(14);         // a later update handler beats an earlier command handler
    app.Update(14, false);
    CommandRouter router([&] { return std::vector<CommandTarget*>{&view, &doc, nullptr, &app}; });
    struct Case {
        int id;
        bool enabled;
        bool checked;
    } cases[] = {{10, true, false}, {11, false, false}, {12, true, true}, {13, true, false}, {14, false, false},
                 {99, false, false}};
    for (const Case& c : cases) {
        CmdUI ui = router.Query(c.id);
        EXPECT_EQ(ui.enabled, c.enabled) << c.id;
        EXPECT_EQ(ui.checked, c.checked) << c.id;
    }
    EXPECT_FALSE(router.Execute(11)) << "a disabled command's key does nothing";
    EXPECT_FALSE(router.Execute(14));
    EXPECT_TRUE(log.empty());
}

TEST(CommandRouter, RouteIsAskedAnewEachTime) {
    std::vector<std::string> log;
    Target memo(&log, "memo"), logo(&log, "logo");
    memo.Handle(57637);
    CommandTarget* active = &memo;
    CommandRouter router([&] { return std::vector<CommandTarget*>{active}; });
    EXPECT_TRUE(router.Query(57637).enabled);
    active = &logo;
    EXPECT_FALSE(router.Query(57637).enabled) << "paste has no handler on the logo page";
}

TEST(CommandRouter, RangeHandlersReceiveTheirId) {
    struct RangeTarget : CommandTarget {
        std::vector<int> got;
        RangeTarget() {
            OnCommandRange(31130, 31132, [this](int id) { got.push_back(id); });
        }
    } t;
    CommandRouter router([&] { return std::vector<CommandTarget*>{&t}; });
    for (int id : {31130, 31131, 31132, 31133}) router.Execute(id);
    EXPECT_EQ(t.got, (std::vector<int>{31130, 31131, 31132}));
}
