#pragma once
// The profile view: the analysed records side by side in one of three
// modes, chosen by its menu and kept in the setting "iViewMode". Its
// drawing sets the document's bProfileViewDrawn, which makes the monitor
// cycle add every analysed record to the profile list.

#include <memory>

#include "app/views/plot_view_window.h"
#include "display/plot_axes.h"
#include "display/profile_view_mode.h"
#include "surfacewave/profile_list.h"

namespace zentrova {

inline constexpr const char* kSeisProfileViewKey = "bSeisProfileView";

class CSeisProfileView : public PlotViewWindow {
  Q_OBJECT

 public:
  CSeisProfileView(const ViewSources& sources, QWidget* parent);

  int TemplateId() const override { return kProfileViewTemplate; }
  bool HandlesCommand(int id) const override;
  bool CommandEnabled(int id) const override;
  bool CommandChecked(int id) const override;
  void RunCommand(int id) override;
  void UpdateFromDocument() override;

  int ViewMode() const { return mode_->iViewMode; }

  PlotAxes axes;

 protected:
  void Draw(DrawingSurface& surface, PageSize area) override;
  QString Title() const override;

 private:
  const ProfileList& List() const;

  std::unique_ptr<ProfileViewMode> mode_;
  ProfileList empty_;  // shown when the document has no analysis
};

}  // namespace zentrova
