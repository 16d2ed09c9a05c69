#pragma once
// A private X display for the tests of windows: Xvfb on a free display
// number, $DISPLAY pointing at it while the object lives.

#include <memory>
#include <string>

#include "testing/child_process.h"
#include "testing/temp_folder.h"

namespace zentrova::testing {

class VirtualDisplay {
 public:
  // screen: width x height x depth, as Xvfb takes it.
  explicit VirtualDisplay(const std::string& screen = "640x480x24");
  ~VirtualDisplay();
  bool ok() const { return !name_.empty(); }
  const std::string& name() const { return name_; }  // ":N"

 private:
  TempFolder folder_;
  std::unique_ptr<BackgroundProcess> server_;
  std::string name_;
  std::string previous_;
  bool hadPrevious_ = false;
};

}  // namespace zentrova::testing
