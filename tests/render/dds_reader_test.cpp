// The DDS reader on files written by the tests: the format table, the level
// sizes, the extended "DX10" header, the two messages, and every kind of
// broken or lying file failing without a message, an over-read or a huge
// allocation.
#include "render/dds_reader.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <limits>
#include <optional>

#include "support/scratch_folder.h"

namespace {

constexpr GLenum kDxt1 = 0x83F1;
constexpr GLenum kDxt3 = 0x83F2;
constexpr GLenum kDxt5 = 0x83F3;

struct DdsFile {
    std::uint32_t width = 256;
    std::uint32_t height = 256;
    std::string fourCc = "DXT1";              // empty: an uncompressed 32-bit RGBA file
    std::optional<std::uint32_t> dxgiFormat;  // with fourCc "DX10"
    std::uint32_t resourceDimension = 3;
    std::uint32_t miscFlag = 0;
    std::uint32_t arraySize = 1;
    std::uint32_t caps2 = 0;
    std::uint32_t linearSize = 32768;
    std::uint32_t dataBytes = 32768;  // what actually follows the headers
};

void putLe32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// The byte every data position holds, so a test can tell where a read began.
std::uint8_t dataByte(std::size_t index) {
    return static_cast<std::uint8_t>(index * 7 + 1);
}

std::vector<std::uint8_t> makeDds(const DdsFile& layout) {
    const std::size_t headerEnd = layout.dxgiFormat ? 148 : 128;
    std::vector<std::uint8_t> bytes(headerEnd + layout.dataBytes, 0xEE);
    std::fill(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(headerEnd), 0);
    std::memcpy(bytes.data(), "DDS ", 4);
    putLe32(bytes, 4, 124);
    putLe32(bytes, 8, 0x81007);  // caps, height, width, pixel format, linear size
    putLe32(bytes, 12, layout.height);
    putLe32(bytes, 16, layout.width);
    putLe32(bytes, 20, layout.linearSize);
    putLe32(bytes, 76, 32);
    if (layout.fourCc.empty()) {
        putLe32(bytes, 80, 0x41);  // RGB with alpha
        putLe32(bytes, 88, 32);
        putLe32(bytes, 92, 0x00FF0000);
        putLe32(bytes, 96, 0x0000FF00);
        putLe32(bytes, 100, 0x000000FF);
        putLe32(bytes, 104, 0xFF000000);
    } else {
        putLe32(bytes, 80, 0x4);
        std::memcpy(bytes.data() + 84, layout.fourCc.data(), 4);
    }
    putLe32(bytes, 108, 0x1000);
    putLe32(bytes, 112, layout.caps2);
    if (layout.dxgiFormat) {
        putLe32(bytes, 128, *layout.dxgiFormat);
        putLe32(bytes, 132, layout.resourceDimension);
        putLe32(bytes, 136, layout.miscFlag);
        putLe32(bytes, 140, layout.arraySize);
    }
    for (std::size_t i = 0; i < layout.dataBytes; ++i) {
        bytes[headerEnd + i] = dataByte(i);
    }
    return bytes;
}

DdsFile dx10(std::uint32_t dxgiFormat, std::uint32_t levelBytes) {
    DdsFile layout;
    layout.fourCc = "DX10";
    layout.dxgiFormat = dxgiFormat;
    layout.linearSize = levelBytes;
    layout.dataBytes = levelBytes;
    return layout;
}

class DdsReaderTest : public ::testing::Test {
  protected:
    // Loads `bytes` written as a file; `output` receives what was printed.
    CompressedImage load(const std::vector<std::uint8_t>& bytes, std::string* output = nullptr) {
        path_ = folder_.write("image.dds", bytes);
        testing::internal::CaptureStdout();
        CompressedImage image = loadDDS(path_);
        const std::string printed = testing::internal::GetCapturedStdout();
        if (output != nullptr) {
            *output = printed;
        }
        return image;
    }

    // A failed image with nothing printed.
    void expectSilentFailure(const std::vector<std::uint8_t>& bytes) {
        std::string output;
        const CompressedImage image = load(bytes, &output);
        EXPECT_EQ(output, "");
        expectFailed(image);
    }

