#include "display/text_scale.h"

#include <atomic>

namespace zentrova {
namespace {

std::atomic<float> gTextScale{1.0f};

}  // namespace

float GetTextScale() { return gTextScale.load(std::memory_order_relaxed); }

void SetTextScale(float s) { gTextScale.store(s >= 0.5f && s <= 3.0f ? s : 1.0f, std::memory_order_relaxed); }

}  // namespace zentrova
