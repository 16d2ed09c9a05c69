// The leak checker's suppressions for the font libraries' caches hide those
// caches only: a Cairo object this program forgets to destroy is still a leak.

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>

#include "display/cairo_surface.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace zentrova {
namespace {

#if defined(__SANITIZE_ADDRESS__)
// The lost surface's address, scrambled so that the checker finds no
// pointer to it while it looks, and the test can destroy it afterwards.
constexpr uintptr_t kScramble = 0x5A5A5A5A5A5A5A5Aull;
uintptr_t hiddenSurface = 0;

// Makes the surface in a frame of its own and then writes over the stack
// below, so that no copy of its address is left where the checker looks.
__attribute__((noinline)) void LoseASurface() {
  hiddenSurface = reinterpret_cast<uintptr_t>(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 64, 32)) ^ kScramble;
}
__attribute__((noinline)) void ClearStack() {
  volatile char bytes[16384];
  for (volatile char& b : bytes) b = 0;
}
#endif

TEST(CairoLeakCheck, AForgottenSurfaceIsReported) {
#if !defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "needs the address sanitizer's leak checker";
#else
  {
    // Text first, so that the font caches the suppressions are for exist.
    CairoSurface surface(64, 32);
    surface.Text({0, 0}, "Leak", std::nullopt);
  }
  EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0) << "the font caches are reported as leaks";
  LoseASurface();
  ClearStack();
  const int found = __lsan_do_recoverable_leak_check();
  cairo_surface_destroy(reinterpret_cast<cairo_surface_t*>(hiddenSurface ^ kScramble));
  hiddenSurface = 0;
  EXPECT_NE(found, 0) << "a Cairo surface that was never destroyed is hidden by the suppressions";
#endif
}

}  // namespace
}  // namespace zentrova
