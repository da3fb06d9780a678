// The picture side of the document: the check, the load, the picture commands with
// their enable rules, and the logo save.
#include <sys/stat.h>
#include <cstdlib>
#include <filesystem>

#include "app/CommandIds.h"
#include "image/LbFile.h"
#include "image/LbImage.h"
#include "logo/LogoPipeline.h"
#include "logo/PictureInfo.h"
#include "logo/support/DocFixture.h"
#include "logo/support/LogoFiles.h"
#include "platform/Commands.h"

namespace {

using LogoDocument = DocFixture;

std::string JpegBytes() {
    LbImage picture(8, 8, 24, 3);
    picture.Clear(0x80);
    LbMemFile memory;
    memory.Open();
    EXPECT_TRUE(picture.Encode(&memory, 3));
    const size_t size = size_t(memory.Size());
    uint8_t* buffer = memory.GetBuffer(true);
    std::string bytes(reinterpret_cast<char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

Rgb ColourAt(const LbImage& image, int x, int yFromTop) {
    LbRgbQuad q = image.GetPixelColor(x, int(image.GetHeight()) - 1 - yFromTop);
    return {q.red, q.green, q.blue};
}

TEST_F(LogoDocument, PicturesOpenByContentAndOthersAreRefusedLeavingThePicture) {
    WriteFile(Path("old.bmp"), Bmp24(120, 100, Pattern));
    const std::string jpeg = JpegBytes();
    // A GIF whose one frame claims 20000 x 20000 pixels, named as a BMP.
    const std::string hugeGif = std::string("GIF89a\x20\x4e\x20\x4e\x00\x00\x00", 13) +
                                std::string("\x2c\0\0\0\0\x20\x4e\x20\x4e\x00\x02\x02\x44\x01\x00\x3b", 17);
    struct Case {
        const char* name;
        std::string bytes;
        const char* message;  // nullptr: the picture opens, as 24-bit true colour
    } cases[] = {
        {"eight.bmp", Bmp8(20, 10), nullptr},
        {"eight.jpg", Bmp8(20, 10), nullptr},
        {"eight.png", Bmp8(20, 10), nullptr},
        {"photo.jpg", jpeg, nullptr},
        {"photo.bmp", jpeg, nullptr},
        {"photo.gif", jpeg, nullptr},
        {"short.bmp", "BM", "\"short.bmp\" cannot be opened: it is not a picture this program reads (Not a BMP)."},
        {"notes.png", "just some words", "\"notes.png\" cannot be opened: it is not a picture this program reads"},
        {"missing.bmp", "", "\"missing.bmp\" cannot be opened: the file cannot be read."},
        {"pipe.png", "", "\"pipe.png\" cannot be opened: it is not a file."},
        {"huge.bmp", hugeGif, "\"huge.bmp\" cannot be opened: LbImage::Create can't allocate memory: picture of 20000 x 20000 pixels is over the pixel limit"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(doc.OnOpenDocument(Path("old.bmp")));
        if (std::string(c.name) == "pipe.png")
            mkfifo(Path(c.name).c_str(), 0600);
        else if (std::string(c.name) != "missing.bmp")
            WriteFile(Path(c.name), c.bytes);
        ui.prompts.shown.clear();
        view.hints.clear();
        const bool opened = doc.OnOpenDocument(Path(c.name));
        EXPECT_EQ(ui.busy.depth, 0) << c.name;
        EXPECT_EQ(app.m_nPage, 1);
        if (c.message == nullptr) {
            EXPECT_TRUE(opened) << c.name;
            EXPECT_TRUE(ui.prompts.shown.empty()) << c.name;
            ASSERT_TRUE(doc.SourceImage()) << c.name;
            EXPECT_EQ(doc.SourceImage()->GetBpp(), 24u) << c.name;
            EXPECT_EQ(view.hints, std::vector<long>{1025}) << c.name;
            continue;
        }
        EXPECT_FALSE(opened) << c.name;
        ASSERT_EQ(ui.prompts.Texts().size(), 1u) << c.name;
        EXPECT_EQ(ui.prompts.Texts()[0].rfind(c.message, 0), 0u) << ui.prompts.Texts()[0];
        ASSERT_TRUE(doc.SourceImage()) << c.name;
        EXPECT_EQ(doc.SourceImage()->GetWidth(), 120u) << c.name;
        EXPECT_TRUE(doc.LogoImage()) << c.name;
        EXPECT_TRUE(view.hints.empty()) << c.name;
    }
    // The 8-bit picture keeps its colours: pixel (x, y) has index (x + y) % 256, whose
    // palette entry is (i, 255 - i, i / 2).
    ASSERT_TRUE(doc.OnOpenDocument(Path("eight.png")));
    EXPECT_EQ(ColourAt(*doc.SourceImage(), 7, 3), (Rgb{10, 245, 5}));
}

TEST_F(LogoDocument, LoadMakesSourceAndBicubicLogo) {
    WriteFile(Path("pic.jpg"), Bmp24(200, 150, Pattern));  // a BMP under a JPEG name
    ASSERT_TRUE(doc.OnOpenDocument(Path("pic.jpg")));
    ASSERT_TRUE(doc.SourceImage());
    EXPECT_EQ(doc.SourceImage()->GetWidth(), 200u);
    EXPECT_EQ(doc.SourceImage()->GetHeight(), 150u);
    EXPECT_EQ(doc.SourceImage()->GetBpp(), 24u);
    ASSERT_TRUE(doc.LogoImage());
    EXPECT_EQ(doc.LogoImage()->GetWidth(), 96u);
    EXPECT_EQ(doc.LogoImage()->GetHeight(), 96u);
    EXPECT_EQ(view.hints, std::vector<long>{1025});
    EXPECT_EQ(doc.LogoPath(), Path("pic.jpg"));
    EXPECT_EQ(app.m_nPage, 1);
    EXPECT_TRUE(ui.prompts.shown.empty());
    EXPECT_EQ(ui.busy.begun, 1);
    EXPECT_EQ(ui.busy.depth, 0);

    doc.SetDither(true);
    ASSERT_TRUE(doc.OnOpenDocument(Path("pic.jpg")));
    EXPECT_EQ(doc.LogoImage()->GetBpp(), 1u) << "dithered at load";
}

TEST_F(LogoDocument, RawPictureSkipsTheLoadTimeResample) {
    WriteFile(Path("strip.raw"), Bmp24(130, 70, Pattern));
    ASSERT_TRUE(doc.OnOpenDocument(Path("strip.raw")));
    // The raw decoder reads any bytes, so the picture is a 128 x 64 strip picture.
    EXPECT_EQ(doc.SourceImage()->GetWidth(), 128u);
    EXPECT_EQ(doc.LogoImage()->GetWidth(), 128u);
    EXPECT_EQ(doc.LogoImage()->GetHeight(), 64u);
}

// What the logo view does at hint 1025, in picture terms.
TEST_F(LogoDocument, FirstSelectionGivesTopLeftOrScaledPicture) {
    WriteFile(Path("big.bmp"), Bmp24(200, 150, Pattern));
    ASSERT_TRUE(doc.OnOpenDocument(Path("big.bmp")));
    logo::Rect first = logo::FirstSelection(200, 150);
    EXPECT_EQ(first, (logo::Rect{0, 0, 96, 96}));
    ASSERT_TRUE(doc.CutLogo(first));
    for (int y : {0, 1, 50, 95})
        for (int x : {0, 1, 50, 95}) EXPECT_EQ(ColourAt(*doc.LogoImage(), x, y), Pattern(x, y)) << x << "," << y;

    WriteFile(Path("small.bmp"), Bmp24(50, 40, Pattern));
    ui.prompts.answers.push_back(platform::Answer::No);  // the logo cut above was not saved
    ASSERT_TRUE(doc.OnOpenDocument(Path("small.bmp")));
    EXPECT_EQ(ui.prompts.Texts(), std::vector<std::string>{"Do you want to save Logo File ?"});
    first = logo::FirstSelection(50, 40);
    EXPECT_EQ(first, (logo::Rect{0, 0, 50, 40}));
    ASSERT_TRUE(doc.CutLogo(first));
    // Nearest pixel: output column x takes column trunc(x * scale) with the scale
    // 50 / 96 in single precision (just below, so column 48 takes 24); rows are counted
    // from the bottom, so output row r from the bottom takes row trunc(r * scale).
    struct Sample {
        int x, sx;
    } columns[] = {{0, 0}, {1, 0}, {47, 24}, {48, 24}, {95, 49}};
    for (const Sample& c : columns)
        for (int rowFromBottom : {0, 3, 95}) {
            int sourceFromBottom = int(rowFromBottom * double(float(40.0 / 96)));
            EXPECT_EQ(ColourAt(*doc.LogoImage(), c.x, 95 - rowFromBottom), Pattern(c.sx, 39 - sourceFromBottom))
                << c.x << "," << rowFromBottom;
        }
}

TEST_F(LogoDocument, PictureCommandsTransformAndAskForTheLogoAgain) {
    WriteFile(Path("pic.bmp"), Bmp24(200, 150, Pattern));
    ASSERT_TRUE(doc.OnOpenDocument(Path("pic.bmp")));
    struct Case {
        int id;
        uint32_t width, height;
        logo::Point probe;  // where the source's top-left pixel ends up (from the top)
    } cases[] = {
        {cmd::RotateLeft, 150, 200, {0, 199}},
        {cmd::RotateRight, 200, 150, {0, 0}},  // back to the start
        {cmd::RotateRight, 150, 200, {149, 0}},
        {cmd::RotateLeft, 200, 150, {0, 0}},
        {cmd::FlipHorizontal, 200, 150, {199, 0}},
        {cmd::FlipVertical, 200, 150, {199, 149}},
    };
    for (const Case& c : cases) {
        view.hints.clear();
        doc.RunCommand(c.id);
        EXPECT_EQ(view.hints, std::vector<long>{1}) << c.id;
        EXPECT_EQ(doc.SourceImage()->GetWidth(), c.width) << c.id;
        EXPECT_EQ(doc.SourceImage()->GetHeight(), c.height) << c.id;
        EXPECT_EQ(ColourAt(*doc.SourceImage(), c.probe.x, c.probe.y), Pattern(0, 0)) << c.id;
    }
    view.hints.clear();
    doc.RunCommand(cmd::DitherToggle);
    EXPECT_EQ(doc.Dither(), 1);
    doc.RunCommand(cmd::DitherToggle);
    EXPECT_EQ(doc.Dither(), 0);
    doc.RunCommand(cmd::Cropping);
    doc.RunCommand(cmd::PictureInfo);
    EXPECT_EQ(view.hints, (std::vector<long>{1, 1, 1}));

    doc.DeleteImages();
    view.hints.clear();
    doc.RunCommand(cmd::RotateLeft);  // arrives without a picture: nothing happens
    EXPECT_TRUE(view.hints.empty());
}

TEST_F(LogoDocument, EnableRules) {
    platform::CommandRouter router([this] { return std::vector<platform::CommandTarget*>{&doc, &app}; });
    WriteFile(Path("pic.bmp"), Bmp24(30, 30, Pattern));
    struct State {
        const char* what;
        bool picture;
        int page;
        int dither;
        bool picturesEnabled, ditherChecked;
    } states[] = {
        {"no picture", false, 1, 0, false, false},
        {"picture", true, 1, 0, true, false},
        {"picture, dither on", true, 1, 1, true, true},
        {"picture, memo page mode", true, 0, 0, false, false},
    };
    for (const State& s : states) {
        doc.DeleteImages();
        if (s.picture) {
            ASSERT_TRUE(doc.OnOpenDocument(Path("pic.bmp")));
        }
        app.m_nPage = s.page;
        doc.SetDither(s.dither);
        for (int id : {cmd::RotateLeft, cmd::RotateRight, cmd::FlipHorizontal, cmd::FlipVertical, cmd::DitherToggle})
            EXPECT_EQ(router.Query(id).enabled, s.picturesEnabled) << s.what << " " << id;
        EXPECT_EQ(router.Query(cmd::DitherToggle).checked, s.ditherChecked) << s.what;
        EXPECT_FALSE(router.Query(cmd::Cropping).enabled) << s.what;
        EXPECT_TRUE(router.Query(cmd::PictureInfo).enabled) << s.what;
        if (s.page == 1) {
            EXPECT_EQ(router.Query(cmd::FileSave).enabled, s.picture) << s.what;
        }
    }
}

TEST_F(LogoDocument, SaveByExtension) {
    WriteFile(Path("pic.bmp"), Bmp24(200, 150, Pattern));
    ASSERT_TRUE(doc.OnOpenDocument(Path("pic.bmp")));
    ASSERT_TRUE(doc.CutLogo({0, 0, 96, 96}));

    EXPECT_TRUE(doc.OnSaveDocument(Path("logo.bmp")));
    EXPECT_EQ(doc.LogoPath(), Path("logo.bmp"));
    std::string file = ReadFile(Path("logo.bmp"));
    ASSERT_EQ(file.size(), 27702u);
    EXPECT_EQ(file[28], 16);
    EXPECT_TRUE(ui.prompts.shown.empty());

    EXPECT_TRUE(doc.OnSaveDocument(Path("logo.jpg")));
    EXPECT_EQ(doc.LogoPath(), Path("logo.jpg"));
    EXPECT_EQ(uint8_t(ReadFile(Path("logo.jpg"))[0]), 0xFF);
    EXPECT_TRUE(ui.prompts.shown.empty()) << "a written JPEG is no error";

    EXPECT_TRUE(doc.OnSaveDocument(Path("no/such/folder/logo.bmp"))) << "the framework still hears success";
    EXPECT_EQ(doc.LogoPath(), Path("logo.jpg"));
    EXPECT_EQ(ui.prompts.Texts(), std::vector<std::string>{"File Create Fail"});
}

// Yes to the question before the logo goes saves only under a picture name: a memo
// name used to write the contacts there and any other name nothing, both unsaid.
TEST_F(LogoDocument, AskedSaveRefusesANameThatIsNoPicture) {
    WriteFile(Path("pic.bmp"), Bmp24(200, 150, Pattern));
    ASSERT_TRUE(doc.OnOpenDocument(Path("pic.bmp")));
    ASSERT_TRUE(doc.CutLogo({0, 0, 96, 96}));
    struct Case {
        const char* name;
        bool saved;
    } cases[] = {{"asked.mmo", false}, {"asked.txt", false}, {"asked", false}, {"asked.png", true}};
    for (const Case& c : cases) {
        ui.prompts.shown.clear();
        ui.prompts.answers.push_back(platform::Answer::Yes);
        ui.dialogs.answers.push_back(Path(c.name));
        EXPECT_EQ(doc.AskToSaveChanges({DataKind::Logo}), c.saved) << c.name;
        EXPECT_EQ(std::filesystem::exists(Path(c.name)), c.saved) << c.name;
        EXPECT_EQ(doc.HasUnsavedChanges(DataKind::Logo), !c.saved) << c.name;
        std::vector<std::string> shown{"Do you want to save Logo File ?"};
        if (!c.saved) shown.push_back("Not BMP file!!");
        EXPECT_EQ(ui.prompts.Texts(), shown) << c.name;
    }
}

TEST_F(LogoDocument, PictureInfoText) {
    LbImage captured(1024, 768, 24, 0);
    EXPECT_EQ(logo::DescribeForStatusLine(captured).size, "1024 x 768 pixels");
    EXPECT_EQ(logo::DescribeForStatusLine(captured).kind, "");
    WriteFile(Path("pic.bmp"), Bmp24(200, 150, Pattern));
    ASSERT_TRUE(doc.OnOpenDocument(Path("pic.bmp")));
    ShowPictureInfo(doc);
    EXPECT_EQ(ui.status.texts, std::vector<std::string>{"BMP 200 x 150 pixels"});
}

}  // namespace
