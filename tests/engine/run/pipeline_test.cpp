#include "engine/run/pipeline.h"
#include "engine/settings/settings.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/temp_file.h"
#include "support/image_builders.h"
#include "support/independent_readers.h"
#include "support/paths.h"
#include "support/png_reference.h"
#include "support/psd_reader.h"
#include "support/requests.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <ctime>
#include <sys/resource.h>

namespace lumbrix {
namespace {

using test::PngPixels;
using test::PsdImage;

QString corpus(const char *name) { return test::corpus_dir() + QLatin1String(name); }

// Largest difference of the colour channels, and whether alpha matches exactly.
struct Comparison {
  int colour = 0;
  bool alpha_equal = true;
};

Comparison compare(const PsdImage &psd, const PngPixels &png) {
  Comparison result;
  for (int y = 0; y < png.height; ++y)
    for (int x = 0; x < png.width; ++x) {
      const std::uint8_t *p =
          &png.rgba[(static_cast<std::size_t>(y) * static_cast<std::size_t>(png.width) +
                     static_cast<std::size_t>(x)) *
                    4];
      for (int c = 0; c < 3; ++c)
        result.colour = std::max(result.colour, std::abs(psd.at(c, x, y) - p[c]));
      result.alpha_equal = result.alpha_equal && psd.at(3, x, y) == p[3];
    }
  return result;
}

void expect_rgba_psd(const PsdImage &psd, int width, int height) {
  EXPECT_EQ(psd.version, 1);
  EXPECT_EQ(psd.color_mode, 3);
  EXPECT_EQ(psd.channels, 4);
  EXPECT_EQ(psd.depth, 8);
  EXPECT_EQ(psd.compression, 1);
  EXPECT_EQ(psd.layer_count, -1);
  EXPECT_EQ(psd.width, width);
  EXPECT_EQ(psd.height, height);
  EXPECT_EQ(psd.planes.size(), 4u);
}

class Pipeline : public ::testing::Test {
protected:
  void SetUp() override {
    ignore_file_size_signal();
    request = test::psd_request(out.path() + QLatin1Char('/'));
  }

  // Converts input on its own; last_output is the name it was given.
  bool convert(const QString &input, const QString &subfolder = QString()) {
    const FileResult result = convert_file(request, {input, subfolder}, request.counters);
    last_output = result.output_path;
    last_reason = result.reason;
    return result.status == FileStatus::Converted;
  }