    static void expectFailed(const CompressedImage& image) {
        EXPECT_EQ(image.data, nullptr);
        EXPECT_EQ(image.width, 0);
        EXPECT_EQ(image.height, 0);
        EXPECT_EQ(image.imageSize, 0u);
        EXPECT_EQ(image.glFormat, 0u);
    }

    std::string notATextureLine() const {
        return "Unable to load DDS image file from path[" + path_ + "]\n";
    }
    std::string unsupportedLine() const {
        return "Unable to load DDS image file [" + path_ + "] due to an unsupported format.\n";
    }

    ScratchFolder folder_ = ScratchFolder::inTemp();
    std::string path_;
};

TEST_F(DdsReaderTest, FourCcFormatsGiveTheirGlFormatAndLevelSize) {
    struct Case {
        const char* fourCc;
        GLenum glFormat;
        std::uint32_t levelBytes;
    };
    for (const Case& c :
         {Case{"DXT1", kDxt1, 32768}, Case{"DXT3", kDxt3, 65536}, Case{"DXT5", kDxt5, 65536}}) {
        SCOPED_TRACE(c.fourCc);
        DdsFile layout;
        layout.fourCc = c.fourCc;
        layout.linearSize = layout.dataBytes = c.levelBytes;
        std::string output;
        const CompressedImage image = load(makeDds(layout), &output);
        EXPECT_EQ(output, "");
        ASSERT_NE(image.data, nullptr);
        EXPECT_EQ(image.width, 256);
        EXPECT_EQ(image.height, 256);
        EXPECT_EQ(image.imageSize, c.levelBytes);
        EXPECT_EQ(image.glFormat, c.glFormat);
        EXPECT_EQ(image.data[0], dataByte(0));
        EXPECT_EQ(image.data[c.levelBytes - 1], dataByte(c.levelBytes - 1));
    }
}

TEST_F(DdsReaderTest, PartialBlocksRoundUp) {
    DdsFile layout;
    layout.width = 5;
    layout.height = 3;
    layout.linearSize = layout.dataBytes = 16;
    const CompressedImage image = load(makeDds(layout));
    ASSERT_NE(image.data, nullptr);
    EXPECT_EQ(image.imageSize, 2u * 1u * 8u);
    EXPECT_EQ(image.width, 5);
    EXPECT_EQ(image.height, 3);
    EXPECT_EQ(compressedLevelSize(1, 1, 16), 16u);
    EXPECT_EQ(compressedLevelSize(4, 4, 8), 8u);
    EXPECT_EQ(compressedLevelSize(0x80000000u, 0x80000000u, 16), 0x4000000000000000ull);
}

TEST_F(DdsReaderTest, AFullMipChainStillReadsTheLinearSizeOnly) {
    DdsFile layout;
    layout.linearSize = 32768;
    layout.dataBytes = 32768 + 8192 + 2048 + 512;  // levels 0 to 3 follow
    std::uint32_t linearSize = 0;
    const std::string path = folder_.write("mips.dds", makeDds(layout));
    const auto data = readDdsLevelZero(path, 128, 32768, &linearSize);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(linearSize, 32768u);
    EXPECT_EQ(load(makeDds(layout)).imageSize, 32768u);
}

TEST_F(DdsReaderTest, ExtendedHeaderFormatsMapToTheSameRowsAndReadFromOffset148) {
    struct Case {
        std::uint32_t dxgi;
        GLenum glFormat;
        std::uint32_t levelBytes;
    };
    // unorm and sRGB of BC1, BC2, BC3; sRGB gets the linear format.
    for (const Case& c : {Case{71, kDxt1, 32768}, Case{72, kDxt1, 32768}, Case{74, kDxt3, 65536},
                          Case{75, kDxt3, 65536}, Case{77, kDxt5, 65536}, Case{78, kDxt5, 65536}}) {
        SCOPED_TRACE(c.dxgi);
        std::string output;
        const CompressedImage image = load(makeDds(dx10(c.dxgi, c.levelBytes)), &output);
        EXPECT_EQ(output, "");
        ASSERT_NE(image.data, nullptr);
        EXPECT_EQ(image.glFormat, c.glFormat);
        EXPECT_EQ(image.imageSize, c.levelBytes);
        EXPECT_EQ(image.data[0], dataByte(0));  // not the extended header's bytes
        EXPECT_EQ(image.data[c.levelBytes - 1], dataByte(c.levelBytes - 1));
    }
}

TEST_F(DdsReaderTest, UncompressedAndOtherFormatsPrintTheUnsupportedMessage) {
    DdsFile rgba;
    rgba.fourCc = "";
    rgba.linearSize = rgba.dataBytes = 256 * 256 * 4;
    DdsFile otherFourCc;
    otherFourCc.fourCc = "ATI2";
    for (const auto& bytes : {makeDds(rgba), makeDds(otherFourCc), makeDds(dx10(28, 262144)),
                              makeDds(dx10(80, 32768)), makeDds(dx10(98, 65536))}) {
        std::string output;
        const CompressedImage image = load(bytes, &output);
        EXPECT_EQ(output, unsupportedLine());
        expectFailed(image);
    }
}

TEST_F(DdsReaderTest, FilesThatAreNotA2DTexturePrintTheFirstMessage) {
    std::vector<std::vector<std::uint8_t>> files;
    files.push_back({});
    files.push_back(std::vector<std::uint8_t>(4096, 0x5A));
    files.push_back(makeDds(DdsFile{}));
    files.back().resize(100);  // the header itself is cut short
    files.push_back(makeDds(DdsFile{}));
    putLe32(files.back(), 4, 120);  // header size
    files.push_back(makeDds(DdsFile{}));
    putLe32(files.back(), 76, 24);                   // pixel-format size
    for (const std::uint32_t extent : {12u, 16u}) {  // height, width of 0
        files.push_back(makeDds(DdsFile{}));
        putLe32(files.back(), extent, 0);
    }
    DdsFile cube;
    cube.caps2 = 0xFE00;
    files.push_back(makeDds(cube));
    DdsFile array = dx10(71, 32768);
    array.arraySize = 6;
    files.push_back(makeDds(array));
    DdsFile volume = dx10(71, 32768);
    volume.resourceDimension = 4;
    files.push_back(makeDds(volume));
    DdsFile cubeDx10 = dx10(71, 32768);
    cubeDx10.miscFlag = 0x4;
    files.push_back(makeDds(cubeDx10));
    files.push_back(makeDds(dx10(71, 32768)));
    files.back().resize(140);  // extended header cut short

    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(i);
        std::string output;
        const CompressedImage image = load(files[i], &output);
        EXPECT_EQ(output, notATextureLine());
        expectFailed(image);
    }
}

