// lyrabox-cli convert reads and writes GIF and picks the frame with --frame.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "cli/Convert.h"
#include "image/LbImage.h"
#include "support/GifTestSupport.h"

using namespace giftest;

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
