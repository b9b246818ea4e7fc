#include "engine/run/pack_while_loading.h"

#include "engine/psd/pack_ahead.h"
#include "engine/psd/raw_ahead.h"

#include <QFileInfo>

#include <algorithm>
#include <exception>

namespace lumbrix {
namespace {

// Below this many pixels the picture decodes faster than a thread starts.
constexpr std::int64_t least_pixels = 1 << 20;
// What a file may take of the room left for the libraries.
constexpr std::int64_t file_room = 64 * 1000 * 1000;

} // namespace

PackWhileLoading::PackWhileLoading(std::function<bool(int)> progress, const Plan &plan)
    : progress_(std::move(progress)), plan_(plan) {}

PackWhileLoading::~PackWhileLoading() { finish(); }

// Whether the writer is handed this very picture: no stage replaces it, and its depth is the
// output's (the writer widens 24-bit pixels itself).
bool PackWhileLoading::reaches_writer(FIBITMAP *picture) const {
  if (!plan_.stages_keep_pixels)
    return false;
  const FREE_IMAGE_TYPE type = FreeImage_GetImageType(picture);
  const int bpp = static_cast<int>(FreeImage_GetBPP(picture));
  if (plan_.depth == 64)
    return type == FIT_RGBA16;
  return type == FIT_BITMAP && (bpp == 24 || bpp == 32) &&
         (plan_.depth == 0 || plan_.depth == bpp || plan_.depth == 32);
}

// The memory a conversion is allowed counts a second copy of the picture, which no stage makes
// here, and room for the libraries; the bands take at most the copy's share, less what the
// loader's copy of a large file takes of that room.
std::int64_t PackWhileLoading::budget(FIBITMAP *picture) const {
  const std::int64_t picture_bytes = std::int64_t{FreeImage_GetWidth(picture)} *
                                     FreeImage_GetHeight(picture) * FreeImage_GetBPP(picture) / 8;
  const std::int64_t beyond_room = QFileInfo(plan_.path).size() - file_room;
  return std::max<std::int64_t>(0, picture_bytes - std::max<std::int64_t>(0, beyond_room));
}

// A layered, packed document's bands are packed; a merged-only one's are written raw into its
// file, when it is open already.
void PackWhileLoading::start_work(FIBITMAP *picture) {
  if (plan_.layout == PsdLayout::layered && plan_.compression == PsdCompression::rle)
    ahead_ =
        std::make_shared<PsdPackAhead>(picture, plan_.layout, plan_.compression, budget(picture));
  else if (plan_.layout == PsdLayout::merged_only && plan_.descriptor >= 0)
    raw_ = std::make_shared<PsdRawAhead>(picture, plan_.descriptor);
  else
    return;
  thread_ = std::thread([this] { pack(); });
}

void PackWhileLoading::started(FIBITMAP *picture) {
  const std::int64_t pixels =
      std::int64_t{FreeImage_GetWidth(picture)} * FreeImage_GetHeight(picture);
  if (thread_.joinable() || pixels < least_pixels || !reaches_writer(picture))
    return;
  // Called from within the decoder, which nothing may leave by an exception: without memory or
  // a thread to spare, the writer does all the work itself.
  try {
    start_work(picture);
  } catch (const std::exception &) {
    ahead_.reset();
    raw_.reset();
  }
}

bool PackWhileLoading::progressed(int rows, int permille) {
  {
    const std::lock_guard lock(mutex_);
    rows_ = rows;
  }
  changed_.notify_one();
  return !progress_ || progress_(permille);
}

void PackWhileLoading::pack() {
  std::unique_lock lock(mutex_);
  for (int packed = 0;;) {
    changed_.wait(lock, [&] { return over_ || rows_ > packed; });
    if (over_)
      return;
    packed = rows_;
    lock.unlock();
    if (ahead_)
      ahead_->pack_ready(packed);
    else
      raw_->write_ready(packed);
    lock.lock();
  }
}

BandsAhead PackWhileLoading::finish() {
  if (thread_.joinable()) {
    if (ahead_)
      ahead_->stop();
    if (raw_)
      raw_->stop();
    {
      const std::lock_guard lock(mutex_);
      over_ = true;
    }
    changed_.notify_one();
    thread_.join();
  }
  return {ahead_, raw_};
}

} // namespace lumbrix