  QString out_path(const QString &name) const { return out.filePath(name); }
  QStringList out_files() const {
    return QDir(out.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
  }

  static std::uint8_t first_red(const QString &psd_path) {
    PsdImage psd;
    return test::read_psd(psd_path, psd) ? psd.at(0, 0, 0) : 0;
  }

  // The file without layers holds the same samples.
  void expect_merged_only_keeps(const QString &file, const PngPixels &png) {
    request.settings.psd_layers = 0;
    ASSERT_TRUE(convert(file));
    request.settings.psd_layers = 1;
    PsdImage psd;
    ASSERT_TRUE(test::read_psd(last_output, psd));
    EXPECT_EQ(psd.layer_count, 0);
    EXPECT_EQ(compare(psd, png).colour, 0);
    QFile::remove(last_output);
  }

  QTemporaryDir out;
  ConversionRequest request;
  QString last_output;
  QString last_reason;
};

TEST_F(Pipeline, EveryEightBitCorpusFileKeepsItsPixels) {
  for (const QString &file : test::corpus_pngs(test::CorpusPart::readable)) {
    SCOPED_TRACE(file.toStdString());
    PngPixels png;
    ASSERT_TRUE(test::decode_png_reference(file, png));
    if (png.bit_depth > 8)
      continue;
    ASSERT_TRUE(convert(file));
    PsdImage psd;
    ASSERT_TRUE(test::read_psd(last_output, psd));
    expect_rgba_psd(psd, png.width, png.height);
    // Files with gAMA keep the samples they store.
    const Comparison c = compare(psd, png);
    EXPECT_EQ(c.colour, 0);
    EXPECT_TRUE(c.alpha_equal);
    QFile::remove(last_output);
    if (png.has_gamma)
      expect_merged_only_keeps(file, png);
  }
}

TEST_F(Pipeline, SixteenBitFilesAreToneMappedAndKeepTheirAlpha) {
  int seen = 0;
  for (const QString &file : test::corpus_pngs(test::CorpusPart::readable)) {
    SCOPED_TRACE(file.toStdString());
    PngPixels png;
    ASSERT_TRUE(test::decode_png_reference(file, png));
    if (png.bit_depth != 16)
      continue;
    ++seen;
    ASSERT_TRUE(convert(file));
    PsdImage psd;
    ASSERT_TRUE(test::read_psd(last_output, psd));
    expect_rgba_psd(psd, png.width, png.height);
    // Opaque files give 255 everywhere; a transparent colour (tRNS) is 0 where it is.
    EXPECT_TRUE(compare(psd, png).alpha_equal);
    QFile::remove(last_output);
  }
  EXPECT_GT(seen, 20);
}

// At 64 bits the layer holds the PNG's samples at 16 bits, 8-bit ones widened (v * 257), alpha
// too, as a reader that is not ours decodes them.
TEST_F(Pipeline, SixtyFourBitsKeepSixteenBitSamples) {
  request.settings.psd_bpp = 64;
  for (const char *name :
       {"pngsuite/basn6a16.png", "pngsuite/basn2c16.png", "pngsuite/basn4a16.png",
        "pngsuite/basn0g16.png", "pngsuite/basn6a08.png", "pngsuite/basn3p04.png"}) {
    SCOPED_TRACE(name);
    PngPixels png;
    ASSERT_TRUE(test::decode_png_reference(corpus(name), png, test::Gamma::raw, 2));
    ASSERT_TRUE(convert(corpus(name)));
    const test::PsdToolsSamples read = test::psd_tools_samples(last_output);
    EXPECT_EQ(read.depth, 16);
    std::vector<int> expected;
    for (std::size_t i = 0; i < png.rgba.size(); i += 2)
      expected.push_back(png.rgba[i] << 8 | png.rgba[i + 1]);
    EXPECT_TRUE(read.layer == expected);
  }
}

// The same file without its tRNS chunk.
QByteArray without_trns(const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return {};
  const QByteArray png = file.readAll();
  QByteArray kept = png.left(8);
  for (qsizetype at = 8; at + 12 <= png.size();) {
    const auto *head = reinterpret_cast<const unsigned char *>(png.constData() + at);
    const qsizetype length =
        (qsizetype{head[0]} << 24) | (head[1] << 16) | (head[2] << 8) | head[3];
    if (png.mid(at + 4, 4) != "tRNS")
      kept += png.mid(at, length + 12);
    at += length + 12;
  }
  return kept;
}

// Naming a transparent colour in a 16-bit grey or RGB file changes the alpha only.
TEST_F(Pipeline, ATransparentColourInSixteenBitFilesChangesOnlyTheAlpha) {
  for (const char *name : {"ftbbn2c16", "ftbgn2c16", "ftbwn0g16", "iftbbn2c16", "iftbwn0g16"}) {
    const QString keyed = test::corpus_dir() + QStringLiteral("pngsuite/%1.png").arg(name);
    SCOPED_TRACE(keyed.toStdString());
    const QString plain = out_path(QStringLiteral("plain-%1.png").arg(name));
    QFile copy(plain);
    ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
    copy.write(without_trns(keyed));
    copy.close();
    PsdImage without_key;
    PsdImage with_key;
    ASSERT_TRUE(convert(plain));
    ASSERT_TRUE(test::read_psd(last_output, without_key));
    ASSERT_TRUE(convert(keyed));
    ASSERT_TRUE(test::read_psd(last_output, with_key));
    ASSERT_EQ(with_key.planes.size(), 4u);
    ASSERT_EQ(without_key.planes.size(), 4u);
    for (int channel = 0; channel < 3; ++channel)
      EXPECT_TRUE(with_key.planes[channel] == without_key.planes[channel]) << channel;
    const auto &alpha = with_key.planes[3];
    EXPECT_GT(std::count(alpha.begin(), alpha.end(), 0), 0);
    EXPECT_EQ(std::count(alpha.begin(), alpha.end(), 0) +
                  std::count(alpha.begin(), alpha.end(), 255),
              static_cast<long>(alpha.size()));
  }
}

TEST_F(Pipeline, DamagedFilesFailCleanlyOrConvert) {
  for (const QString &file : test::corpus_pngs(test::CorpusPart::damaged)) {
    SCOPED_TRACE(file.toStdString());
    // libpng decodes only this one; the others hold bad checksums or chunks longer than the file.
    const bool decodable = file.endsWith(QLatin1String("/empty_ancillary_chunks.png"));
    EXPECT_EQ(convert(file), decodable);
    EXPECT_EQ(out_files().size(), decodable ? 1 : 0);
    if (decodable)
      QFile::remove(last_output);
  }
}

TEST_F(Pipeline, ConvertingAgainReplacesTheEarlierFile) {
  QTemporaryDir in;
  const QString a = in.filePath(QStringLiteral("same.png"));
  ASSERT_TRUE(QFile::copy(corpus("pngsuite/basn2c08.png"), a));
  ASSERT_TRUE(convert(a));
  const std::uint8_t first = first_red(out_path(QStringLiteral("same.psd")));
  ASSERT_TRUE(QFile::remove(a));
  ASSERT_TRUE(QFile::copy(corpus("pngsuite/basn0g08.png"), a));
  ASSERT_TRUE(convert(a));
  EXPECT_NE(first_red(out_path(QStringLiteral("same.psd"))), first);
  EXPECT_EQ(out_files(), QStringList{QStringLiteral("same.psd")});
}

TEST_F(Pipeline, FailureKeepsTheEarlierFileAndLeavesNoTemporaryFile) {
  QTemporaryDir in;
  const QString input = in.filePath(QStringLiteral("photo.png"));
  ASSERT_TRUE(QFile::copy(corpus("pngsuite/basn6a08.png"), input));
  ASSERT_TRUE(convert(input));
  const QString psd = out_path(QStringLiteral("photo.psd"));
  const QByteArray earlier = [&] {
    QFile f(psd);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }();

  // A damaged input of the same name.
  ASSERT_TRUE(QFile::remove(input));
  ASSERT_TRUE(QFile::copy(corpus("testpngs/crashers/badcrc.png"), input));
  EXPECT_FALSE(convert(input));

  // A disk that takes only part of the file: the library reports success on a short write.
  ASSERT_TRUE(QFile::remove(input));
  ASSERT_TRUE(QFile::copy(corpus("pngsuite/basn2c08.png"), input));
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = convert(input);
  setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_FALSE(written);

  QFile f(psd);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), earlier);
  EXPECT_EQ(out_files(), QStringList{QStringLiteral("photo.psd")});
}

// Someone who may write the output folder swaps the temporary name for a link just before the
// rename over an earlier file: the file fails with its reason, and the link's target and the
// earlier file are untouched.
TEST_F(Pipeline, ATemporaryNameSwappedForALinkNeverReachesItsTarget) {
  static QString victim;
  victim = out_path(QStringLiteral("victim.txt"));
  QFile file(victim);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("precious");
  file.close();
  QFile earlier(out_path(QStringLiteral("basn2c08.psd")));
  ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
  earlier.write("earlier");
  earlier.close();
  set_temp_file_hooks({nullptr, [](const QString &temporary) {
                         QFile::remove(temporary);
                         QFile::link(victim, temporary);
                       }});
  EXPECT_FALSE(convert(corpus("pngsuite/basn2c08.png")));
  set_temp_file_hooks({});
  EXPECT_EQ(last_reason, "cannot replace " + out_path(QStringLiteral("basn2c08.psd")) +
                             ": something else took the temporary file's place");
  ASSERT_TRUE(file.open(QIODevice::ReadOnly) && earlier.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), "precious");
  EXPECT_EQ(earlier.readAll(), "earlier");
  EXPECT_FALSE(QFileInfo(earlier).isSymLink());
}

