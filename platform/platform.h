#pragma once
// Everything the logic reaches outside itself through, handed in by whoever
// builds the document (the headless station, the desktop shell, a test).

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/key_value_store.h"
#include "platform/prompt.h"
#include "platform/system_info.h"

namespace zentrova {

struct Platform {
  FileSystem& fs;
  KeyValueStore& profile;  // the application profile, section "General"
  KeyValueStore& product;  // the shared product key
  Clock& clock;
  SystemInfo& system;
  Prompt& prompt;
};

}  // namespace zentrova
