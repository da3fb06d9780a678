#include "app/StartOptions.h"

#include <cstring>

namespace {
constexpr int kNameColumn = 20;  // where the help texts start
}  // namespace

const std::vector<StartOption>& EditorOptions() {
    static const std::vector<StartOption> options = {
        {"FILE", "a memo file (.mmo), a song file (.kok) or a picture to open\nat start"},
        {"--song-page", "add the song page (karaoke song lists for three machine\nbrands, .kok files) as a third tab"},
        {"--reset-settings", "forget the window size and place, the last folders and the\nrecent files, then exit"},
        {"-h, --help", "print this help and exit"},
        {"--version", "print the version and exit"},
    };
    return options;
}

std::string EditorHelp() {
    std::string text = std::string(kEditorUsage) +
                       "\nEdit the data files of a small handheld device: its contact memo list (.mmo),\n"
                       "its 96x96 logo picture and its karaoke song lists (.kok).\n\n";
    for (const StartOption& o : EditorOptions()) {
        std::string line = "  " + std::string(o.names);
        line.append(line.size() < kNameColumn ? kNameColumn - line.size() : 1, ' ');
        for (const char* p = o.help; *p; ++p) {
            line += *p;
            if (*p == '\n') line.append(kNameColumn, ' ');
        }
        text += line + "\n";
    }
    return text;
}

StartOptions ParseStartOptions(const std::vector<std::string>& args) {
    StartOptions o;
    bool optionsEnd = false;
    auto fail = [&o](const std::string& why) {
        if (o.error.empty()) o.error = why;
    };
    for (const std::string& a : args) {
        if (!optionsEnd && a.size() > 1 && a[0] == '-') {
            if (a == "--") optionsEnd = true;
            else if (a == "-h" || a == "--help") o.help = true;
            else if (a == "--version") o.version = true;
            else if (a == "--reset-settings") o.resetSettings = true;
            else if (a == "--song-page") o.songPage = true;
            else fail("unknown option '" + a + "'");
            continue;
        }
        if (o.file.empty())
            o.file = a;
        else
            fail("one FILE at most: '" + o.file + "' and '" + a + "'");
    }
    return o;
}
