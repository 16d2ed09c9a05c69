#include "app/views/phase_velocity_view.h"

#include "display/phase_velocity_drawing.h"
#include "monitor/zentrova_doc.h"
#include "surfacewave/dispersion_settings.h"
#include "surfacewave/surface_wave_follow_up.h"

namespace zentrova {

CPhaseVelocityView::CPhaseVelocityView(const ViewSources& sources, QWidget* parent)
    : PlotViewWindow(sources, kPhaseVelocityViewKey, parent), axes(PhaseVelocityAxes()) {
  UpdateTitle();
}

void CPhaseVelocityView::UpdateFromDocument() {
  UpdateTitle();
  Redraw();
}

void CPhaseVelocityView::Draw(DrawingSurface& surface, PageSize) {
  // Without the follow-up (a document without the analysis) the ranges are
  // the defaults of the dispersion settings.
  static const DispersionSettings kDefaults;
  const DispersionSettings& settings = sources_.surfaceWaves ? sources_.surfaceWaves->settings : kDefaults;
  DrawPhaseVelocityView(surface, axes, *sources_.doc, settings);
}

QString CPhaseVelocityView::Title() const {
  const QString record = RecordPart();
  QString title = QStringLiteral("Phase velocity");
  if (!record.isEmpty()) title += QStringLiteral(" - ") + record;
  return title;
}

}  // namespace zentrova
