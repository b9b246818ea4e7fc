#include "engine/psd/psd_document.h"
#include "engine/psd/srgb_profile.h"
#include "platform/files.h"
#include "support/image_builders.h"
#include "support/independent_readers.h"
#include "support/psd_document_file.h"
#include "support/psd_reader.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace lumbrix {
namespace {

class PsdDocumentTest : public ::testing::Test {
protected:
  void SetUp() override { ignore_file_size_signal(); }
  QString path(const char *name) const { return dir.filePath(QLatin1String(name)); }

  QTemporaryDir dir;
};

QByteArray rgba_of(const Image &image) {
  QByteArray bytes;
  for (const Rgba &c : test::pixels(image))
    for (const std::uint8_t sample : {c.red, c.green, c.blue, c.alpha})
      bytes.append(static_cast<char>(sample));
  return bytes;
}

Rgba noise_at(int x, int y) {
  std::minstd_rand engine(static_cast<unsigned>(y * 40009 + x + 1));
  return {static_cast<std::uint8_t>(engine()), static_cast<std::uint8_t>(engine()),
          static_cast<std::uint8_t>(engine()), static_cast<std::uint8_t>(engine())};
}

// A red disc with a soft edge on a transparent canvas.
Rgba disc_at(int x, int y) {
  const double distance = std::hypot(x - 20, y - 15);
  const double alpha = std::clamp((10.5 - distance) * 128.0, 0.0, 255.0);
  return {220, 20, 30, static_cast<std::uint8_t>(alpha)};
}

struct Picture {
  std::string name;
  Image image;
};

// Each shape a row packer or the banded writer could get wrong.
std::vector<Picture> pictures() {
  std::vector<Picture> all;
  all.push_back({"disc", test::make_rgba32(41, 30, disc_at)});
  all.push_back({"noise, odd width", test::make_rgba32(37, 5, noise_at)});
  all.push_back({"1 x 1", test::make_rgba32(1, 1, [](int, int) { return Rgba{9, 8, 7, 100}; })});
  all.push_back({"30000 x 1", test::make_rgba32(30000, 1, [](int x, int y) {
                   return x % 1000 < 300 ? Rgba{1, 2, 3, 4} : noise_at(x, y);
                 })});
  all.push_back({"rows all alike", test::make_rgba32(64, 16, [](int, int) {
                   return Rgba{5, 6, 7, 128};
                 })});
  all.push_back({"worst case", test::make_rgba32(130, 3, [](int x, int y) {
                   const auto v = static_cast<std::uint8_t>(x / 2 + y);
                   return Rgba{v, v, v, v};
                 })});
  // Opaque rows between transparent ones, over several bands on every core.
  all.push_back({"banded", test::make_rgba32(700, 800, [](int x, int y) {
                   Rgba c = noise_at(x, y);
                   c.alpha = y % 3 != 0 ? 255 : c.alpha;
                   return c;
                 })});
  // Rows that pack, each to its own length, over many bands packed side by side and written in
  // turn.
  all.push_back({"banded, packed", test::make_rgba32(700, 800, [](int x, int y) {
                   const auto v = static_cast<std::uint8_t>(x / (1 + y % 13) + y);
                   return Rgba{v, static_cast<std::uint8_t>(v / 2), 7,
                               static_cast<std::uint8_t>(y % 5 != 0 ? 255 : x / 3)};
                 })});
  all.push_back({"opaque", test::make_rgb24(33, 9, noise_at)});
  return all;
}

void expect_transparent_layer(const test::PsdToolsView &view, const QByteArray &expected) {
  EXPECT_EQ(view.warnings, 0);
  ASSERT_EQ(view.layers, 1);
  EXPECT_EQ(view.names, QStringList{QStringLiteral("Bild \u00fc")});
  EXPECT_TRUE(view.layer_alpha);
  EXPECT_TRUE(view.layer == expected);
  int wrong = 0;
  for (qsizetype i = 0; i < expected.size(); i += 4) {
    const int alpha = static_cast<std::uint8_t>(expected[i + 3]);
    wrong += view.merged[i + 3] != expected[i + 3];
    // Fully transparent pixels are stored white, opaque ones as they are.
    for (int c = 0; c < 3 && (alpha == 0 || alpha == 255); ++c)
      wrong += view.merged[i + c] != (alpha == 0 ? char(255) : expected[i + c]);
    for (int c = 0; c < 3 && alpha >= 16; ++c)
      wrong +=
          std::abs(static_cast<std::uint8_t>(view.composite[i + c]) -
                   static_cast<std::uint8_t>(expected[i + c])) > test::composite_tolerance(alpha);
  }
  EXPECT_EQ(wrong, 0);
}

TEST_F(PsdDocumentTest, PsdToolsReadsOneTransparentLayerAndItsComposite) {
  for (const auto compression : {PsdCompression::rle, PsdCompression::raw}) {
    for (Picture &picture : pictures()) {
      if (compression == PsdCompression::raw && picture.name != "disc" && picture.name != "banded")
        continue;
      SCOPED_TRACE(picture.name + (compression == PsdCompression::raw ? " raw" : " RLE"));
      const QByteArray expected = rgba_of(picture.image);
      PsdDocument document{std::move(picture.image), QStringLiteral("Bild \u00fc")};
      document.compression = compression;
      ASSERT_EQ(test::write_psd_file(std::move(document), path("out.psd")).status,
                PsdWriteStatus::written);
      test::PsdToolsView view;
      ASSERT_TRUE(test::read_with_psd_tools(path("out.psd"), view));
      expect_transparent_layer(view, expected);
    }
  }
}

// A picture of 16-bit samples, rows from the top: flat runs on the left for the packing, every
// level of both bytes on the right, transparent and half-transparent pixels.
std::vector<int> deep_samples(int width, int height) {
  std::vector<int> samples;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < 4; ++c)
        samples.push_back(x < 40 ? (c == 3 ? 65535 : 4660 * (c + 1))
                                 : (x * 7919 + y * 104729 + c * 31337) % 65536);
  return samples;
}

