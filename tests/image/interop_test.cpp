// Pictures exchanged with a decoder and encoder that are not ours (Pillow): files we
// write must read back the same there, and files it writes must decode the same here.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "image/LbImage.h"
#include "support/ImageTestFiles.h"

namespace {

using namespace imgtest;

const char* kPython = "/usr/bin/python3";

bool HavePillow() {
    const std::string cmd = std::string(kPython) + " -c 'import PIL' >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0;
}

// Runs a Python snippet with Pillow; false when it fails.
bool RunPython(const std::string& name, const std::string& code) {
    const std::string script = TempPath(name);
    WriteFile(script, Bytes(code.begin(), code.end()));
    return std::system((std::string(kPython) + " " + script).c_str()) == 0;
}

// Pillow's view of a picture: RGB bytes, rows from the top.
const char* kDumpFunction =
    "from PIL import Image\n"
    "def dump(src, dst):\n"
    "    im = Image.open(src)\n"
    "    if im.mode.startswith('I'):\n"
    "        im = im.point(lambda v: v / 256)\n"
    "    open(dst, 'wb').write(im.convert('RGB').tobytes())\n";

Bytes OurPixels(const LbImage& image) {
    Bytes out;
    for (int32_t row = 0; row < int32_t(image.GetHeight()); ++row)
        for (int32_t x = 0; x < int32_t(image.GetWidth()); ++x) {
            const LbRgbQuad c = image.GetPixelColor(x, int32_t(image.GetHeight()) - 1 - row);
            out.insert(out.end(), {c.red, c.green, c.blue});
        }
    return out;
}

TEST(Interop, PillowReadsWhatWeWrite) {
    if (!HavePillow()) GTEST_SKIP() << "Pillow is not installed";
    struct Case {
        const char* name;
        uint32_t bpp, type;
    };
    const Case cases[] = {{"ours1.bmp", 1, LB_FORMAT_BMP}, {"ours4.bmp", 4, LB_FORMAT_BMP}, {"ours8.bmp", 8, LB_FORMAT_BMP},
                          {"ours24.bmp", 24, LB_FORMAT_BMP}, {"ours1.png", 1, LB_FORMAT_PNG}, {"ours4.png", 4, LB_FORMAT_PNG},
                          {"ours8.png", 8, LB_FORMAT_PNG},   {"ours24.png", 24, LB_FORMAT_PNG}, {"oursgrey.jpg", 8, LB_FORMAT_JPG}};
    std::string script = kDumpFunction;
    for (const Case& c : cases) {
        LbImage image = Pattern24(29, 13);
        if (c.bpp < 24) {
            LbImage indexed(29, 13, c.bpp);
            if (c.type == LB_FORMAT_JPG) {
                indexed.SetGrayPalette();
            } else {
                for (uint32_t i = 0; i < indexed.GetNumColors(); ++i)
                    indexed.SetPaletteColor(uint8_t(i), uint8_t(i * 37), uint8_t(i * 11), uint8_t(255 - i));
            }
            for (int y = 0; y < 13; ++y)
                for (int x = 0; x < 29; ++x) indexed.SetPixelIndex(x, y, uint8_t(c.type == LB_FORMAT_JPG ? 0 : (x + 3 * y) % (1 << c.bpp)));
            image = indexed;
        }
        const std::string path = TempPath(c.name);
        ASSERT_TRUE(image.Save(path, c.type)) << c.name << ": " << image.GetLastError();
        script += "dump('" + path + "', '" + path + ".pillow')\n";
    }
    ASSERT_TRUE(RunPython("interop-read.py", script));
    for (const Case& c : cases) {
        const std::string path = TempPath(c.name);
        LbImage ours;
        ASSERT_TRUE(ours.Load(path, c.type));
        EXPECT_EQ(ReadFile(path + ".pillow"), OurPixels(ours)) << c.name;
    }
}

TEST(Interop, WeReadWhatPillowWrites) {
    if (!HavePillow()) GTEST_SKIP() << "Pillow is not installed";
    const std::string dir = TempPath("");
    std::string script = kDumpFunction;
    script += "import os\n"
              "d = '" + dir + "'\n"
              "base = Image.new('RGB', (37, 23))\n"
              "base.putdata([(x * 7 % 256, y * 11 % 256, (x * y) % 256) for y in range(23) for x in range(37)])\n"
              "pics = {\n"
              " 'f_rgb.bmp': base, 'f_p8.bmp': base.convert('P', palette=Image.ADAPTIVE, colors=200),\n"
              " 'f_1.bmp': base.convert('1'), 'f_l.bmp': base.convert('L'), 'f_rgba.bmp': base.convert('RGBA'),\n"
              " 'f_rgb.png': base, 'f_rgba.png': base.convert('RGBA'), 'f_la.png': base.convert('LA'),\n"
              " 'f_l.png': base.convert('L'), 'f_1.png': base.convert('1'),\n"
              " 'f_p.png': base.convert('P', palette=Image.ADAPTIVE, colors=100),\n"
              " 'f_i16.png': base.convert('L').convert('I').point(lambda v: v * 257).convert('I;16'),\n"
              " 'f_rgb.jpg': base, 'f_l.jpg': base.convert('L'), 'f_cmyk.jpg': base.convert('CMYK'),\n"
              "}\n"
              "for name, im in pics.items():\n"
              "    im.save(os.path.join(d, name), quality=90)\n"
              "    dump(os.path.join(d, name), os.path.join(d, name + '.pillow'))\n"
              "base.save(os.path.join(d, 'f_prog.jpg'), quality=90, progressive=True)\n"
              "dump(os.path.join(d, 'f_prog.jpg'), os.path.join(d, 'f_prog.jpg.pillow'))\n";
    ASSERT_TRUE(RunPython("interop-write.py", script));
    for (const char* name : {"f_rgb.bmp", "f_p8.bmp", "f_1.bmp", "f_l.bmp", "f_rgba.bmp", "f_rgb.png", "f_rgba.png",
                             "f_la.png", "f_l.png", "f_1.png", "f_p.png", "f_i16.png", "f_rgb.jpg", "f_l.jpg",
                             "f_cmyk.jpg", "f_prog.jpg"}) {
        LbImage ours;
        ASSERT_TRUE(ours.Load(TempPath(name), LB_FORMAT_UNKNOWN)) << name << ": " << ours.GetLastError();
        EXPECT_EQ(ReadFile(TempPath(name) + ".pillow"), OurPixels(ours)) << name;
    }
}

}  // namespace
