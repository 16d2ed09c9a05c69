#pragma once
// Plain windows in place of the display views: they answer their view
// commands by counting them and keep the open state of their kind as the
// real views do.

#include "app/shell/command_ids.h"
#include "app/views/view_window.h"

namespace zentrova {

class StubViewWindow : public ViewWindow {
  Q_OBJECT

 public:
  StubViewWindow(int templateId, const ViewSources& sources, QWidget* parent);
  ~StubViewWindow() override;

  int TemplateId() const override { return templateId_; }
  bool HandlesCommand(int id) const override;
  bool CommandEnabled(int id) const override;
  bool CommandChecked(int id) const override { return id == kCmdNormalize && normalized; }
  void RunCommand(int id) override;
  void UpdateFromDocument() override { ++updates; }

  // As the real waveform view: its commands only with a record of traces.
  bool needsTraces = false;
  bool normalized = false;  // "Normalize" switches it
  int commandsRun = 0;
  int lastCommand = 0;
  int updates = 0;

 private:
  int templateId_;
  ViewSources sources_;
};

}  // namespace zentrova
