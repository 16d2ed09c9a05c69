#include "monitor/line_list.h"

namespace zentrova {

int LineList::Append(const std::string& text) {
  lines_.push_back(text);
  ++index_[text];
  if (static_cast<int>(lines_.size()) > nCapacity) {
    auto it = index_.find(lines_.front());
    if (--it->second == 0) index_.erase(it);
    lines_.pop_front();
  }
  ++nAppended;
  return Count();
}

}  // namespace zentrova
