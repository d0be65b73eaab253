// A fixture for the Run menu and script tests: a fresh headless platform and
// an open toolkit, run inside a private temporary directory so that the
// script file never lands in the source tree.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "headless.h"
#include "menu.h"
#include "script.h"
#include "toolkit_state.h"

// The tests reach into the toolkit's private state and routines.
using namespace kv318::detail;

struct DeliveredEvent {
  int kind = 0;
  int x = 0;
  int y = 0;
  int key = 0;  // as an unsigned 8-bit code
};

class ToolkitSession : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = std::filesystem::current_path();
    std::string pattern = (std::filesystem::temp_directory_path() / "vorkan-script-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    directory_ = pattern;
    std::filesystem::current_path(directory_);
    vk::headless::reset();
    reset_toolkit_state();
    KV318_init(nullptr, 0, const_cast<LPSTR>(""), SW_SHOWNORMAL);
    click_when_idle(1000);  // never hang: a stuck loop ends in a click
  }

  void TearDown() override {
    vk::headless::set_idle_handler(nullptr);
    reset_toolkit_state();
    std::filesystem::current_path(home_);
    if (!directory_.empty()) std::filesystem::remove_all(directory_);
  }

  // When the loop has waited `idles` times for input, the user clicks at the origin.
  void click_when_idle(int idles) {
    auto remaining = std::make_shared<int>(idles);
    vk::headless::set_idle_handler([this, remaining] {
      if (--*remaining == 0) click_at(0, 0);
    });
  }

  void click_at(int x, int y) {
    vk::headless::press_left_button(toolkit.graphics_window, toolkit.origin_x + x, toolkit.origin_y - y);
  }

  static DeliveredEvent next_event() {
    DeliveredEvent event;
    char key = 0;
    event.kind = KV318_next_event(&event.x, &event.y, &key);
    event.key = static_cast<unsigned char>(key);
    return event;
  }

  // The kinds of the next `count` events.
  static std::vector<int> next_kinds(int count) {
    std::vector<int> kinds;
    for (int i = 0; i < count; ++i) kinds.push_back(next_event().kind);
    return kinds;
  }

  static void command(UINT id) { PostMessageA(toolkit.graphics_window, WM_COMMAND, id, 0); }

  // Ctrl+letter as the user types it in the window with the focus.
  static void ctrl_key(int letter) {
    vk::headless::key_down(static_cast<int>(KEY_CONTROL));
    vk::headless::type_key(letter);
    vk::headless::key_up(static_cast<int>(KEY_CONTROL));
  }

  static bool checked(UINT id) { return (GetMenuState(toolkit.run_menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }

  static std::string script() {
    std::ifstream in(SCRIPT_FILE_NAME, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  static bool script_exists() { return std::filesystem::exists(SCRIPT_FILE_NAME); }

  static void write_script(const std::string& text) {
    std::ofstream(SCRIPT_FILE_NAME, std::ios::binary) << text;
  }

  // The message log's lines, oldest first.
  static std::vector<std::string> log_lines() {
    std::vector<std::string> lines;
    for (int i = 0, slot = toolkit.log_head; slot >= 0 && i < LOG_CAPACITY; ++i) {
      const auto* text = static_cast<const char*>(GlobalLock(toolkit.log_entries[slot]));
      lines.emplace_back(text != nullptr ? text : "");
      GlobalUnlock(toolkit.log_entries[slot]);
      slot = (slot + 1) % LOG_CAPACITY;
      if (slot == toolkit.log_tail) break;
    }
    return lines;
  }

  static int log_count(const std::string& line) {
    int count = 0;
    for (const std::string& entry : log_lines()) count += entry == line ? 1 : 0;
    return count;
  }

 private:
  std::filesystem::path home_;
  std::filesystem::path directory_;
};
