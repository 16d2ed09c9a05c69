#pragma once
// The waveform view: the document's last record, one wiggle line per trace
// with the detector's markers, at the view's own gain, each trace scaled by
// the record's largest amplitude or by its own.

#include "app/views/plot_view_window.h"
#include "display/plot_axes.h"

namespace zentrova {

inline constexpr int kNormalizeCommand = 32781;
inline constexpr int kGainUpCommand = 32782;
inline constexpr int kGainDownCommand = 32783;
inline constexpr const char* kWaveformViewKey = "bWaveformView";
inline constexpr float kInitialGain = 0.8f;

class CWaveformView : public PlotViewWindow {
  Q_OBJECT

 public:
  CWaveformView(const ViewSources& sources, QWidget* parent);

  int TemplateId() const override { return kWaveformViewTemplate; }
  bool HandlesCommand(int id) const override;
  bool CommandEnabled(int id) const override;
  bool CommandChecked(int id) const override;
  void RunCommand(int id) override;
  void UpdateFromDocument() override;

  PlotAxes axes;
  float fGain = kInitialGain;
  int bNormalize = 0;

 protected:
  void Draw(DrawingSurface& surface, PageSize area) override;
  QString Title() const override;
  // Up and Down change the gain as the toolbar's buttons do; other keys
  // are left to the frame.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool RecordHasTraces() const;
};

}  // namespace zentrova
