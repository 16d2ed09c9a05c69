#include "detection/channel_list.h"

#include <algorithm>
#include <cstdint>

#include "records/seg2_text.h"

namespace zentrova {
namespace {

constexpr size_t kPieceLength = 29;

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == separator) {
      parts.emplace_back();
    } else {
      parts.back().push_back(c);
    }
  }
  return parts;
}

}  // namespace

std::vector<int> ParseChannelList(const std::string& text, int largestCount) {
  std::vector<int> out;
  const size_t cap = static_cast<size_t>(std::max(largestCount, 0));
  size_t start = 0;
  while (start <= text.size() && out.size() < cap) {
    size_t end = text.find(',', start);
    if (end == std::string::npos) end = text.size();
    const std::string piece = text.substr(start, std::min(end - start, kPieceLength));
    start = end + 1;
    if (piece.find('-') != std::string::npos) {
      const auto parts = Split(piece, '-');
      if (parts.size() != 2) continue;
      auto a = ScanInt(parts[0], 0);
      auto b = ScanInt(parts[1], 0);
      if (!a || !b) continue;
      const int64_t lo = std::min(*a, *b), hi = std::max(*a, *b);
      for (int64_t v = lo; v <= hi && out.size() < cap; ++v) out.push_back(static_cast<int>(v));
    } else if (auto v = ScanInt(piece, 0)) {
      out.push_back(*v);
    }
  }
  return out;
}

std::string FormatChannelList(const std::vector<int>& channels) {
  std::string text;
  size_t i = 0;
  while (i < channels.size()) {
    size_t j = i;
    while (j + 1 < channels.size() && static_cast<int64_t>(channels[j + 1]) == static_cast<int64_t>(channels[j]) + 1) {
      ++j;
    }
    if (!text.empty()) text += ",";
    text += std::to_string(channels[i]);
    if (j > i) text += "-" + std::to_string(channels[j]);
    i = j + 1;
  }
  return text;
}

}  // namespace zentrova
