#include "app/views/waveform_view.h"

#include <QKeyEvent>
#include <cmath>
#include <mutex>

#include "display/waveform_drawing.h"
#include "monitor/zentrova_doc.h"

namespace zentrova {
namespace {

const float kSqrt2 = std::sqrt(2.0f);

}  // namespace

CWaveformView::CWaveformView(const ViewSources& sources, QWidget* parent)
    : PlotViewWindow(sources, kWaveformViewKey, parent) {
  // The titles follow the record ("Time (ms)" or "Time (s)", "Trace").
  axes.bXTitle = 1;
  axes.bYTitle = 1;
  axes.bYDown = 1;
  UpdateTitle();
}

bool CWaveformView::HandlesCommand(int id) const {
  return id == kNormalizeCommand || id == kGainUpCommand || id == kGainDownCommand;
}

bool CWaveformView::RecordHasTraces() const {
  if (sources_.doc == nullptr) return false;
  std::lock_guard<std::recursive_mutex> lock(sources_.doc->mutex);
  return sources_.doc->pRecord->nTraces >= 1;
}

bool CWaveformView::CommandEnabled(int id) const { return HandlesCommand(id) && RecordHasTraces(); }

bool CWaveformView::CommandChecked(int id) const { return id == kNormalizeCommand && bNormalize == 1; }

void CWaveformView::RunCommand(int id) {
  switch (id) {
    case kNormalizeCommand:
      bNormalize = bNormalize == 1 ? 0 : 1;
      break;
    case kGainUpCommand:
      if (!RecordHasTraces()) return;
      fGain = fGain * kSqrt2;
      break;
    case kGainDownCommand:
      if (!RecordHasTraces()) return;
      fGain = fGain / kSqrt2;
      break;
    default:
      return;
  }
  Redraw();
}

void CWaveformView::keyPressEvent(QKeyEvent* event) {
  if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
    if (event->key() == Qt::Key_Up) {
      RunCommand(kGainUpCommand);
      event->accept();
      return;
    }
    if (event->key() == Qt::Key_Down) {
      RunCommand(kGainDownCommand);
      event->accept();
      return;
    }
  }
  event->ignore();
}

void CWaveformView::UpdateFromDocument() {
  UpdateTitle();
  Redraw();
}

void CWaveformView::Draw(DrawingSurface& surface, PageSize area) {
  DrawWaveforms(surface, axes, *sources_.doc, area, fGain, bNormalize);
}

QString CWaveformView::Title() const {
  const QString record = RecordPart();
  QString title = QStringLiteral("Waveform data");
  if (!record.isEmpty()) title += QStringLiteral(" - ") + record;
  return title;
}

}  // namespace zentrova
