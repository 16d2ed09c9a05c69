#pragma once
// The main frame: the MDI area with the control panel and the view
// windows, the menus of the active child, the toolbar and the status bar,
// the routing of the commands, the show-window commands and the exit.

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "app/shell/command_table.h"
#include "app/shell/control_panel.h"
#include "app/shell/dialog_provider.h"
#include "app/views/view_window.h"

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace zentrova {

class StationAssembly;
class SlicedCycle;

class MainFrame : public QMainWindow {
  Q_OBJECT

 public:
  MainFrame(StationAssembly& station, SlicedCycle& cycle, const DialogProvider& dialogs,
            std::atomic<int>& bExiting, QWidget* parent = nullptr);
  ~MainFrame() override;

  // The document's window with the control panel and its start-up
  // sequence; then the views open at the last exit, in the order waveform,
  // phase velocity, profile.
  void OpenDocument();
  void ReopenViews();

  // Runs a command as its menu item, toolbar button or key would (nothing
  // when its item is greyed).
  void RunCommand(int id);
  bool CommandAvailable(int id);
  // Enables and checks every menu item and toolbar button; runs when a
  // menu opens, after every command, when the active child changes and
  // when new records arrive.
  void UpdateCommandUi();

  // The panel's fields and all eight status buttons.
  void RefreshControlPanel();
  // After a cycle that found new files: the views and the panel.
  void OnNewFiles();

  // Ends the program as after an accepted confirmation (the time of a
  // timed run is up).
  void ExitConfirmed();

  // "File > Open": shows the record at `path` in the views without filing
  // it; the window titles say "viewing NAME" until the monitor takes its
  // next record. A record that cannot be read is said in a message.
  void OpenRecord(const std::string& path);
  // The name of the record opened for viewing; empty while the views show
  // the monitor's last record.
  const std::string& Viewing() const { return viewing_; }
  // The status bar's line: the last record, its time and its events.
  QLabel* statusLine() const { return statusLine_; }

  // What the tests look at.
  ControlPanel* panel() const { return panel_; }
  QMdiSubWindow* panelWindow() const { return panelWindow_; }
  QMdiArea* mdi() const { return mdi_; }
  QToolBar* toolBar() const { return toolBar_; }
  // The menu shown now (128, 130, 311 or 314).
  int ShownMenu() const { return shownMenu_; }
  // The action of a command in the menu `menuId` (nullptr when it has none).
  QAction* MenuAction(int menuId, int command) const;
  QAction* ToolbarAction(int command) const;
  std::vector<ViewWindow*> Views() const;
  ViewWindow* ActiveView() const;
  bool IsControlPanelActive() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct BuiltMenu {
    std::vector<QMenu*> topLevel;
    std::vector<std::pair<QAction*, const MenuRow*>> actions;
  };
  void BuildMenus();
  BuiltMenu BuildMenu(const MenuTable& table);
  QMenu* BuildWindowMenu();
  void FillWindowMenu(QMenu* menu);
  void SetViewing(const std::string& name);
  void BuildToolBar();
  void UpdateToolBar();
  void ShowMenuOf(QMdiSubWindow* window);
  void Dispatch(int id);
  void ShowView(int templateId);
  // The size a view's window opens with, `offset` from the area's corner.
  QSize ViewWindowSize(int offset) const;
  void CascadeWindows();
  void OnViewDestroyed();
  void RecountViews();
  // The exit steps after "OK".
  void CloseStation();

  StationAssembly& station_;
  SlicedCycle& cycle_;
  const DialogProvider& dialogs_;
  std::atomic<int>& bExiting_;
  QMdiArea* mdi_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  ControlPanel* panel_ = nullptr;
  QPointer<QMdiSubWindow> panelWindow_;
  std::map<int, BuiltMenu> menus_;
  std::vector<std::pair<QAction*, int>> toolbarActions_;
  int shownMenu_ = 0;
  bool closed_ = false;  // the exit steps ran
  std::string viewing_;
  QLabel* statusLine_ = nullptr;
};

// Pixels between cascaded windows: about a title bar's height.
inline constexpr int kCascadeStep = 24;

// The profile key of a view's open state.
const char* ViewKey(int templateId);

}  // namespace zentrova