TEST_F(DdsReaderTest, AMissingFileIsNotATexture) {
    path_ = folder_.file("absent.dds");
    testing::internal::CaptureStdout();
    const CompressedImage image = loadDDS(path_);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), notATextureLine());
    expectFailed(image);
}

// Only DDS is read, so a texture in another container (here a KTX-style
// identifier and header holding DXT1 data) is not a texture to this reader.
TEST_F(DdsReaderTest, ATextureInAnotherContainerPrintsTheFirstMessage) {
    std::vector<std::uint8_t> ktx = {0xAB, 'K',  'T',  'X',  ' ',  '1',
                                     '1',  0xBB, '\r', '\n', 0x1A, '\n'};
    ktx.resize(64 + 32768, 0);
    putLe32(ktx, 12, 0x04030201);
    putLe32(ktx, 28, kDxt1);
    putLe32(ktx, 36, 256);
    putLe32(ktx, 40, 256);
    std::string output;
    const CompressedImage image = load(ktx, &output);
    EXPECT_EQ(output, notATextureLine());
    expectFailed(image);
}

TEST_F(DdsReaderTest, SecondReadFailsSilentlyOnAWrongMagicOrAMissingFile) {
    std::vector<std::uint8_t> bytes = makeDds(DdsFile{});
    std::memcpy(bytes.data(), "DDS\0", 4);
    const std::string path = folder_.write("magic.dds", bytes);
    testing::internal::CaptureStdout();
    EXPECT_EQ(readDdsLevelZero(path, 128, 32768), nullptr);
    EXPECT_EQ(readDdsLevelZero(folder_.file("gone.dds"), 128, 32768), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(DdsReaderTest, LinearSizeSmallerThanTheLevelFailsSilently) {
    DdsFile layout;
    layout.linearSize = 32767;
    expectSilentFailure(makeDds(layout));
    layout.linearSize = 0;
    expectSilentFailure(makeDds(layout));
}

TEST_F(DdsReaderTest, FileEndingBeforeTheLinearSizeFailsSilently) {
    DdsFile truncated;
    truncated.dataBytes = 100;
    expectSilentFailure(makeDds(truncated));
    DdsFile headerOnly;
    headerOnly.dataBytes = 0;
    expectSilentFailure(makeDds(headerOnly));
    DdsFile oneShort;
    oneShort.dataBytes = 32767;
    expectSilentFailure(makeDds(oneShort));
    DdsFile shortAfterExtendedHeader = dx10(71, 32768);
    shortAfterExtendedHeader.dataBytes = 32768 - 20;
    expectSilentFailure(makeDds(shortAfterExtendedHeader));
}

// For a death test's child: caps the address space at 64 MiB more than the
// process uses now, so that any larger allocation throws std::bad_alloc
// (failing the death test), then loads `path` and exits 0 if the load
// failed as it should.
[[noreturn]] void loadWithLittleAddressSpace(const std::string& path) {
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const auto limit = static_cast<rlim_t>(pages * sysconf(_SC_PAGESIZE)) + (rlim_t{64} << 20);
    const rlimit space{limit, limit};
    if (setrlimit(RLIMIT_AS, &space) != 0) {
        std::exit(3);
    }
    std::exit(loadDDS(path).data == nullptr ? 0 : 2);
}

// A lie fails the same way whether or not the reader first allocates what
// it names, so the load also runs where allocating 256 MiB or 4 GiB fails.
TEST_F(DdsReaderTest, LyingLinearSizeNeverAllocatesMoreThanTheFileHolds) {
    for (const std::uint32_t lie : {0x10000000u, 0xFFFFFFFFu}) {
        DdsFile layout;
        layout.linearSize = lie;
        expectSilentFailure(makeDds(layout));
        EXPECT_EXIT(loadWithLittleAddressSpace(path_), ::testing::ExitedWithCode(0), "") << lie;
    }
}

TEST_F(DdsReaderTest, AbsurdExtentsFailSilentlyWithoutWrapping) {
    // Both would wrap to a small 32-bit size: 2^31 x 4 texels of DXT1 is
    // 2^32 bytes, and 2^16 x 2^16 of DXT5 is 2^32 bytes too.
    DdsFile wide;
    wide.width = 0x80000000u;
    wide.height = 4;
    wide.linearSize = 0;
    wide.dataBytes = 64;
    expectSilentFailure(makeDds(wide));
    DdsFile square;
    square.fourCc = "DXT5";
    square.width = square.height = 65536;
    square.linearSize = 0;
    square.dataBytes = 64;
    expectSilentFailure(makeDds(square));
    DdsFile widest;
    widest.width = widest.height = 0xFFFFFFFFu;
    widest.linearSize = 0xFFFFFFFFu;
    widest.dataBytes = 64;
    expectSilentFailure(makeDds(widest));
}

// A file cut short anywhere: inside the headers it is not a texture (first
// message); after them, before the level's last byte, it fails silently.
TEST_F(DdsReaderTest, TruncatedAtEveryByteFailsWithoutAnOverRead) {
    DdsFile small;
    small.width = small.height = 4;
    small.linearSize = small.dataBytes = 8;
    DdsFile smallDx10 = dx10(71, 8);
    smallDx10.width = smallDx10.height = 4;
    for (const DdsFile& layout : {small, smallDx10}) {
        const std::vector<std::uint8_t> whole = makeDds(layout);
        const std::size_t headerEnd = layout.dxgiFormat ? 148 : 128;
        for (std::size_t length = 0; length < whole.size(); ++length) {
            SCOPED_TRACE(length);
            std::string output;
            const CompressedImage image =
                load(std::vector<std::uint8_t>(whole.begin(),
                                               whole.begin() + static_cast<std::ptrdiff_t>(length)),
                     &output);
            EXPECT_EQ(output, length < headerEnd ? notATextureLine() : "");
            expectFailed(image);
        }
        EXPECT_NE(load(whole).data, nullptr);
    }
}

TEST_F(DdsReaderTest, OneTexelIsOneBlockAndTwoToTheThirtyOneTexelsFail) {
    DdsFile one;
    one.width = one.height = 1;
    one.linearSize = one.dataBytes = 8;
    const CompressedImage image = load(makeDds(one));
    ASSERT_NE(image.data, nullptr);
    EXPECT_EQ(image.width, 1);
    EXPECT_EQ(image.height, 1);
    EXPECT_EQ(image.imageSize, 8u);

    for (const std::uint32_t lie : {0u, 1u, 0x80000000u}) {
        SCOPED_TRACE(lie);
        DdsFile tall = one;
        tall.height = 0x80000000u;
        tall.linearSize = lie;
        expectSilentFailure(makeDds(tall));
        DdsFile wide = one;
        wide.width = 0x80000000u;
        wide.linearSize = lie;
        expectSilentFailure(makeDds(wide));
    }
}

TEST_F(DdsReaderTest, WrongFourCcsAndExtendedFormatsAreUnsupported) {
    std::vector<std::vector<std::uint8_t>> files;
    for (const char* code : {"dxt1", "DXT2", "DXT4", "DX11", "\0\0\0\0"}) {
        DdsFile layout;
        layout.fourCc = std::string(code, 4);
        files.push_back(makeDds(layout));
    }
    for (const std::uint32_t dxgi : {0u, 70u, 73u, 76u, 79u, 0xFFFFFFFFu}) {
        files.push_back(makeDds(dx10(dxgi, 32768)));
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(i);
        std::string output;
        const CompressedImage image = load(files[i], &output);
        EXPECT_EQ(output, unsupportedLine());
        expectFailed(image);
    }
}

TEST(DdsHeader, ParsesTheDescriptionWithoutTouchingFiles) {
    DdsFile layout;
    layout.fourCc = "DXT5";
    layout.width = 64;
    layout.height = 32;
    const std::vector<std::uint8_t> bytes = makeDds(layout);
    const DdsDescription description = parseDdsHeader(bytes.data(), 148);
    EXPECT_EQ(description.verdict, DdsVerdict::Usable);
    EXPECT_EQ(description.width, 64u);
    EXPECT_EQ(description.height, 32u);
    EXPECT_EQ(description.glFormat, kDxt5);
    EXPECT_EQ(description.blockBytes, 16u);
    EXPECT_EQ(description.dataOffset, 128u);
    EXPECT_EQ(parseDdsHeader(bytes.data(), 127).verdict, DdsVerdict::NotATexture);
    const std::vector<std::uint8_t> extended = makeDds(dx10(72, 32768));
    EXPECT_EQ(parseDdsHeader(extended.data(), 148).dataOffset, 148u);
}

TEST(DdsAssets, TheGameTexturesLoad) {
    struct Case {
        const char* path;
        GLenum glFormat;
        std::uint32_t levelBytes;
    };
    for (const Case& c : {Case{"/assets/textures/wood_texture.dds", kDxt1, 32768},
                          Case{"/assets/textures/tiles_diffuse.dds", kDxt5, 65536}}) {
        SCOPED_TRACE(c.path);
        testing::internal::CaptureStdout();
        const CompressedImage image = loadDDS(std::string(QUORLAND_SOURCE_DIR) + c.path);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        ASSERT_NE(image.data, nullptr);
        EXPECT_EQ(image.width, 256);
        EXPECT_EQ(image.height, 256);
        EXPECT_EQ(image.glFormat, c.glFormat);
        EXPECT_EQ(image.imageSize, c.levelBytes);
    }
}

}  // namespace
