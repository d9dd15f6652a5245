#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "monitor/PngFrameFile.h"
#include "monitor/tests/FrameTestSupport.h"

namespace {

bool pngShows(const std::string& path, const MonitorFrame& frame) {
  cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
  bool same = cairo_surface_status(png) == CAIRO_STATUS_SUCCESS &&
              cairo_image_surface_get_width(png) == kFrameSize && cairo_image_surface_get_height(png) == kFrameSize;
  for (int y = 0; y < kFrameSize && same; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(png) +
                                                        y * cairo_image_surface_get_stride(png));
    for (int x = 0; x < kFrameSize && same; ++x) same = (row[x] & 0xffffffu) == frame.pixel(x, y);
  }
  cairo_surface_destroy(png);
  return same;
}

ino_t inodeOf(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 ? status.st_ino : 0;
}

// The monitor as the component drives it. The output is chosen once per
// process, so this is the only test here that calls the entry points (the
// window test runs in a process of its own). At the end the directory must
// be empty: a temporary file left behind fails.
TEST(MonitorPngOutput, EachCycleReplacesTheFileWithAWholeFrameAndFailuresLeaveNoTemporaryFile) {
  std::string dir = "/tmp/strolvex-monitor-XXXXXX";
  ASSERT_NE(nullptr, mkdtemp(&dir[0]));
  const std::string path = dir + "/frame.png";
  ASSERT_EQ(0, setenv("STROLVEX_MONITOR", ("png:" + path).c_str(), 1));
  openMonitorWindow();
  EXPECT_TRUE(pngShows(path, frameOf(nullptr)));
  const ino_t axesFile = inodeOf(path);
  // A viewer holding the old file keeps it whole; held open, its inode
  // cannot be reused by the new file either.
  std::ifstream heldByViewer(path);
  const MonitorFrame expected = snapshotOneCycle();
  pumpMonitorMessages();
  EXPECT_TRUE(pngShows(path, expected));
  EXPECT_NE(axesFile, inodeOf(path));  // renamed into place
  // Deactivation hands no blocks: later pumps (another instance's cycles,
  // say) draw the kept copy.
  snapshotScan(nullptr, 6);
  snapshotTracks(nullptr);
  pumpMonitorMessages();
  EXPECT_TRUE(pngShows(path, expected));

  EXPECT_FALSE(writeFramePng(expected, path + "/missing.png"));
  ASSERT_EQ(0, std::remove(path.c_str()));
  ASSERT_EQ(0, mkdir(path.c_str(), 0700));  // written, not renamed
  EXPECT_FALSE(writeFramePng(expected, path));
  EXPECT_EQ(0, rmdir(path.c_str()));
  EXPECT_EQ(0, rmdir(dir.c_str())) << "files left in " << dir;
}

}  // namespace
