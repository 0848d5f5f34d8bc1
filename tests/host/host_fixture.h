// The whole program headless: the window system on a manual clock, a scratch reader's folder,
// the built content, and a session started over them.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "host/app/host_session.h"
#include "host/app/host_setup.h"
#include "host/core/content_store.h"

namespace quillonary {

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Starts the program at that size; the content is loaded once per test.
  void StartHost(int width = 800, int height = 600);
  // Ends the program and puts the library back as at start-up; the reader's folder stays, so
  // StartHost runs the program again on it.
  void StopHost();

  // Clicks, keys and typing, each delivered and settled.
  void Click(int x, int y, bool right = false);
  void Key(unsigned virtualKey, unsigned modifiers = 0);
  void Type(const std::string& text);

  std::filesystem::path home;
  ContentStore store;
  std::unique_ptr<HostSession> host;
};

}  // namespace quillonary
