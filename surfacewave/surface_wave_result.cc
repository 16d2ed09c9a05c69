#include "surfacewave/surface_wave_result.h"
