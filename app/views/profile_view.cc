#include "app/views/profile_view.h"

#include <mutex>

#include "display/profile_drawing.h"
#include "monitor/zentrova_doc.h"
#include "surfacewave/surface_wave_follow_up.h"

namespace zentrova {

CSeisProfileView::CSeisProfileView(const ViewSources& sources, QWidget* parent)
    : PlotViewWindow(sources, kSeisProfileViewKey, parent) {
  if (sources_.doc != nullptr) {
    std::lock_guard<std::recursive_mutex> lock(sources_.doc->mutex);
    mode_ = std::make_unique<ProfileViewMode>(sources_.doc->settings);
  }
  axes = ProfileAxes(mode_ ? mode_->iViewMode : kAmplitudeMode);
  UpdateTitle();
}

const ProfileList& CSeisProfileView::List() const {
  if (sources_.profiles != nullptr) return *sources_.profiles;
  if (sources_.surfaceWaves != nullptr) return sources_.surfaceWaves->profiles;
  return empty_;
}

bool CSeisProfileView::HandlesCommand(int id) const { return ProfileCommandMode(id) >= 0; }

bool CSeisProfileView::CommandEnabled(int id) const { return mode_ && mode_->CommandEnabled(id); }

bool CSeisProfileView::CommandChecked(int id) const { return mode_ && mode_->CommandChecked(id); }

void CSeisProfileView::RunCommand(int id) {
  if (!mode_ || !mode_->CommandEnabled(id)) return;
  {
    // The store is shared with the monitor thread's settings writes.
    std::lock_guard<std::recursive_mutex> lock(sources_.doc->mutex);
    if (!mode_->RunCommand(id)) return;
  }
  axes.strYTitle = mode_->VerticalTitle();
  UpdateTitle();
  Redraw();
}

void CSeisProfileView::UpdateFromDocument() {
  UpdateTitle();
  Redraw();
}

void CSeisProfileView::Draw(DrawingSurface& surface, PageSize) {
  DrawProfileView(surface, axes, *sources_.doc, List(), mode_ ? mode_->iViewMode : kAmplitudeMode);
}

QString CSeisProfileView::Title() const {
  const int mode = mode_ ? mode_->iViewMode : kAmplitudeMode;
  QString title = QStringLiteral("Profile - %1 (%2 shots)")
                      .arg(QString::fromStdString(ProfileModeMenuText(mode)))
                      .arg(List().Count());
  if (sources_.viewing != nullptr && !sources_.viewing->empty()) title += QStringLiteral(" - ") + RecordPart();
  return title;
}

}  // namespace zentrova
