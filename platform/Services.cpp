#include "platform/Services.h"

namespace platform {
namespace {

struct Defaults {
    ScriptedPrompts prompts;
    ScriptedFileDialogs dialogs;
    FakeClipboard clipboard;
    CountingBusyCursor busy;
    RecordingStatusLine status;
};

Defaults& defaults() {
    static Defaults d;
    return d;
}

}  // namespace

Services& services() {
    static Services s{&defaults().prompts, &defaults().dialogs, &defaults().clipboard, &defaults().busy,
                      &defaults().status};
    return s;
}

ScopedServices::ScopedServices(Services s) : saved_(services()) { services() = s; }

ScopedServices::~ScopedServices() { services() = saved_; }

Answer ScriptedPrompts::Show(const std::string& text, Buttons buttons) {
    shown.push_back({text, buttons});
    if (!answers.empty()) {
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    if (buttons == Buttons::YesNo) return Answer::No;
    return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
}

std::vector<std::string> ScriptedPrompts::Texts() const {
    std::vector<std::string> t;
    for (const Shown& s : shown) t.push_back(s.text);
    return t;
}

std::optional<std::string> ScriptedFileDialogs::Run(const FileDialogRequest& request) {
    requests.push_back(request);
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> a = answers.front();
    answers.pop_front();
    return a;
}

}  // namespace platform
