// The byte streams the codecs read and write.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "image/LbFile.h"
#include "support/ImageTestFiles.h"

namespace {

TEST(LbMemFile, GrowsInWhole4096ByteSteps) {
    struct Case {
        std::vector<size_t> writes;
        size_t capacity;
    };
    const Case cases[] = {{{5000}, 8192}, {{1}, 4096}, {{4096}, 4096}, {{4097}, 8192}, {{4000, 100}, 8192}, {{1, 1, 1}, 4096}};
    for (const Case& c : cases) {
        LbMemFile file;
        ASSERT_TRUE(file.Open());
        EXPECT_FALSE(file.Open());  // a buffer exists
        size_t total = 0;
        for (size_t n : c.writes) {
            std::vector<uint8_t> bytes(n, 0x5A);
            EXPECT_EQ(file.Write(bytes.data(), 1, n), n);
            total += n;
        }
        EXPECT_EQ(file.GetCapacity(), c.capacity);
        EXPECT_EQ(file.Size(), int64_t(total));
        EXPECT_EQ(file.Tell(), int64_t(total));
    }
}

TEST(LbMemFile, ReadSeekAndEnd) {
    uint8_t data[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    LbMemFile file(data, sizeof data);
    uint8_t buf[8] = {};
    EXPECT_EQ(file.Read(buf, 4, 2), 2u);
    EXPECT_EQ(buf[7], 7);
    EXPECT_EQ(file.Read(buf, 4, 2), 0u);  // only 2 bytes left: no whole item
    EXPECT_EQ(file.Tell(), 10);            // ...but they were consumed
    EXPECT_TRUE(file.Eof());
    EXPECT_EQ(file.GetC(), -1);
    EXPECT_TRUE(file.Seek(-3, 2));
    EXPECT_EQ(file.GetC(), 7);
    EXPECT_FALSE(file.Seek(-20, 1));
    EXPECT_EQ(file.Tell(), 8);
    EXPECT_FALSE(file.Seek(0, 3));
    EXPECT_TRUE(file.Seek(50, 0));  // past the end is allowed
    EXPECT_EQ(file.Error(), 1);
    EXPECT_EQ(file.Read(buf, 1, 1), 0u);

    // Writing past the caller's bytes moves them into a buffer of the stream's own;
    // the caller's array is not reallocated or freed.
    EXPECT_TRUE(file.Seek(8, 0));
    const uint8_t more[4] = {20, 21, 22, 23};
    EXPECT_EQ(file.Write(more, 1, 4), 4u);
    EXPECT_EQ(file.Size(), 12);
    EXPECT_EQ(data[9], 9);
    EXPECT_EQ(file.GetBuffer(false)[9], 21);
}

TEST(LbMemFile, WithoutABuffer) {
    LbMemFile file;
    uint8_t b = 0;
    EXPECT_EQ(file.Read(&b, 1, 1), 0u);
    EXPECT_EQ(file.Write(&b, 1, 1), 0u);
    EXPECT_EQ(file.Tell(), -1);
    EXPECT_EQ(file.Size(), -1);
    EXPECT_EQ(file.Error(), -1);
    EXPECT_TRUE(file.Eof());
    EXPECT_FALSE(file.Flush());
    EXPECT_TRUE(file.Open());
    EXPECT_TRUE(file.PutC(0x41));
    uint8_t* owned = file.GetBuffer(true);
    ASSERT_NE(owned, nullptr);
    EXPECT_EQ(owned[0], 0x41);
    std::free(owned);
    EXPECT_EQ(file.Size(), -1);
}

TEST(LbIOFile, MapsOntoStdio) {
    const std::string path = imgtest::TempPath("iofile.bin");
    LbIOFile out;
    ASSERT_TRUE(out.Open(path.c_str(), "wb"));
    EXPECT_FALSE(out.Open(path.c_str(), "wb"));
    EXPECT_TRUE(out.PutC(0xFF));
    EXPECT_EQ(out.Write("abc", 1, 3), 3u);
    EXPECT_TRUE(out.Close());
    EXPECT_FALSE(out.Close());

    LbIOFile in;
    ASSERT_TRUE(in.Open(path.c_str(), "rb"));
    EXPECT_EQ(in.Size(), 4);
    EXPECT_EQ(in.GetC(), 0xFF);
    EXPECT_EQ(in.Tell(), 1);
    EXPECT_TRUE(in.Seek(-1, 2));
    EXPECT_EQ(in.GetC(), 'c');
    EXPECT_EQ(in.GetC(), -1);
    EXPECT_TRUE(in.Eof());

    LbIOFile none;
    EXPECT_EQ(none.Tell(), -1);
    EXPECT_EQ(none.Error(), -1);
    EXPECT_TRUE(none.Eof());
    EXPECT_FALSE(none.Open((path + "/missing/x").c_str(), "rb"));
}

}  // namespace
