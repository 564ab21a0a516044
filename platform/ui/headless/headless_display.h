// The in-memory backend: windows without a desktop. What the user would see
// is each window's presented image, which the test-support interface reads.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace klv::ui {

void record_message_box(const std::string& caption, const std::string& text);
std::vector<std::pair<std::string, std::string>> recorded_message_boxes();

}  // namespace klv::ui
