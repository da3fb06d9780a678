// "lyrabox-cli logo": the same file as the editor for the same picture, commands and
// selection; usage and input errors; nothing written on failure.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/CommandIds.h"
#include "cli/Cli.h"
#include "image/LbBudget.h"
#include "logo/DeviceLogoFile.h"
#include "logo/LogoPipeline.h"
#include "logo/support/DocFixture.h"
#include "logo/support/LogoFiles.h"

namespace {

int RunLogo(std::vector<std::string> args) {
    args.insert(args.begin(), {"lyrabox-cli", "logo"});
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    ::testing::internal::CaptureStderr();
    const int code = cli::Run(int(argv.size()), argv.data());
    ::testing::internal::GetCapturedStderr();
    return code;
}

using LogoCli = DocFixture;

TEST_F(LogoCli, SameFileAsTheEditor) {
    WriteFile(Path("wide.bmp"), Bmp24(640, 480, Pattern));
    WriteFile(Path("tall.bmp"), Bmp24(60, 500, Pattern, true));
    struct Case {
        const char* picture;
        std::vector<std::string> options;
        std::vector<int> commands;
        logo::Rect selection;  // what the editor's box selects
        bool dither;
    } cases[] = {
        {"wide.bmp", {}, {}, {0, 0, 96, 96}, false},
        {"wide.bmp", {"--select", "10,20,410,320"}, {}, {10, 20, 410, 320}, false},
        {"wide.bmp", {"--select", "400,300,100,20"}, {}, {400, 300, 100, 20}, false},
        {"wide.bmp", {"--rotate-left", "--flip-h"}, {cmd::RotateLeft, cmd::FlipHorizontal}, {0, 0, 96, 96}, false},
        {"wide.bmp", {"--flip-v", "--rotate-right", "--select", "5,5,300,90"}, {cmd::FlipVertical, cmd::RotateRight},
         {5, 5, 300, 90}, false},
        {"wide.bmp", {"--dither"}, {cmd::DitherToggle}, {0, 0, 96, 96}, true},
        {"tall.bmp", {}, {}, {0, 0, 60, 96}, false},
        {"tall.bmp", {"--rotate-left"}, {cmd::RotateLeft}, {0, 0, 60, 96}, false},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string out = Path("cli" + std::to_string(n) + ".bmp");
        const std::string editor = Path("editor" + std::to_string(n++) + ".bmp");
        std::vector<std::string> args{Path(c.picture), out};
        args.insert(args.end(), c.options.begin(), c.options.end());
        ASSERT_EQ(RunLogo(args), 0) << out;

        doc.SetDither(false);
        ASSERT_TRUE(doc.OnOpenDocument(Path(c.picture)));
        for (int id : c.commands) doc.RunCommand(id);
        ASSERT_EQ(doc.Dither(), int(c.dither));
        ASSERT_TRUE(doc.CutLogo(c.selection));
        ASSERT_TRUE(doc.OnSaveDocument(editor));
        const std::string file = ReadFile(out);
        EXPECT_EQ(file.size(), 27702u) << out;
        EXPECT_TRUE(file == ReadFile(editor)) << out;
    }
    EXPECT_TRUE(ui.prompts.shown.empty());
}

TEST_F(LogoCli, PalettePicturesAndOtherFormats) {
    WriteFile(Path("eight.bmp"), Bmp8(120, 90));
    ASSERT_EQ(RunLogo({Path("eight.bmp"), Path("logo.bmp")}), 0);
    const std::string file = ReadFile(Path("logo.bmp"));
    ASSERT_EQ(file.size(), 27702u);
    EXPECT_EQ(file[28], 16);
    // Bottom-left logo pixel is picture pixel (0, 95): index 95, colour (95, 160, 47).
    EXPECT_EQ(Le16(file, 54), logo::Rgb555(95, 160, 47));

    // "info" knows the device logo file.
    std::string info = "info", path = Path("logo.bmp");
    char* argv[] = {info.data(), info.data(), path.data()};
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(cli::Run(3, argv), 0);
    EXPECT_NE(::testing::internal::GetCapturedStdout().find("device logo file: 96x96"), std::string::npos);

    ASSERT_EQ(RunLogo({Path("eight.bmp"), Path("logo.png"), "--dither"}), 0);
    EXPECT_EQ(ReadFile(Path("logo.png")).substr(1, 3), "PNG");
}

TEST_F(LogoCli, ErrorsWriteNothing) {
    WriteFile(Path("pic.bmp"), Bmp24(100, 80, Pattern));
    WriteFile(Path("keep.bmp"), "old");
    struct Case {
        std::vector<std::string> args;
        int code;
    } cases[] = {
        {{Path("pic.bmp")}, 2},
        {{Path("pic.bmp"), Path("keep.bmp"), "--select", "1,2,3"}, 2},
        {{Path("pic.bmp"), Path("keep.bmp"), "--select", "1,2,3,4x"}, 2},
        {{Path("pic.bmp"), Path("keep.bmp"), "--zoom"}, 2},
        {{Path("pic.bmp"), Path("keep.txt")}, 2},
        {{Path("none.bmp"), Path("keep.bmp")}, 1},
        {{Path("pic.bmp"), Path("keep.bmp"), "--select", "200,0,300,50"}, 1},
        {{Path("pic.bmp"), Path("no/folder/out.bmp")}, 1},
    };
    for (const Case& c : cases) EXPECT_EQ(RunLogo(c.args), c.code) << c.args.back();
    EXPECT_EQ(ReadFile(Path("keep.bmp")), "old");
    EXPECT_FALSE(std::filesystem::exists(Path("keep.txt")));
}

// Picture commands near the memory limit: a turn needs only its result, never a
// turned copy of the picture; one that cannot be made fails the command and writes
// nothing, never a logo without it.
TEST_F(LogoCli, PictureCommandsAtTheBudgetsEdge) {
    WriteFile(Path("eight.bmp"), Bmp8(400, 300));  // 120 KB as decoded, 360 KB in true colour
    WriteFile(Path("true.bmp"), Bmp24(400, 300, Pattern));
    const std::vector<std::string> whole = {"--select", "0,0,1000,1000"};
    struct Case {
        const char* picture;
        std::vector<std::string> commands;
        uint64_t memory;
        int code;
    } cases[] = {
        {"eight.bmp", {"--rotate-left"}, 700u << 10, 0},
        {"eight.bmp", {"--rotate-right", "--flip-h", "--flip-v"}, 700u << 10, 0},
        {"eight.bmp", {"--flip-v"}, 300u << 10, 1},
        {"true.bmp", {"--rotate-left"}, 1u << 20, 0},
        {"true.bmp", {"--rotate-left"}, 700u << 10, 1},
        {"true.bmp", {}, 500u << 10, 0},
    };
    const LbLimits defaults = LbCurrentLimits();
    for (const Case& c : cases) {
        std::vector<std::string> args = {Path(c.picture), Path("limited.bmp")};
        args.insert(args.end(), whole.begin(), whole.end());
        args.insert(args.end(), c.commands.begin(), c.commands.end());
        std::filesystem::remove(Path("limited.bmp"));
        LbLimits limits = defaults;
        limits.memory = c.memory;
        LbSetDefaultLimits(limits);
        const int code = RunLogo(args);
        LbSetDefaultLimits(defaults);
        const std::string what = std::string(c.picture) + " " + std::to_string(c.memory);
        EXPECT_EQ(code, c.code) << what;
        if (code != 0) {
            EXPECT_FALSE(std::filesystem::exists(Path("limited.bmp"))) << what;
            continue;
        }
        args[1] = Path("reference.bmp");
        ASSERT_EQ(RunLogo(args), 0);
        EXPECT_TRUE(ReadFile(Path("limited.bmp")) == ReadFile(Path("reference.bmp"))) << what;
    }
}

}  // namespace
