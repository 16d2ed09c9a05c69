#pragma once
// A display view's window inside the main frame: it draws what the
// document holds through the plot routines and answers the commands of its
// menu, the toolbar and its keys. The shell creates one per "Show ..."
// command, finds the active one for the menus and tells all of them when
// the document's views are to be updated.

#include <QWidget>
#include <atomic>
#include <string>

namespace zentrova {

class CZentrovaDoc;
class SurfaceWaveFollowUp;
class ProfileList;

// What the views read, and the shell's closing flag.
struct ViewSources {
  CZentrovaDoc* doc = nullptr;
  SurfaceWaveFollowUp* surfaceWaves = nullptr;  // the last record's dispersion image and picks
  ProfileList* profiles = nullptr;              // the analysed records, side by side
  const std::atomic<int>* bExiting = nullptr;   // 1 once the operator has confirmed the exit
  const std::string* viewing = nullptr;         // the record opened for viewing; empty: the monitor's
};

// The kinds of view, by the number of their window's menu.
inline constexpr int kWaveformViewTemplate = 311;
inline constexpr int kPhaseVelocityViewTemplate = 312;
inline constexpr int kProfileViewTemplate = 314;

class ViewWindow : public QWidget {
  Q_OBJECT

 public:
  using QWidget::QWidget;

  virtual int TemplateId() const = 0;
  // The commands this view answers (its menu entries, toolbar buttons).
  virtual bool HandlesCommand(int id) const = 0;
  virtual bool CommandEnabled(int id) const = 0;
  virtual bool CommandChecked(int id) const = 0;
  virtual void RunCommand(int id) = 0;
  // The document's views are to be updated; called on the window's thread.
  virtual void UpdateFromDocument() = 0;
};

// A new view of the kind; its window stores its closed state in section
// "General" when it is destroyed while the program is not exiting.
ViewWindow* CreateViewWindow(int templateId, const ViewSources& sources, QWidget* parent);

}  // namespace zentrova