Image deep_picture(int width, int height, const std::vector<int> &samples) {
  Image image(FreeImage_AllocateT(FIT_RGBA16, width, height));
  for (int y = 0; y < height; ++y) {
    auto *row = reinterpret_cast<WORD *>(FreeImage_GetScanLine(image.get(), height - 1 - y));
    for (int i = 0; i < 4 * width; ++i)
      row[i] = static_cast<WORD>(samples[static_cast<std::size_t>(y * 4 * width + i)]);
  }
  return image;
}

// 16 bits per channel: psd-tools reads depth 16 and every sample of the layer as it was, packed
// or raw; an opaque picture's composite is its layer.
TEST_F(PsdDocumentTest, SixteenBitSamplesReachTheFileExactly) {
  const int width = 300, height = 9;
  std::vector<int> opaque = deep_samples(width, height);
  for (std::size_t i = 3; i < opaque.size(); i += 4)
    opaque[i] = 65535;
  const struct {
    const char *name;
    std::vector<int> samples;
    PsdCompression compression;
  } cases[] = {{"RLE", deep_samples(width, height), PsdCompression::rle},
               {"raw", deep_samples(width, height), PsdCompression::raw},
               {"opaque", opaque, PsdCompression::rle}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    PsdDocument document{deep_picture(width, height, c.samples), QStringLiteral("deep")};
    document.compression = c.compression;
    ASSERT_EQ(test::write_psd_file(std::move(document), path("deep.psd")).status,
              PsdWriteStatus::written);
    const test::PsdToolsSamples read = test::psd_tools_samples(path("deep.psd"));
    EXPECT_EQ(read.depth, 16);
    EXPECT_TRUE(read.layer == c.samples);
    if (c.samples == opaque) {
      EXPECT_TRUE(read.composite == c.samples);
    }
  }
}

// A large picture's groups are packed only where that makes them smaller: noise is stored raw,
// never larger than asked for raw; a flat picture packs.
TEST_F(PsdDocumentTest, PacksOnlyWherePackingMakesTheFileSmaller) {
  const struct {
    const char *name;
    Image (*make)();
    int merged_compression;
  } cases[] = {
      {"noise", [] { return test::make_rgba32(300, 300, noise_at); }, 0},
      {"flat",
       [] { return test::make_rgba32(300, 300, [](int, int) {
              return Rgba{1, 2, 3, 4};
            }); }, 1},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    PsdDocument packed{c.make()};
    PsdDocument raw{c.make()};
    raw.compression = PsdCompression::raw;
    ASSERT_EQ(test::write_psd_file(std::move(packed), path("rle.psd")).status,
              PsdWriteStatus::written);
    ASSERT_EQ(test::write_psd_file(std::move(raw), path("raw.psd")).status,
              PsdWriteStatus::written);
    test::PsdImage read;
    ASSERT_TRUE(test::read_psd(path("rle.psd"), read));
    EXPECT_EQ(read.compression, c.merged_compression);
    EXPECT_LE(file_size(path("rle.psd")), file_size(path("raw.psd")));
  }
}

