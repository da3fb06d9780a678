// GIF through the container's format dispatch (by code, by detection, by file name)
// and through lyrabox-cli convert.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "cli/Convert.h"
#include "image/LbFile.h"
#include "image/LbImage.h"
#include "support/GifTestSupport.h"

using namespace giftest;

TEST(GifDispatch, SaveAndLoadByName) {
    const LbImage image = MakeIndexed(31, 9, 4, [](uint32_t x, uint32_t y) { return uint8_t((x + y) % 16); });
    const std::string path = TempPath("dispatch.gif");
    LbImage saved(image);
    ASSERT_TRUE(saved.Save(path, LB_FORMAT_GIF));
    for (uint32_t type : {uint32_t(LB_FORMAT_GIF), uint32_t(LB_FORMAT_UNKNOWN)}) {
        LbImage loaded;
        ASSERT_TRUE(loaded.Load(path, type)) << loaded.GetLastError();
        EXPECT_EQ(loaded.GetType(), uint32_t(LB_FORMAT_GIF));
        EXPECT_EQ(loaded.GetNumFrames(), 1);
        EXPECT_EQ(Indices(loaded), Indices(image));
    }
    std::remove(path.c_str());
}

TEST(GifDispatch, FrameNumberGoesInAndCountComesBack) {
    LbImage a = MakeIndexed(4, 4, 8, [](uint32_t, uint32_t) { return uint8_t(1); });
    LbImage b = MakeIndexed(4, 4, 8, [](uint32_t, uint32_t) { return uint8_t(2); });
    LbImage* images[] = {&a, &b};
    LbMemFile file;
    file.Open();
    LbImage writer;
    ASSERT_TRUE(writer.Encode(&file, images, 2, LB_FORMAT_GIF));

    const uint8_t* data = file.GetBuffer(false);
    const size_t size = size_t(file.Size());
    LbImage second;
    second.SetFrame(1);
    ASSERT_TRUE(second.Decode(data, size, LB_FORMAT_GIF));
    EXPECT_EQ(second.GetNumFrames(), 2);
    EXPECT_EQ(second.GetPixelIndex(0, 0), 2);

    LbImage beyond;
    beyond.SetFrame(2);
    EXPECT_FALSE(beyond.Decode(data, size, LB_FORMAT_GIF));
    EXPECT_EQ(beyond.GetNumFrames(), 2);

    LbImage other;
    EXPECT_FALSE(other.Encode(&file, images, 2, LB_FORMAT_BMP));
    EXPECT_STREQ(other.GetLastError(), "Multipage Encode, Unsupported operation for this format");
}

TEST(GifCli, ConvertPicksTheFrame) {
    const auto table = Table(4);
    const Bytes gif = GifBuilder()
                          .Header(3, 2, table)
                          .Image(0, 0, 3, 2, std::vector<uint8_t>(6, 1))
                          .Image(0, 0, 3, 2, std::vector<uint8_t>(6, 2))
                          .Trailer()
                          .bytes();
    const std::string in = TempPath("cli_in.gif"), bmp = TempPath("cli_out.bmp"), back = TempPath("cli_back.gif");
    std::ofstream(in, std::ios::binary).write(reinterpret_cast<const char*>(gif.data()), std::streamsize(gif.size()));

    ASSERT_EQ(cli::RunConvert({in, bmp, "--frame", "1"}), 0);
    LbImage picture;
    ASSERT_TRUE(picture.Load(bmp, LB_FORMAT_BMP));
    EXPECT_EQ(picture.GetPixelColor(0, 0).green, table[2].green);

    // And back to GIF: the same pixels.
    ASSERT_EQ(cli::RunConvert({bmp, back}), 0);
    LbImage again;
    ASSERT_TRUE(again.Load(back, LB_FORMAT_GIF));
    EXPECT_EQ(Rgb(again), Rgb(picture));
    for (const auto& p : {in, bmp, back}) std::remove(p.c_str());
}
