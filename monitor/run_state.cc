#include "monitor/run_state.h"

#include <cstdlib>
#include <string>

namespace zentrova {
namespace {

constexpr const char* kLastRecordKey = "tLastRecordMs";
constexpr const char* kCleanKey = "bStoppedCleanly";
constexpr const char* kBeganKey = "tFirstBeganMs";

std::optional<int64_t> StoredInt(KeyValueStore& store, const char* key) {
  const auto text = store.Get(key);
  if (!text || text->empty()) return std::nullopt;
  char* end = nullptr;
  const long long v = std::strtoll(text->c_str(), &end, 10);
  if (end == text->c_str()) return std::nullopt;
  return static_cast<int64_t>(v);
}

}  // namespace

void RunState::Attach(KeyValueStore* store) {
  store_ = store;
  if (!store_) return;
  newest_ = StoredInt(*store_, kLastRecordKey);
  began_ = StoredInt(*store_, kBeganKey);
  const auto text = store_->Get(kLastRecordKey);
  damaged_ = text && !text->empty() && !newest_;
  endedCleanly_ = StoredInt(*store_, kCleanKey).value_or(1) != 0;
}

void RunState::Began(int64_t nowMs) {
  if (!store_) return;
  if (!newest_ && !began_) {
    began_ = nowMs;
    store_->Set(kBeganKey, std::to_string(nowMs));
  }
  store_->Set(kCleanKey, "0");
}

void RunState::Took(int64_t recordMs) {
  if (newest_ && recordMs <= *newest_) return;
  newest_ = recordMs;
  dirty_ = true;
}

void RunState::Save() {
  if (!store_ || !dirty_ || !newest_) return;
  dirty_ = !store_->Set(kLastRecordKey, std::to_string(*newest_));
}

void RunState::Ended() {
  if (!store_) return;
  Save();
  store_->Set(kCleanKey, "1");
}

}  // namespace zentrova