TEST_F(PsdDocumentTest, CarriesResolution) {
  // 11811 px/m is within a hundredth of 300 dpi and lands on it; 5905 px/m is not and stays.
  const double near_whole = 11811 * 0.0254;
  const double between = 5905 * 0.0254;
  PsdDocument document{test::make_rgb24(4, 4, noise_at), QStringLiteral("x"), near_whole, between};
  ASSERT_EQ(test::write_psd_file(std::move(document), path("meta.psd")).status,
            PsdWriteStatus::written);
  ASSERT_EQ(test::write_psd_file({test::make_rgb24(4, 4, noise_at)}, path("plain.psd")).status,
            PsdWriteStatus::written);
  test::PsdToolsView meta;
  test::PsdToolsView plain;
  ASSERT_TRUE(test::read_with_psd_tools(path("meta.psd"), meta));
  ASSERT_TRUE(test::read_with_psd_tools(path("plain.psd"), plain));
  EXPECT_EQ(meta.dpi, (QList<double>{300, std::round(between * 65536) / 65536}));
  EXPECT_EQ(plain.dpi, (QList<double>{72, 72}));
}

// The ICC profile resource as psd-tools reads it, in hex, for files of any depth.
QByteArray profile_psd_tools_reads(const QString &psd) {
  const char *script =
      "import sys\nfrom psd_tools import PSDImage\n"
      "print(PSDImage.open(sys.argv[1]).image_resources.get_data(1039, b'').hex())";
  return test::run_reader(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, psd});
}

// The picture's own profile always; an sRGB one for 16-bit samples without one, which some
// readers would otherwise take for linear light; none for 8-bit samples without one.
TEST_F(PsdDocumentTest, CarriesTheColourProfileOrSrgbForSixteenBits) {
  // A profile of its own that psd-tools can read: the sRGB one under another name.
  QByteArray own = srgb_profile();
  own.replace(QByteArrayLiteral("sRGB IEC"), QByteArrayLiteral("mine IEC"));
  const auto eight = [] { return test::make_rgb24(4, 4, noise_at); };
  const auto sixteen = [] { return test::make_rgba16(4, 4, noise_at); };
  const struct {
    const char *name;
    std::function<Image()> make;
    QByteArray profile;
    QByteArray expected;
  } cases[] = {{"8-bit, own", eight, own, own},
               {"8-bit, none", eight, {}, {}},
               {"16-bit, own", sixteen, own, own},
               {"16-bit, none", sixteen, {}, srgb_profile()}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    PsdDocument document{c.make(), QStringLiteral("x")};
    document.icc_profile = c.profile;
    ASSERT_EQ(test::write_psd_file(std::move(document), path("icc.psd")).status,
              PsdWriteStatus::written);
    EXPECT_EQ(profile_psd_tools_reads(path("icc.psd")), c.expected.toHex() + '\n');
  }
}

