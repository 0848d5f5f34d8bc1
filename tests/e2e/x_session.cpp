#include "e2e/x_session.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <thread>

#include "e2e/process_support.h"
#include "quillui/framework/image/dib.h"
#include "quillui/framework/image/png_codec.h"

namespace quill::e2e {

// Runs a shell command; answers its standard output.
std::string RunShell(const std::string& cmd, int* status) {
  std::string out;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return out;
  char buf[256];
  while (size_t n = fread(buf, 1, sizeof buf, p)) out.append(buf, n);
  int s = pclose(p);
  if (status) *status = s;
  return out;
}

// Waits for pid to end, up to a deadline; kills it after that. Answers its exit status.
int Reap(pid_t pid, std::chrono::milliseconds limit) {
  auto deadline = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

namespace {

uint32_t Be32(const std::vector<uint8_t>& b, size_t off) {
  return (uint32_t(b[off]) << 24) | (uint32_t(b[off + 1]) << 16) | (uint32_t(b[off + 2]) << 8) |
         b[off + 3];
}

int Shift(uint32_t mask) {
  int s = 0;
  while (mask && !(mask & 1)) {
    mask >>= 1;
    ++s;
  }
  return s;
}

}  // namespace

// Reads a 24/32-bit TrueColor ZPixmap dump written by xwd.
bool ReadXwd(const std::string& path, RgbImage& img, std::string& error) {
  std::ifstream f(path, std::ios::binary);
  std::vector<uint8_t> b((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  if (b.size() < 100) return error = "xwd file too short", false;
  uint32_t headerSize = Be32(b, 0), format = Be32(b, 8), width = Be32(b, 16), height = Be32(b, 20);
  uint32_t byteOrder = Be32(b, 28), bpp = Be32(b, 44), bytesPerLine = Be32(b, 48);
  uint32_t redMask = Be32(b, 56), greenMask = Be32(b, 60), blueMask = Be32(b, 64),
           ncolors = Be32(b, 76);
  if (format != 2 || (bpp != 32 && bpp != 24) || width == 0 || height == 0 || width > 8192 ||
      height > 8192)
    return error = "unexpected xwd layout", false;
  uint64_t offset = uint64_t(headerSize) + uint64_t(ncolors) * 12;
  if (offset + uint64_t(bytesPerLine) * height > b.size())
    return error = "xwd pixels truncated", false;
  img.width = int(width);
  img.height = int(height);
  img.rgb.resize(size_t(width) * height);
  int bytes = int(bpp / 8);
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* row = b.data() + offset + uint64_t(y) * bytesPerLine;
    for (uint32_t x = 0; x < width; ++x) {
      const uint8_t* p = row + x * uint32_t(bytes);
      uint32_t v = 0;
      for (int i = 0; i < bytes; ++i)
        v |= uint32_t(p[byteOrder == 0 ? i : bytes - 1 - i]) << (8 * i);
      uint32_t r = (v & redMask) >> Shift(redMask), g = (v & greenMask) >> Shift(greenMask),
               bl = (v & blueMask) >> Shift(blueMask);
      img.rgb[size_t(y) * width + x] = (r << 16) | (g << 8) | bl;
    }
  }
  return true;
}

bool ReadPngRgb(const std::string& path, RgbImage& img, std::string& error) {
  DibResult r = ReadPngFile(path);
  if (!r.dib) return error = r.error, false;
  img.width = r.dib->Width();
  img.height = r.dib->Height();
  img.rgb.resize(size_t(img.width) * size_t(img.height));
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      TColor c = r.dib->GetPixelColor(x, y);
      img.rgb[size_t(y) * size_t(img.width) + size_t(x)] =
          (uint32_t(c.Red()) << 16) | (uint32_t(c.Green()) << 8) | c.Blue();
    }
  return true;
}

bool WriteRgbPng(const RgbImage& img, const std::string& path) {
  TDib dib(img.width, img.height, 24);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const uint32_t v = img.rgb[size_t(y) * size_t(img.width) + size_t(x)];
      dib.SetPixelColor(x, y, TColor(uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)));
    }
  return WritePngFile(dib, path, nullptr);
}

long CountDifferences(const RgbImage& a, const RgbImage& b) {
  if (a.width != b.width || a.height != b.height) return -1;
  long diff = 0;
  for (size_t i = 0; i < a.rgb.size(); ++i) diff += a.rgb[i] != b.rgb[i];
  return diff;
}

void XSessionTest::SetUp() {
  for (const char* tool : {"Xvfb", "xdotool", "xwd"})
    if (!OnPath(tool)) GTEST_SKIP() << tool << " is not installed (scripts/deps.sh installs it)";
  dir_ = ::testing::TempDir() + "quill-e2e-" + std::to_string(getpid());
  mkdir(dir_.c_str(), 0700);
  int number = 0;
  ASSERT_TRUE(StartPrivateXServer("1024x768x24", xvfb_, number)) << "no X server would start";
  display_ = ":" + std::to_string(number);
}

void XSessionTest::TearDown() {
  if (program_ > 0) {
    kill(program_, SIGKILL);
    waitpid(program_, nullptr, 0);
  }
  if (xvfb_ > 0) {
    kill(xvfb_, SIGTERM);
    Reap(xvfb_, std::chrono::seconds(5));
  }
}

std::string XSessionTest::X(const std::string& args, int* status) {
  return RunShell("DISPLAY=" + display_ + " " + args + " 2>/dev/null", status);
}

bool XSessionTest::CaptureMatches(const std::string& window, const RgbImage& expected, long& diff,
                                  std::string& error) {
  std::string path = dir_ + "/window.xwd";
  X("xwd -silent -id " + window + " -out " + path);
  RgbImage shot;
  if (!ReadXwd(path, shot, error)) return false;
  diff = CountDifferences(shot, expected);
  return diff == 0;
}

std::string XSessionTest::WaitForWindow(const std::string& title) {
  std::string window;
  for (int i = 0; i < 300 && window.empty(); ++i) {
    window = X("xdotool search --name '" + title + "'");
    while (!window.empty() && (window.back() == '\n' || window.back() == ' ')) window.pop_back();
    if (auto nl = window.find('\n'); nl != std::string::npos) window.resize(nl);
    if (window.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return window;
}

std::string XSessionTest::SettlesTo(const std::string& window, const RgbImage& expected) {
  long diff = -1;
  std::string error;
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (CaptureMatches(window, expected, diff, error)) return {};
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  // What the window showed last and what was expected, for a person to compare.
  RgbImage shot;
  std::string ignored;
  if (ReadXwd(dir_ + "/window.xwd", shot, ignored)) {
    WriteRgbPng(shot, dir_ + "/failed-capture.png");
    WriteRgbPng(expected, dir_ + "/failed-expected.png");
    error += "(see " + dir_ + "/failed-capture.png and failed-expected.png)";
  }
  return std::to_string(diff) + " pixels differ " + error;
}

}  // namespace quill::e2e
