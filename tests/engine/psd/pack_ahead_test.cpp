#include "engine/image/deep_picture.h"
#include "engine/psd/pack_ahead.h"
#include "engine/psd/raw_ahead.h"
#include "platform/files.h"
#include "support/image_builders.h"
#include "support/psd_document_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <functional>
#include <memory>
#include <unistd.h>

namespace lumbrix {
namespace {

Rgba photo_like(int x, int y) {
  const auto v = static_cast<std::uint8_t>(x / (1 + y % 11) + y / 3);
  return {v, static_cast<std::uint8_t>(v / 2), static_cast<std::uint8_t>(x * y),
          static_cast<std::uint8_t>(y % 7 != 0 ? 255 : x)};
}

QByteArray file_bytes(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A document whose planes are packed one at a time: no band may be packed ahead.
PsdDocument plane_by_plane(Image picture) {
  PsdDocument document{std::move(picture)};
  document.packed_ahead = std::make_shared<PsdPackAhead>(document.picture.get(), document.layout,
                                                         document.compression, 0);
  return document;
}

// Bands packed while the rows arrive, in uneven steps, some of them or all, are taken by the
// writer as if it had packed each plane on its own: the file is the same, byte for byte.
TEST(PsdPackAhead, TheWriterTakesBandsPackedAheadUnchanged) {
  QTemporaryDir dir;
  const struct {
    const char *name;
    std::function<Image()> make;
    std::int64_t budget;
    int stop_at; // rows after which the packing is stopped
  } cases[] = {
      {"RGBA, every band", [] { return test::make_rgba32(900, 700, photo_like); }, 1 << 30, 700},
      {"RGBA, out of budget", [] { return test::make_rgba32(900, 700, photo_like); }, 300000, 700},
      {"RGBA, stopped half way", [] { return test::make_rgba32(900, 700, photo_like); }, 1 << 30,
       350},
      {"RGB", [] { return test::make_rgb24(1100, 500, photo_like); }, 1 << 30, 500},
      {"16 bits", [] { return widen_to_deep(test::make_rgba32(700, 400, photo_like)); }, 1 << 30,
       400},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(test::write_psd_file(plane_by_plane(c.make()), dir.filePath("plain.psd")).status,
              PsdWriteStatus::written);
    PsdDocument ahead{c.make()};
    ahead.packed_ahead = std::make_shared<PsdPackAhead>(ahead.picture.get(), ahead.layout,
                                                        ahead.compression, c.budget);
    for (int rows = 0; rows <= c.stop_at; rows += 37)
      ahead.packed_ahead->pack_ready(rows);
    ahead.packed_ahead->pack_ready(c.stop_at);
    ahead.packed_ahead->stop();
    ahead.packed_ahead->pack_ready(1 << 30);
    ASSERT_EQ(test::write_psd_file(std::move(ahead), dir.filePath("ahead.psd")).status,
              PsdWriteStatus::written);
    EXPECT_TRUE(file_bytes(dir.filePath("plain.psd")) == file_bytes(dir.filePath("ahead.psd")));
  }
}

// Bands packed for one picture are never taken for another.
TEST(PsdPackAhead, ServesOnlyItsOwnPicture) {
  QTemporaryDir dir;
  const Image first = test::make_rgba32(600, 500, photo_like);
  auto ahead =
      std::make_shared<PsdPackAhead>(first.get(), PsdLayout::layered, PsdCompression::rle, 1 << 30);
  ahead->pack_ready(500);
  const auto other = [] {
    return test::make_rgba32(600, 500, [](int x, int y) { return photo_like(y, x); });
  };
  ASSERT_EQ(test::write_psd_file(plane_by_plane(other()), dir.filePath("plain.psd")).status,
            PsdWriteStatus::written);
  PsdDocument offered{other()};
  offered.packed_ahead = ahead;
  ASSERT_EQ(test::write_psd_file(std::move(offered), dir.filePath("offered.psd")).status,
            PsdWriteStatus::written);
  EXPECT_TRUE(file_bytes(dir.filePath("plain.psd")) == file_bytes(dir.filePath("offered.psd")));
}

// A merged-only file's first bands written into it while the rows arrive, some or all, and the
// writer's rest: the same file as the writer's alone.
TEST(PsdRawAhead, TheWriterWritesOnlyTheBandsAfterThoseWrittenAhead) {
  QTemporaryDir dir;
  const std::function<Image()> pictures[] = {
      [] { return test::make_rgba32(900, 700, photo_like); },
      [] { return test::make_rgb24(1100, 500, photo_like); },
      [] { return widen_to_deep(test::make_rgba32(700, 400, photo_like)); },
  };
  for (const auto &make : pictures)
    for (const int rows_ahead : {0, 333, 1 << 20}) {
      PsdDocument plain{make()};
      plain.layout = PsdLayout::merged_only;
      ASSERT_EQ(test::write_psd_file(std::move(plain), dir.filePath("plain.psd")).status,
                PsdWriteStatus::written);
      PsdDocument ahead{make()};
      ahead.layout = PsdLayout::merged_only;
      const int descriptor = ::open(native_path(dir.filePath("ahead.psd")).constData(),
                                    O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
      ASSERT_GE(descriptor, 0);
      ahead.raw_ahead = std::make_shared<PsdRawAhead>(ahead.picture.get(), descriptor);
      for (int rows = 0; rows <= rows_ahead && rows < (1 << 20); rows += 57)
        ahead.raw_ahead->write_ready(rows);
      ahead.raw_ahead->write_ready(rows_ahead);
      ahead.raw_ahead->stop();
      EXPECT_EQ(write_psd_document(std::move(ahead), descriptor).status, PsdWriteStatus::written);
      ::close(descriptor);
      EXPECT_TRUE(file_bytes(dir.filePath("plain.psd")) == file_bytes(dir.filePath("ahead.psd")))
          << rows_ahead << " rows ahead";
    }
}

} // namespace
} // namespace lumbrix
