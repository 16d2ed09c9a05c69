#pragma once
// SEG-2 data format code 3: 20-bit samples packed four to a 10-byte group
// (a word of four 4-bit shift counts, then four 16-bit mantissas).

#include <cstddef>
#include <cstdint>
#include <span>

namespace zentrova {

// Unpacks n samples from `bytes`; a group that runs past the end of
// `bytes` reads as zeros there. Field instruments store negative mantissas
// in one's complement: a negative word w stands for (w + 1) << shift.
void UnpackSeg2Code3(std::span<const uint8_t> bytes, int32_t* samples, size_t n);

}  // namespace zentrova
