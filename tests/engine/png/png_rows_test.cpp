#include "engine/png/png_bytes.h"
#include "engine/png/png_loader.h"
#include "engine/png/png_rows.h"
#include "engine/psd/srgb_profile.h"
#include "support/paths.h"

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace lumbrix {
namespace {

// The bytes load_png decodes from: none when the chunk walk refuses the file.
QByteArray held_bytes(const QString &path) {
  std::FILE *file = std::fopen(QFile::encodeName(path).constData(), "rb");
  PngBytes png;
  const bool held = file && read_png_bytes(file, png).isEmpty();
  if (file)
    std::fclose(file);
  return held ? png.bytes : QByteArray();
}

// Noise, saved as a PNG by FreeImage, with the sRGB profile which its loader drops.
QByteArray noise_png(FREE_IMAGE_TYPE type, int bpp, int width, int height, int flags) {
  const Image image(FreeImage_AllocateT(type, width, height, bpp));
  QByteArray profile = srgb_profile();
  FreeImage_CreateICCProfile(image.get(), profile.data(), profile.size());
  std::uint32_t state = 12345;
  for (int y = 0; y < height; ++y)
    for (BYTE *p = FreeImage_GetScanLine(image.get(), y), *end = p + FreeImage_GetLine(image.get());
         p < end; ++p)
      *p = static_cast<BYTE>((state = state * 1103515245u + 12345u) >> 24);
  FIMEMORY *memory = FreeImage_OpenMemory();
  FreeImage_SaveToMemory(FIF_PNG, image.get(), memory, flags);
  BYTE *data = nullptr;
  DWORD size = 0;
  FreeImage_AcquireMemory(memory, &data, &size);
  QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
  FreeImage_CloseMemory(memory);
  return bytes;
}

struct Generated {
  std::string name;
  QByteArray bytes;
};

// Larger than the corpus's pictures: many report steps, in passes and without.
std::vector<Generated> generated_pngs() {
  return {{"interlaced RGBA 16", noise_png(FIT_RGBA16, 64, 37, 1500, PNG_INTERLACED)},
          {"RGB 8", noise_png(FIT_BITMAP, 24, 50, 2100, PNG_Z_BEST_SPEED)}};
}

Image freeimage_load(const QByteArray &bytes) {
  FIMEMORY *memory = FreeImage_OpenMemory(
      reinterpret_cast<BYTE *>(const_cast<char *>(bytes.constData())), bytes.size());
  Image image(FreeImage_LoadFromMemory(FIF_PNG, memory, PNG_IGNOREGAMMA));
  FreeImage_CloseMemory(memory);
  return image;
}

bool same_bytes(const void *a, const void *b, std::size_t size) {
  return size == 0 || (a && b && std::memcmp(a, b, size) == 0);
}

bool same_rows(FIBITMAP *a, FIBITMAP *b, int from, int to) {
  const int height = static_cast<int>(FreeImage_GetHeight(a));
  for (int y = from; y < to; ++y)
    if (!same_bytes(FreeImage_GetScanLine(a, height - 1 - y),
                    FreeImage_GetScanLine(b, height - 1 - y), FreeImage_GetLine(a)))
      return false;
  return true;
}

// What differs between two loads of one file, or nothing.
std::string difference(FIBITMAP *a, FIBITMAP *b) {
  if (!a || !b)
    return a || b ? "only one loads" : "";
  RGBQUAD back_a{}, back_b{};
  const auto same_back =
      FreeImage_GetBackgroundColor(a, &back_a) == FreeImage_GetBackgroundColor(b, &back_b) &&
      same_bytes(&back_a, &back_b, sizeof back_a);
  const auto count = FreeImage_GetTransparencyCount(a);
  const std::pair<const char *, bool> checks[] = {
      {"layout", FreeImage_GetImageType(a) == FreeImage_GetImageType(b) &&
                     FreeImage_GetBPP(a) == FreeImage_GetBPP(b) &&
                     FreeImage_GetLine(a) == FreeImage_GetLine(b) &&
                     FreeImage_GetHeight(a) == FreeImage_GetHeight(b) &&
                     FreeImage_GetRedMask(a) == FreeImage_GetRedMask(b) &&
                     FreeImage_GetBlueMask(a) == FreeImage_GetBlueMask(b)},
      {"palette", FreeImage_GetColorsUsed(a) == FreeImage_GetColorsUsed(b) &&
                      same_bytes(FreeImage_GetPalette(a), FreeImage_GetPalette(b),
                                 FreeImage_GetColorsUsed(a) * sizeof(RGBQUAD))},
      {"transparency",
       FreeImage_IsTransparent(a) == FreeImage_IsTransparent(b) &&
           count == FreeImage_GetTransparencyCount(b) &&
           same_bytes(FreeImage_GetTransparencyTable(a), FreeImage_GetTransparencyTable(b), count)},
      {"background", same_back},
      {"resolution", FreeImage_GetDotsPerMeterX(a) == FreeImage_GetDotsPerMeterX(b) &&
                         FreeImage_GetDotsPerMeterY(a) == FreeImage_GetDotsPerMeterY(b)},
      {"profile", FreeImage_GetICCProfile(a)->size == FreeImage_GetICCProfile(b)->size},
  };
  for (const auto &[what, same] : checks)
    if (!same)
      return what;
  return same_rows(a, b, 0, static_cast<int>(FreeImage_GetHeight(a))) ? "" : "pixels";
}

// Every PNG of the test data, damaged ones included, and larger generated ones decode row by row
// exactly as FreeImage loads them whole, or are refused alike.
TEST(PngRows, EveryPngDecodesAsFreeImageLoadsIt) {
  std::vector<Generated> cases = generated_pngs();
  cases.push_back({"without IEND", cases.back().bytes.chopped(12)});
  QDirIterator it(test::source_dir() + "tests/data", {QStringLiteral("*.png")}, QDir::Files,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    cases.push_back({path.mid(test::source_dir().size()).toStdString(), held_bytes(path)});
  }
  ASSERT_GE(cases.size(), 204u);
  int loaded = 0;
  for (const Generated &png : cases) {
    bool abandoned = true;
    const Image rows = decode_png_rows(png.bytes, nullptr, &abandoned);
    const Image whole = freeimage_load(png.bytes);
    EXPECT_EQ(difference(rows.get(), whole.get()), "") << png.name;
    EXPECT_FALSE(abandoned) << png.name;
    loaded += whole != nullptr;
  }
  EXPECT_GE(loaded, 170);
}

// Follows the rows as they are reported and checks each against the picture loaded whole.
class CheckingObserver : public LoadObserver {
public:
  CheckingObserver(FIBITMAP *reference, int stop_after)
      : reference_(reference), stop_after_(stop_after) {}

  void started(FIBITMAP *picture) override {
    EXPECT_EQ(picture_, nullptr);
    EXPECT_EQ(calls_, 0);
    picture_ = picture;
  }
  bool progressed(int rows, int permille) override {
    EXPECT_NE(picture_, nullptr);
    EXPECT_GE(rows, rows_);
    EXPECT_GT(permille, permille_);
    if (picture_ && rows > rows_) {
      EXPECT_TRUE(same_rows(picture_, reference_, rows_, rows)) << "rows " << rows_ << "-" << rows;
    }
    rows_ = rows;
    permille_ = permille;
    return ++calls_ != stop_after_;
  }

  FIBITMAP *reference_;
  int stop_after_;
  FIBITMAP *picture_ = nullptr;
  int rows_ = 0;
  int permille_ = -1;
  int calls_ = 0;
};

TEST(PngRows, TheObserverSeesFinalRowsUpToTheLastAndCanStopTheLoad) {
  for (const Generated &png : generated_pngs()) {
    const Image whole = freeimage_load(png.bytes);
    CheckingObserver observer(whole.get(), -1);
    bool abandoned = true;
    const Image rows = decode_png_rows(png.bytes, &observer, &abandoned);
    EXPECT_EQ(observer.picture_, rows.get()) << png.name;
    EXPECT_EQ(observer.rows_, image_height(whole)) << png.name;
    EXPECT_EQ(observer.permille_, 1000) << png.name;
    EXPECT_LE(observer.calls_, 1001) << png.name;
    EXPECT_FALSE(abandoned) << png.name;

    QTemporaryDir dir;
    QFile file(dir.filePath("stopped.png"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(png.bytes) == png.bytes.size());
    file.close();
    CheckingObserver stopping(whole.get(), 5);
    QString reason = "unset";
    EXPECT_FALSE(load_png(file.fileName(), &reason, nullptr, false, &stopping)) << png.name;
    EXPECT_EQ(reason, "") << png.name;
    EXPECT_EQ(stopping.calls_, 5) << png.name;
  }
}

} // namespace
} // namespace lumbrix
