#pragma once
// The phase-velocity view: the dispersion image of the last analysed
// record with its picked curve. Its drawing sets the document's
// bPhaseViewDrawn, which makes the monitor cycle run the analysis.

#include "app/views/plot_view_window.h"
#include "display/plot_axes.h"

namespace zentrova {

inline constexpr const char* kPhaseVelocityViewKey = "bPhaseVelocityView";

class CPhaseVelocityView : public PlotViewWindow {
  Q_OBJECT

 public:
  CPhaseVelocityView(const ViewSources& sources, QWidget* parent);

  int TemplateId() const override { return kPhaseVelocityViewTemplate; }
  bool HandlesCommand(int) const override { return false; }
  bool CommandEnabled(int) const override { return false; }
  bool CommandChecked(int) const override { return false; }
  void RunCommand(int) override {}
  void UpdateFromDocument() override;

  PlotAxes axes;

 protected:
  void Draw(DrawingSurface& surface, PageSize area) override;
  QString Title() const override;
};

}  // namespace zentrova