TEST_F(Pipeline, AFailedRenameFailsTheFile) {
  ASSERT_TRUE(QDir(out.path()).mkdir(QStringLiteral("basn0g08.psd")));
  EXPECT_FALSE(convert(corpus("pngsuite/basn0g08.png")));
  EXPECT_EQ(out_files(), QStringList{QStringLiteral("basn0g08.psd")});
}

TEST_F(Pipeline, UnusableResultsWriteNothing) {
  QTemporaryDir in;
  // Larger than a PSD holds, refused from the header.
  ASSERT_TRUE(test::write_grey_png(in.filePath(QStringLiteral("wide.png")), 30001, 1));
  EXPECT_FALSE(convert(in.filePath(QStringLiteral("wide.png"))));
  // A depth no writer takes.
  request.settings.psd_bpp = 7;
  EXPECT_FALSE(convert(corpus("pngsuite/basn2c08.png")));
  // Missing and empty inputs.
  EXPECT_FALSE(convert(in.filePath(QStringLiteral("missing.png"))));
  QFile empty(in.filePath(QStringLiteral("empty.png")));
  ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
  empty.close();
  EXPECT_FALSE(convert(empty.fileName()));
  EXPECT_TRUE(out_files().isEmpty());
}

TEST_F(Pipeline, AMaskNamingTheInputDoesNotReplaceIt) {
  QTemporaryDir in;
  const QString input = in.filePath(QStringLiteral("keep.png"));
  ASSERT_TRUE(QFile::copy(corpus("pngsuite/basn2c08.png"), input));
  request.output_folder = in.path() + QLatin1Char('/');
  request.settings.filename_mask = QStringLiteral("%filename%.png");
  EXPECT_FALSE(convert(input));
  PngPixels png;
  EXPECT_TRUE(test::decode_png_reference(input, png));
  EXPECT_EQ(QDir(in.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.png")});
}

TEST_F(Pipeline, KeepSubfoldersCreatesTheMissingLevels) {
  const QString subfolder = QStringLiteral("2024/May/");
  ASSERT_TRUE(convert(corpus("pngsuite/basn0g01.png"), subfolder));
  EXPECT_TRUE(QFile::exists(out_path(QStringLiteral("2024/May/basn0g01.psd"))));
  request.settings.keep_subfolders = 0;
  ASSERT_TRUE(convert(corpus("pngsuite/basn0g01.png"), subfolder));
  EXPECT_TRUE(QFile::exists(out_path(QStringLiteral("basn0g01.psd"))));
}

TEST_F(Pipeline, NonAsciiPathsWork) {
  const QString folder = out_path(QStringLiteral("Фото 写真 é/"));
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString input = folder + QStringLiteral("Ünïcødé ✓.png");
  ASSERT_TRUE(QFile::copy(corpus("pngsuite/basn3p08.png"), input));
  request.output_folder = folder;
  ASSERT_TRUE(convert(input));
  EXPECT_EQ(last_output, folder + QStringLiteral("Ünïcødé ✓.psd"));
  PsdImage psd;
  EXPECT_TRUE(test::read_psd(last_output, psd));
  EXPECT_EQ(psd.width, 32);
}

// A picture large enough to be packed, or written raw, while it decodes: the load reports its
// progress as it goes, and every row reaches the file as decoded, whether the writer takes the
// bands done during the load or (with a stage between) does them itself.
TEST_F(Pipeline, ALargePictureReportsItsLoadAndReachesTheFileWhole) {
  QTemporaryDir in;
  const QString input = in.filePath(QStringLiteral("large.png"));
  const Image picture = test::make_rgba32(1300, 900, [](int x, int y) {
    const auto v = static_cast<std::uint8_t>(x / (1 + y % 9) + y);
    return Rgba{v, static_cast<std::uint8_t>(x ^ y), static_cast<std::uint8_t>(y / 4),
                static_cast<std::uint8_t>(y % 5 != 0 ? 255 : x)};
  });
  ASSERT_TRUE(FreeImage_Save(FIF_PNG, picture.get(), input.toUtf8().constData(), PNG_Z_BEST_SPEED));
  PngPixels png;
  ASSERT_TRUE(test::decode_png_reference(input, png));
  const struct {
    const char *name;
    bool flip;
    int layers;
  } cases[] = {{"as loaded", false, 1}, {"flipped", true, 1}, {"without layers", false, 0}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    const bool flip = c.flip;
    request.settings.do_image_flip_vertical = c.flip;
    request.settings.psd_layers = c.layers;
    std::vector<int> loading;
    const FileProgress progress{[&](int permille) {
                                  if (permille < 300)
                                    loading.push_back(permille);
                                },
                                {}};
    const FileResult result = convert_file(request, {input, QString()}, request.counters, progress);
    ASSERT_EQ(result.status, FileStatus::Converted) << result.reason.toStdString();
    EXPECT_TRUE(std::is_sorted(loading.begin(), loading.end()));
    loading.erase(std::unique(loading.begin(), loading.end()), loading.end());
    EXPECT_GE(loading.size(), 10u); // steps that rise while the rows decode
    PsdImage psd;
    ASSERT_TRUE(test::read_psd(result.output_path, psd));
    int wrong = 0;
    for (int y = 0; y < png.height; ++y)
      for (int x = 0; x < png.width; ++x)
        for (int c = 0; c < 4; ++c)
          wrong += psd.at(c, x, flip ? png.height - 1 - y : y) !=
                   png.rgba[(static_cast<std::size_t>(y) * 1300 + static_cast<std::size_t>(x)) * 4 +
                            static_cast<std::size_t>(c)];
    EXPECT_EQ(wrong, 0);
    QFile::remove(result.output_path);
  }
}

} // namespace
} // namespace lumbrix
