#include "app/shell/testing/stub_views.h"

#include <QLabel>
#include <QVBoxLayout>
#include <mutex>

#include "app/shell/command_ids.h"
#include "app/shell/main_frame.h"
#include "monitor/zentrova_doc.h"

namespace zentrova {

StubViewWindow::StubViewWindow(int templateId, const ViewSources& sources, QWidget* parent)
    : ViewWindow(parent), templateId_(templateId), sources_(sources) {
  setObjectName(QString::number(templateId));
  setWindowTitle(QStringLiteral("Zentrova"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("View %1").arg(templateId), this));
  resize(400, 300);
}

StubViewWindow::~StubViewWindow() {
  if (sources_.doc && sources_.bExiting && *sources_.bExiting == 0) {
    std::lock_guard<std::recursive_mutex> lock(sources_.doc->mutex);
    sources_.doc->settings.SaveInt(ViewKey(templateId_), 0);
  }
}

bool StubViewWindow::HandlesCommand(int id) const {
  if (templateId_ == kWaveformViewTemplate) return id == kCmdNormalize || id == kCmdViewToolbar1 || id == kCmdViewToolbar2;
  if (templateId_ == kProfileViewTemplate) {
    return id == kCmdProfileMaxAmplitude || id == kCmdProfilePhaseVelocity || id == kCmdProfileSWaveProfile;
  }
  return false;
}

bool StubViewWindow::CommandEnabled(int id) const {
  if (!HandlesCommand(id)) return false;
  if (!needsTraces) return true;
  std::lock_guard<std::recursive_mutex> lock(sources_.doc->mutex);
  return sources_.doc->pRecord->nTraces >= 1;
}

void StubViewWindow::RunCommand(int id) {
  ++commandsRun;
  lastCommand = id;
  if (id == kCmdNormalize) normalized = !normalized;
}

ViewWindow* CreateViewWindow(int templateId, const ViewSources& sources, QWidget* parent) {
  return new StubViewWindow(templateId, sources, parent);
}

}  // namespace zentrova
