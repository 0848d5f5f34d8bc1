// What end-to-end tests share: shell commands, waiting for programs, pictures read from xwd
// dumps and PNG files and compared pixel for pixel, and a fixture that starts a private X
// server and captures a program's window from it until it shows what is expected.
#pragma once

#include <gtest/gtest.h>

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace quill::e2e {

// Runs a shell command; answers its standard output.
std::string RunShell(const std::string& cmd, int* status = nullptr);

// Waits for pid to end, up to a deadline; kills it after that. Answers its exit status.
int Reap(pid_t pid, std::chrono::milliseconds limit);

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> rgb;  // 0xRRGGBB
};

// Reads a 24/32-bit TrueColor ZPixmap dump written by xwd.
bool ReadXwd(const std::string& path, RgbImage& img, std::string& error);
bool ReadPngRgb(const std::string& path, RgbImage& img, std::string& error);
bool WriteRgbPng(const RgbImage& img, const std::string& path);
// Pixels that differ, or -1 when the sizes do.
long CountDifferences(const RgbImage& a, const RgbImage& b);

// A private X server of 1024 x 768 for the test; the program under test in program_.
class XSessionTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // An X tool run against the test's server.
  std::string X(const std::string& args, int* status = nullptr);
  bool CaptureMatches(const std::string& window, const RgbImage& expected, long& diff,
                      std::string& error);
  // The window of that title once it shows, or empty after 15 s.
  std::string WaitForWindow(const std::string& title);
  // Captures the window until it shows expected, for up to 10 s: empty when it did, else how
  // far off it stayed.
  std::string SettlesTo(const std::string& window, const RgbImage& expected);

  std::string dir_;
  std::string display_;
  pid_t xvfb_ = -1;
  pid_t program_ = -1;
};

}  // namespace quill::e2e