// Little CMS, through PIL, reads the profile as sRGB: its name, and colours through it into
// PIL's own sRGB profile come out as they went in.
TEST_F(PsdDocumentTest, TheSrgbProfileReadsAsSrgbElsewhere) {
  QFile file(path("srgb.icc"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(srgb_profile());
  file.close();
  const char *script = R"(
import sys
from PIL import Image, ImageCms
ours = ImageCms.ImageCmsProfile(sys.argv[1])
to_srgb = ImageCms.buildTransform(ours, ImageCms.createProfile("sRGB"), "RGB", "RGB")
picture = Image.new("RGB", (256, 1))
picture.putdata([(v, v * 7 % 256, 255 - v) for v in range(256)])
seen = ImageCms.applyTransform(picture, to_srgb).getdata()
off = max(abs(a - b) for p, q in zip(picture.getdata(), seen) for a, b in zip(p, q))
print(ours.profile.profile_description.strip(), ours.profile.xcolor_space.strip(), off)
)";
  const QByteArray seen = test::run_reader(QStringLiteral("/usr/bin/python3"),
                                           {QStringLiteral("-c"), script, path("srgb.icc")});
  EXPECT_EQ(seen.trimmed(), "sRGB IEC61966-2.1 RGB 0");
}

TEST_F(PsdDocumentTest, ReportsProgressAndStopsWhenAsked) {
  std::vector<std::int64_t> reported;
  std::int64_t total = 0;
  const Image picture = test::make_rgba32(700, 3200, noise_at);
  const auto copy = [&] { return Image(FreeImage_Clone(picture.get())); };
  // Raw planes are written where they go, so a stopped file has holes: what counts is what it
  // holds.
  const auto held = [&](const char *name) {
    struct stat info {};
    return ::stat(path(name).toLocal8Bit().constData(), &info) == 0 ? info.st_blocks * 512 : -1;
  };
  ASSERT_EQ(test::write_psd_file({copy()}, path("whole.psd"),
                                 [&](std::int64_t written, std::int64_t whole) {
                                   reported.push_back(written);
                                   total = whole;
                                   return true;
                                 })
                .status,
            PsdWriteStatus::written);
  EXPECT_GT(reported.size(), 8u);
  EXPECT_TRUE(std::is_sorted(reported.begin(), reported.end()));
  EXPECT_EQ(reported.back(), file_size(path("whole.psd")));
  EXPECT_EQ(total, file_size(path("whole.psd")));
  int calls = 0;
  EXPECT_EQ(test::write_psd_file({copy()}, path("stopped.psd"),
                                 [&](std::int64_t, std::int64_t) { return ++calls < 3; })
                .status,
            PsdWriteStatus::stopped);
  EXPECT_EQ(calls, 3);
  EXPECT_LT(held("stopped.psd"), held("whole.psd") / 3);
}

TEST_F(PsdDocumentTest, EveryFailedWriteIsReportedWithItsCause) {
  const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
  ASSERT_GE(full, 0);
  const PsdWriteResult no_space = write_psd_document({test::make_rgba32(64, 64, noise_at)}, full);
  ::close(full);
  EXPECT_EQ(no_space.status, PsdWriteStatus::failed);
  EXPECT_EQ(no_space.error, ENOSPC);

  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const PsdWriteResult too_big =
      test::write_psd_file({test::make_rgba32(64, 64, noise_at)}, path("big.psd"));
  setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_EQ(too_big.status, PsdWriteStatus::failed);
  EXPECT_EQ(too_big.error, EFBIG);
}

// The tests' own reader, which every other test trusts, refuses a layer an editor would show
// wrongly: switched off, a channel of the wrong length, a channel missing.
TEST_F(PsdDocumentTest, TestReaderRefusesAHiddenLayerAndMissingOrShortChannels) {
  ASSERT_EQ(test::write_psd_file({test::make_rgba32(5, 3, noise_at)}, path("whole.psd")).status,
            PsdWriteStatus::written);
  QFile whole(path("whole.psd"));
  ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
  const QByteArray bytes = whole.readAll();
  // The layer record's blend signature; the four channel records (id, length) end before it.
  const qsizetype blend = bytes.indexOf("8BIMnorm");
  ASSERT_GT(blend, 24);
  const struct {
    const char *change;
    qsizetype at;
    char value;
    bool read;
  } cases[] = {
      {"none", 0, 'x', true},
      {"flags: hidden", blend + 10, 2, false},
      {"transparency channel longer than its data", blend - 1, 1, false},
      {"transparency channel under another id", blend - 5, 1, false},
  };
  for (const auto &c : cases) {
    QByteArray changed = bytes;
    if (c.at != 0)
      changed[c.at] = static_cast<char>(changed[c.at] + c.value);
    QFile file(path("changed.psd"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(changed);
    file.close();
    test::PsdImage image;
    EXPECT_EQ(test::read_psd(path("changed.psd"), image), c.read) << c.change;
  }
}

TEST_F(PsdDocumentTest, RefusesWhatAPsdCannotHoldWithoutWriting) {
  std::vector<Image> refused;
  refused.emplace_back(FreeImage_AllocateT(FIT_UINT16, 4, 4));
  refused.emplace_back(FreeImage_Allocate(30001, 1, 24));
  refused.emplace_back();
  for (Image &image : refused) {
    EXPECT_EQ(test::write_psd_file({std::move(image)}, path("refused.psd")).status,
              PsdWriteStatus::refused);
    EXPECT_EQ(file_size(path("refused.psd")), 0);
  }
}

} // namespace
} // namespace lumbrix
