#include "app/views/view_window.h"

#include "app/views/phase_velocity_view.h"
#include "app/views/profile_view.h"
#include "app/views/waveform_view.h"

namespace zentrova {

ViewWindow* CreateViewWindow(int templateId, const ViewSources& sources, QWidget* parent) {
  switch (templateId) {
    case kWaveformViewTemplate:
      return new CWaveformView(sources, parent);
    case kPhaseVelocityViewTemplate:
      return new CPhaseVelocityView(sources, parent);
    case kProfileViewTemplate:
      return new CSeisProfileView(sources, parent);
    default:
      return nullptr;
  }
}

}  // namespace zentrova
