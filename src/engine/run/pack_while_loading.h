#pragma once

#include "engine/png/png_loader.h"
#include "engine/psd/psd_document.h"
#include "engine/run/output_file.h"

#include <QString>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace lumbrix {

// Follows a PNG's load: tells how far it is, and, when the picture is to reach the writer as it
// was loaded, packs the PSD's bands of the rows decoded so far on a thread of its own, or writes
// them raw into the merged-only file, so that the work runs beside the decoding rather than
// after it.
class PackWhileLoading final : public LoadObserver {
public:
  // What becomes of the picture after its load.
  struct Plan {
    bool stages_keep_pixels = false; // no stage changes it
    int depth = 0;                   // the output depth asked for; 0 automatic
    PsdLayout layout = PsdLayout::layered;
    PsdCompression compression = PsdCompression::rle;
    QString path{};      // the file, whose bytes the loader holds beside the picture
    int descriptor = -1; // the merged-only document's temporary file, when open already
  };

  // progress: how far the load is in thousandths; false abandons it.
  PackWhileLoading(std::function<bool(int permille)> progress, const Plan &plan);
  ~PackWhileLoading() override;

  void started(FIBITMAP *picture) override;
  bool progressed(int rows, int permille) override;
  void ended() override { finish(); }

  // Stops the work after the band in hand; what was packed or written.
  BandsAhead finish();

private:
  bool reaches_writer(FIBITMAP *picture) const;
  void start_work(FIBITMAP *picture);
  std::int64_t budget(FIBITMAP *picture) const;
  void pack();

  std::function<bool(int)> progress_;
  Plan plan_;
  std::shared_ptr<PsdPackAhead> ahead_;
  std::shared_ptr<PsdRawAhead> raw_;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable changed_;
  int rows_ = 0;
  bool over_ = false;
};

} // namespace lumbrix
